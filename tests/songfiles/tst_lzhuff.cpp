#include "songfiles/lzhuff.h"
#include "tst_metasong_helpers.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace SongBytes;

namespace {

QByteArray reference(const QString& name)
{
    return readFile(ORVALO3_SOURCE_DIR "/tests/songfiles/data/lzhuf/" + name);
}

// Kinds of input: 0 random, 1 words, 2 runs longer than the longest match,
// 3 bytes of value k drawn with weight 1.3^-k (a skewed spread that drives
// the adaptive tree deep, giving codes longer than 16 bits).
QByteArray input(int kind, int size, quint32 seed = 1)
{
    static const QList<QByteArray> words = QByteArray("the song verse chorus bridge and of a tempo drums bass").split(' ');
    QRandomGenerator gen(seed);
    QByteArray b;
    while (b.size() < size) {
        if (kind == 0)
            b += char(gen.bounded(256));
        else if (kind == 1)
            b += words[gen.bounded(words.size())] + (gen.bounded(12) == 0 ? ".\n" : " ");
        else if (kind == 2)
            b += QByteArray(30 + gen.bounded(200), char(gen.bounded(256)));
        else {
            int k = 0;
            while (k < 59 && gen.generateDouble() < 1 / 1.3)
                ++k;
            b += char(k * 7 + 1);
        }
    }
    return b.left(size);
}

// A random block repeated at the given distance, with a little noise so that
// matches end and start again near the far edge of the window.
QByteArray repeated(int size, int distance)
{
    const QByteArray block = input(0, distance, quint32(distance));
    QRandomGenerator gen(quint32(distance) + 1);
    QByteArray b;
    while (b.size() < size)
        b += QByteArray(block).replace(gen.bounded(distance), 1, QByteArray(1, char(gen.bounded(256))));
    return b.left(size);
}

} // namespace

class TestLzHuff : public QObject
{
    Q_OBJECT

    LzHuff shared; // reused by every round trip: state must not leak between calls

private slots:
    // Streams of the reference program, and two rules they do not reach: the
    // ring's mirror after position 4096 starts as zero bytes, and of two
    // equally long matches the nearer one is coded.
    void referenceStreams_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("packed");
        for (const char* n : {"abc", "same30", "b30", "b31", "rep4097"})
            QTest::newRow(n) << reference(QString(n) + ".in") << reference(QString(n) + ".out");
        QTest::newRow("mirror starts zero")
            << QByteArray::fromHex("00202020200000206100006120206120006100612000000000202020")
            << QByteArray::fromHex("1c000000e56601393d457c386ff16bddbf6dd9407db5801a82c0");
        QTest::newRow("nearer match wins")
            << QByteArray::fromHex("2000000000200000002061202061202000616100612020202020")
            << QByteArray::fromHex("1a000000f572b28019604e42bdfc202e3e0d9b7880dac300");
    }
    void referenceStreams()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, packed);
        QVERIFY(!plain.isEmpty());
        QByteArray out;
        shared.compress(plain, out);
        QCOMPARE(out.toHex(), packed.toHex());
        QVERIFY(shared.expand(packed, out));
        QCOMPARE(out, plain);
    }

    void logLines_data()
    {
        QTest::addColumn<QByteArray>("packed"); // null: "abc" packed and expanded
        QTest::addColumn<QStringList>("log");
        const QString rule(69, '=');
        const QString warning = "WARNING: skipping file, compressed stream corrupted/wrong size !!!";
        QTest::newRow("success") << QByteArray() << QStringList{"Compress: 3 --> 7", "Expand: 7 --> 3"};
        QTest::newRow("size 500001") << QByteArray::fromHex("21a10700aabb")
                                     << QStringList{rule, warning, "Text size: 500001", rule, "Expand: ERROR"};
    }
    void logLines()
    {
        QFETCH(QByteArray, packed);
        QFETCH(QStringList, log);
        LzHuff codec;
        QByteArray out("stale");
        LogCapture capture;
        if (packed.isNull()) {
            codec.compress("abc", packed);
            QVERIFY(codec.expand(packed, out));
        } else {
            QVERIFY(!codec.expand(packed, packed)); // the same array as input and output
            QVERIFY(packed.isEmpty());
        }
        QCOMPARE(capture.lines(), log);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("plain");
        for (int size : {1, 2, 3, 29, 30, 31, 4066, 4067, 4068, 4097, 499999})
            QTest::addRow("random %d", size) << input(0, size, quint32(size));
        QTest::newRow("text 200000") << input(1, 200000);
        QTest::newRow("runs 499999") << input(2, 499999);
        QTest::newRow("skewed") << input(3, 200000);
        QTest::newRow("one value 499999") << QByteArray(499999, '\x90');
        for (int distance = 4090; distance <= 4100; ++distance)
            QTest::addRow("distance %d", distance) << repeated(5 * distance + 17, distance);
    }
    void roundTrip()
    {
        QFETCH(QByteArray, plain);
        QByteArray packed, back;
        shared.compress(plain, packed);
        QVERIFY(shared.expand(packed, back));
        QVERIFY(back == plain);
    }

    void reusedObjectMatchesFresh()
    {
        const QByteArray a = input(1, 20000), b = input(0, 9000) + input(2, 9000);
        LzHuff reused;
        QByteArray first, other, again = a, fresh;
        reused.compress(a, first);
        reused.compress(b, other);
        reused.compress(again, again);
        LzHuff().compress(a, fresh);
        QCOMPARE(again, first);
        QCOMPARE(fresh, first);
        QVERIFY(reused.expand(other, other) && other == b);
        QVERIFY(reused.expand(first, first) && first == a);
    }

    // A damaged or truncated stream decodes to exactly the stored size
    // without touching memory outside the buffers; a last match running past
    // the size is cut.
    void damagedStreams_data()
    {
        QTest::addColumn<QByteArray>("packed");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("start"); // of the output
        QByteArray cut = reference("same30.out"); // a literal, then a 29-byte match
        cut[0] = 20;
        QTest::newRow("last match cut") << cut << 20 << reference("same30.in").left(20);
        QTest::newRow("size only") << QByteArray::fromHex("20a10700") << 500000 << QByteArray();
        QTest::newRow("all ones") << QByteArray::fromHex("50c30000") + QByteArray(64, '\xff') << 50000 << QByteArray();
        for (quint32 seed = 1; seed <= 40; ++seed) {
            const int size = 1 + QRandomGenerator(seed).bounded(60000);
            QByteArray garbage = QByteArray(4, '\0') + input(0, int(seed) * 70, seed);
            putLe(garbage, 0, quint32(size), 4);
            QTest::addRow("garbage %u", seed) << garbage << size << QByteArray();
        }
        QByteArray packed = pack(input(1, 30000));
        QTest::newRow("truncated") << packed.left(packed.size() / 2) << 30000 << QByteArray();
        QRandomGenerator gen(99);
        for (int n = 0; n < 200; ++n)
            packed[4 + gen.bounded(packed.size() - 4)] = char(gen.bounded(256));
        QTest::newRow("flipped bytes") << packed << 30000 << QByteArray();
    }
    void damagedStreams()
    {
        QFETCH(QByteArray, packed);
        QFETCH(int, size);
        QFETCH(QByteArray, start);
        QByteArray out;
        QVERIFY(shared.expand(packed, out));
        QCOMPARE(out.size(), size);
        QVERIFY(out.startsWith(start));
    }
};

QTEST_GUILESS_MAIN(TestLzHuff)
#include "tst_lzhuff.moc"
