#include "songfiles/lzhuff.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

namespace {

const QString dataDir = QStringLiteral(ORVALO3_SOURCE_DIR "/tests/songfiles/data/lzhuf/");

QByteArray readData(const QString& name)
{
    QFile f(dataDir + name);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

QStringList captured;
void capture(QtMsgType, const QMessageLogContext&, const QString& msg) { captured << msg; }

struct LogCapture
{
    QtMessageHandler old;
    LogCapture() { captured.clear(); old = qInstallMessageHandler(capture); }
    ~LogCapture() { qInstallMessageHandler(old); }
};

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator gen(seed);
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char(gen.bounded(256));
    return b;
}

QByteArray textBytes(int size)
{
    static const char* words[] = {"the", "song", "verse", "chorus", "bridge", "and", "of",
                                  "a", "tempo", "drums", "bass", "guitar", "live", "stage"};
    QRandomGenerator gen(7);
    QByteArray b;
    while (b.size() < size) {
        b += words[gen.bounded(int(sizeof(words) / sizeof(words[0])))];
        b += gen.bounded(12) == 0 ? ".\n" : " ";
    }
    b.truncate(size);
    return b;
}

// Runs of one value, each longer than the longest match.
QByteArray runBytes(int size)
{
    QRandomGenerator gen(11);
    QByteArray b;
    while (b.size() < size)
        b += QByteArray(30 + gen.bounded(200), char(gen.bounded(256)));
    b.truncate(size);
    return b;
}

// A random block repeated at the given distance, with a little noise so that
// matches end and start again near the far edge of the window.
QByteArray repeatBytes(int size, int distance)
{
    QByteArray block = randomBytes(distance, quint32(distance));
    QRandomGenerator gen(quint32(distance) + 1);
    QByteArray b;
    while (b.size() < size) {
        QByteArray copy = block;
        copy[gen.bounded(distance)] = char(gen.bounded(256));
        b += copy;
    }
    b.truncate(size);
    return b;
}

// Byte k drawn with a weight of 1.3^-k: a skewed spread that drives the
// adaptive tree deep (codes of 16 bits occur).
QByteArray skewedBytes(int size)
{
    double weights[60];
    double sum = 0;
    for (int k = 0; k < 60; ++k)
        sum += weights[k] = std::pow(1.3, -k);
    QRandomGenerator gen(1);
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i) {
        double x = gen.generateDouble() * sum;
        int k = 0;
        while (k < 59 && x >= weights[k])
            x -= weights[k++];
        b[i] = char(k * 7 + 1);
    }
    return b;
}

} // namespace

class TestLzHuff : public QObject
{
    Q_OBJECT

    LzHuff shared; // reused by every round trip: state must not leak between calls

private slots:
    void referencePairs_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* n : {"abc", "same30", "b30", "b31", "rep4097"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }

    void referencePairs()
    {
        QFETCH(QString, name);
        const QByteArray plain = readData(name + ".in");
        const QByteArray packed = readData(name + ".out");
        QVERIFY(!plain.isEmpty() && !packed.isEmpty());

        LzHuff codec;
        QByteArray out;
        codec.compress(plain, out);
        QCOMPARE(out.toHex(), packed.toHex());
        QVERIFY(codec.expand(packed, out));
        QCOMPARE(out, plain);
    }

