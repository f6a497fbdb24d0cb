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

} // namespace

class TestLzHuff : public QObject
{
    Q_OBJECT

    // Reused by every call: a stream must not depend on the calls before it.
    LzHuff shared;

private slots:
    // The reference program's streams, two rules they miss (the ring's mirror
    // starts as zero bytes; of two equally long matches the nearer is coded),
    // and round trips of inputs from 1 to 499,999 bytes.
    void codec_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("packed"); // null: round trip only
        for (const char* n : {"abc", "same30", "b30", "b31", "rep4097"})
            QTest::newRow(n) << reference(QString(n) + ".in") << reference(QString(n) + ".out");
        QTest::newRow("mirror starts zero")
            << QByteArray::fromHex("00202020200000206100006120206120006100612000000000202020")
            << QByteArray::fromHex("1c000000e56601393d457c386ff16bddbf6dd9407db5801a82c0");
        QTest::newRow("nearer match wins")
            << QByteArray::fromHex("2000000000200000002061202061202000616100612020202020")
            << QByteArray::fromHex("1a000000f572b28019604e42bdfc202e3e0d9b7880dac300");
        for (int size : {1, 2, 29, 30, 4067, 4097, 499999})
            QTest::addRow("random %d", size) << input(0, size, quint32(size)) << QByteArray();
        QTest::newRow("text 200000") << input(1, 200000) << QByteArray();
        QTest::newRow("runs 499999") << input(2, 499999) << QByteArray();
        QTest::newRow("skewed") << input(3, 200000) << QByteArray();
        for (int distance = 4090; distance <= 4100; ++distance)
            QTest::addRow("distance %d", distance) << input(0, distance, quint32(distance)).repeated(5) + "tail" << QByteArray();
    }
    void codec()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, packed);
        QVERIFY(!plain.isEmpty());
        QByteArray out, back;
        shared.compress(plain, out);
        QVERIFY(packed.isNull() || out.toHex() == packed.toHex());
        QVERIFY(shared.expand(out, back));
        QVERIFY(back == plain);
    }

    // A damaged stream decodes to exactly the stored size, a last match running past it cut.
    void damagedStreams_data()
    {
        QTest::addColumn<QByteArray>("packed");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("start"); // of the output
        QByteArray cut = reference("same30.out"); // a literal, then a 29-byte match
        cut[0] = 20;
        QTest::newRow("last match cut") << cut << 20 << reference("same30.in").left(20);
        QTest::newRow("all ones") << QByteArray::fromHex("50c30000") + QByteArray(64, '\xff') << 50000 << QByteArray();
        QTest::newRow("garbage") << QByteArray::fromHex("a0860100") + input(0, 3000) << 100000 << QByteArray();
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
        QFETCH(QByteArray, start);
        QByteArray out;
        QVERIFY(shared.expand(packed, out));
        QTEST(out.size(), "size");
        QVERIFY(out.startsWith(start));
    }
};

QTEST_GUILESS_MAIN(TestLzHuff)
#include "tst_lzhuff.moc"
