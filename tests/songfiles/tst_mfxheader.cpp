#include "songfiles/mfxheader.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// A header full of arbitrary bytes behind the magic, so that any write
// outside a field shows.
QByteArray noiseHeader(const QByteArray& magic, int size)
{
    QByteArray h(size, '\0');
    QRandomGenerator gen(42);
    for (int i = 0; i < size; ++i)
        h[i] = char(gen.bounded(256));
    return h.replace(0, magic.size(), magic);
}

struct Field
{
    int offset;
    QString (MfxHeader::*get)() const;
    void (MfxHeader::*set)(const QString&);
};
const QMap<QString, Field> fields = {
    {"title", {122, &MfxHeader::title, &MfxHeader::setTitle}},
    {"artist", {218, &MfxHeader::artist, &MfxHeader::setArtist}},
    {"author", {186, &MfxHeader::author, &MfxHeader::setAuthor}},
    {"genre", {250, &MfxHeader::genre, &MfxHeader::setGenre}},
};

} // namespace

class TestMfxHeader : public QObject
{
    Q_OBJECT

private slots:
    void load_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("type"); // after a good "_MF4" header; TypeMf4 and TypeUnknown: refused
        QTest::newRow("MF3 512") << noiseHeader("_MF3", 512) << int(SongInfo::TypeMf3);
        QTest::newRow("MF5 1023") << noiseHeader("_MF5", 1023) << int(SongInfo::TypeMf4);
        QTest::newRow("MF5 1024") << noiseHeader("_MF5", 1024) << int(SongInfo::TypeMf5);
        QTest::newRow("lower case") << noiseHeader("_mf3", 512) << int(SongInfo::TypeUnknown);
        QTest::newRow("3 bytes") << QByteArray("_MF") << int(SongInfo::TypeUnknown);
    }
    void load()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, type);
        const bool ok = type == SongInfo::TypeMf3 || type == SongInfo::TypeMf5;
        MfxHeader h;
        QVERIFY(h.loadHeader(noiseHeader("_MF4", 512)));
        QCOMPARE(h.loadHeader(data), ok);
        QCOMPARE(int(h.fileType()), type);
        if (!ok) { // nothing to edit
            h.setTitle("Title");
            h.setSize(1);
            h.setTempo(120);
            h.setFlag(MfxHeader::MarkersFlag);
        }
        QCOMPARE(h.header(), ok ? data : QByteArray());
    }

    // Read: zero-terminated, trimmed, all spaces empty, Latin-1 when not UTF-8.
    // Written: UTF-8 cut to 32 bytes by whole characters, padded with zero bytes.
    void texts_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("written"); // null: nothing written
        QTest::addColumn<QString>("read");
        QTest::newRow("zero-terminated") << "title" << QByteArray(" Hey \t\0junk", 10) << QString() << "Hey";
        QTest::newRow("spaces") << "author" << QByteArray(32, ' ') << QString() << "";
        QTest::newRow("Latin-1") << "artist" << QByteArray("Caf\xe9\0", 5) << QString() << QString::fromUtf8("Café");
        const QString forty = QString("Forty chars").repeated(4).left(40);
        for (const char* f : {"title", "artist", "author", "genre"})
            QTest::addRow("%s 40 chars", f) << f << QByteArray() << forty << forty.left(32);
        const QString e16 = QString(16, QChar(0xE8)), euro11 = QString(11, QChar(0x20AC));
        QTest::newRow("2-byte chars fill 32 bytes") << "title" << QByteArray() << e16 + "xyz" << e16;
        QTest::newRow("3-byte char cut whole") << "artist" << QByteArray() << euro11 << euro11.left(10);
        QTest::newRow("4-byte char cut whole") << "genre" << QByteArray()
                                                << QString(31, 'a') + QString::fromUtf8("\xf0\x9f\x8e\xb8") << QString(31, 'a');
    }
    void texts()
    {
        QFETCH(QString, field);
        QFETCH(QByteArray, stored);
        QFETCH(QString, written);
        QFETCH(QString, read);
        const Field f = fields[field];
        QByteArray expected = noiseHeader("_MF3", 512).replace(f.offset, stored.size(), stored);
        MfxHeader h;
        QVERIFY(h.loadHeader(expected));
        if (!written.isNull()) {
            (h.*f.set)(written);
            expected.replace(f.offset, 32, (read.toUtf8() + QByteArray(32, '\0')).left(32));
        }
        QCOMPARE(h.header().toHex(), expected.toHex());
        QCOMPARE((h.*f.get)(), read);
    }

    // Tempo (valid below 500), flags (sign-extended, the markers bit set) and
    // the two sizes, every other byte of the 1024-byte header kept.
    void numbers_data()
    {
        QTest::addColumn<int>("tempo");
        QTest::addColumn<QByteArray>("tempoBytes");
        QTest::addColumn<int>("tempoRead");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("flagsRead");
        QTest::newRow("120") << 120 << QByteArray::fromHex("7800") << 120 << true << 0x04 << 4;
        QTest::newRow("499") << 499 << QByteArray::fromHex("f301") << 499 << true << 0x84 << -124;
        QTest::newRow("500") << 500 << QByteArray::fromHex("f401") << 500 << false << 0 << 0;
        QTest::newRow("70000 keeps low 16 bits") << 70000 << QByteArray::fromHex("7011") << 4464 << false << 0 << 0;
    }
    void numbers()
    {
        QFETCH(int, tempo);
        QFETCH(QByteArray, tempoBytes);
        QFETCH(int, tempoRead);
        QFETCH(bool, valid);
        QFETCH(int, flags);
        QFETCH(int, flagsRead);
        QByteArray raw = noiseHeader("_MF5", 1024);
        raw[185] = char(flags);
        MfxHeader h;
        QVERIFY(h.loadHeader(raw));
        QCOMPARE(h.flags(), flagsRead);
        h.setTempo(tempo);
        h.setFlag(MfxHeader::MarkersFlag);
        h.setSize(1000);
        h.setOrigSize(0x89abcdefu);
        QCOMPARE(h.tempo(), tempoRead);
        QCOMPARE(h.hasValidTempo(), valid);
        raw[185] = char(flags | 1);
        raw.replace(4, 4, QByteArray::fromHex("e8030000")).replace(12, 4, QByteArray::fromHex("efcdab89")).replace(38, 2, tempoBytes);
        QCOMPARE(h.header().toHex(), raw.toHex());
    }
};

QTEST_GUILESS_MAIN(TestMfxHeader)
#include "tst_mfxheader.moc"