    // Short inputs whose packed bytes depend on two rules the pairs above do
    // not reach: the ring's mirror after position 4096 starts as zero bytes
    // (not spaces), and of two equally long matches the nearer one is coded.
    void pinnedStreams_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("packed");
        QTest::newRow("mirror starts zero")
            << QByteArray::fromHex("00202020200000206100006120206120006100612000000000202020")
            << QByteArray::fromHex("1c000000e56601393d457c386ff16bddbf6dd9407db5801a82c0");
        QTest::newRow("nearer match wins")
            << QByteArray::fromHex("2000000000200000002061202061202000616100612020202020")
            << QByteArray::fromHex("1a000000f572b28019604e42bdfc202e3e0d9b7880dac300");
    }

    void pinnedStreams()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, packed);
        QByteArray out;
        shared.compress(plain, out);
        QCOMPARE(out.toHex(), packed.toHex());
        QVERIFY(shared.expand(packed, out));
        QCOMPARE(out, plain);
    }

    void logLines()
    {
        LzHuff codec;
        QByteArray packed, plain;
        LogCapture log;
        codec.compress("abc", packed);
        QVERIFY(codec.expand(packed, plain));
        QCOMPARE(captured, QStringList({"Compress: 3 --> 7", "Expand: 7 --> 3"}));
    }

    void emptyInput()
    {
        LzHuff codec;
        QByteArray out("junk");
        codec.compress(QByteArray(), out);
        QCOMPARE(out, QByteArray(4, '\0'));
        LogCapture log;
        QVERIFY(!codec.expand(out, out)); // the same array as input and output
        QVERIFY(out.isEmpty());
        QCOMPARE(captured, QStringList({"Expand: ERROR"}));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("plain");
        for (int size : {1, 2, 3, 28, 29, 30, 31, 4066, 4067, 4068, 4097, 70001})
            QTest::addRow("random %d", size) << randomBytes(size, quint32(size));
        QTest::addRow("random 499999") << randomBytes(499999, 1);
        for (int size : {1, 30, 5000, 200000})
            QTest::addRow("text %d", size) << textBytes(size);
        for (int size : {31, 4200, 499999})
            QTest::addRow("runs %d", size) << runBytes(size);
        QTest::addRow("skewed") << skewedBytes(200000);
        QTest::addRow("one value 499999") << QByteArray(499999, '\x90');
        for (int distance = 4090; distance <= 4100; ++distance)
            QTest::addRow("distance %d", distance) << repeatBytes(5 * distance + 17, distance);
        QTest::addRow("distance 4096 long") << repeatBytes(300000, 4096);
    }

    void roundTrip()
    {
        QFETCH(QByteArray, plain);
        QByteArray packed, back;
        shared.compress(plain, packed);
        QVERIFY(shared.expand(packed, back));
        QCOMPARE(back.size(), plain.size());
        QVERIFY(back == plain);
    }

    void reusedObjectMatchesFresh()
    {
        const QByteArray a = textBytes(20000);
        const QByteArray b = randomBytes(9000, 3) + runBytes(9000);
        LzHuff reused;
        QByteArray first, scratch, again;
        reused.compress(a, first);
        reused.compress(b, scratch);
        reused.compress(a, again);
        QCOMPARE(again, first);

        QByteArray fresh;
        LzHuff().compress(a, fresh);
        QCOMPARE(first, fresh);

        // Expanding after other work starts from the same ring and tree too.
        QByteArray out1, out2;
        QVERIFY(reused.expand(first, out1));
        QVERIFY(reused.expand(scratch, out2));
        QVERIFY(reused.expand(first, out2));
        QVERIFY(out1 == a && out2 == a);
    }

    void sameArrayInAndOut()
    {
        QByteArray buf = textBytes(5000);
        const QByteArray plain = buf;
        shared.compress(buf, buf);
        QByteArray packed;
        shared.compress(plain, packed);
        QCOMPARE(buf, packed);
        QVERIFY(shared.expand(buf, buf));
        QVERIFY(buf == plain);
    }

    void rejectedSizes_data()
    {
        QTest::addColumn<QByteArray>("packed");
        QTest::addColumn<QString>("sizeLine");
        QTest::newRow("600000") << QByteArray::fromHex("c0270900aabb") << "Text size: 600000";
        QTest::newRow("500001") << QByteArray::fromHex("21a10700") << "Text size: 500001";
        QTest::newRow("no size") << QByteArray() << "Text size: 4294967295";
        QTest::newRow("3 size bytes") << QByteArray::fromHex("030000") << "Text size: 4278190083";
        QTest::newRow("1 size byte") << QByteArray::fromHex("03") << "Text size: 4294967043";
    }

    void rejectedSizes()
    {
        QFETCH(QByteArray, packed);
        QFETCH(QString, sizeLine);
        const QString rule = "=====================================================================";
        LzHuff codec;
        QByteArray out("stale");
        LogCapture log;
        QVERIFY(!codec.expand(packed, out));
        QVERIFY(out.isEmpty());
        QCOMPARE(captured, QStringList({rule, "WARNING: skipping file, compressed stream corrupted/wrong size !!!",
                                        sizeLine, rule, "Expand: ERROR"}));
    }

    // A last match running past the stored size is cut; a stream shorter than
    // the stored size is completed with zero bits; garbage decodes to exactly
    // the stored length without touching memory outside the buffers.
    void damagedStreams_data()
    {
        QTest::addColumn<QByteArray>("packed");
        QTest::addColumn<int>("size");

        QByteArray longer = readData("abc.out");
        longer[0] = char(0x40);
        longer[1] = char(0x9c); // 40000
        QTest::newRow("stream too short") << longer << 40000;

        QByteArray headOnly = QByteArray::fromHex("20a10700"); // 500000, no bits at all
        QTest::newRow("size only") << headOnly << 500000;

        QByteArray ones = QByteArray::fromHex("50c30000") + QByteArray(64, '\xff');
        QTest::newRow("all ones") << ones << 50000;

        for (quint32 seed = 1; seed <= 40; ++seed) {
            QRandomGenerator gen(seed);
            const int size = 1 + gen.bounded(60000);
            QByteArray garbage = randomBytes(gen.bounded(3000), seed);
            for (int b = 3; b >= 0; --b)
                garbage.prepend(char((size >> (8 * b)) & 0xff));
            QTest::addRow("garbage %u", seed) << garbage << size;
        }

        QByteArray packed;
        LzHuff().compress(textBytes(30000), packed);
        QTest::newRow("truncated") << packed.left(packed.size() / 2) << 30000;
        QRandomGenerator gen(99);
        for (int n = 0; n < 200; ++n)
            packed[4 + gen.bounded(packed.size() - 4)] = char(gen.bounded(256));
        QTest::newRow("flipped bytes") << packed << 30000;
    }

    void damagedStreams()
    {
        QFETCH(QByteArray, packed);
        QFETCH(int, size);
        QByteArray out;
        QVERIFY(shared.expand(packed, out));
        QCOMPARE(out.size(), size);
    }

    void matchPastSizeIsCut()
    {
        QByteArray cut = readData("same30.out"); // a literal, then a 29-byte match
        cut[0] = 20;
        QByteArray out;
        QVERIFY(shared.expand(cut, out));
        QCOMPARE(out, readData("same30.in").left(20));
    }
};

QTEST_GUILESS_MAIN(TestLzHuff)
#include "tst_lzhuff.moc"
