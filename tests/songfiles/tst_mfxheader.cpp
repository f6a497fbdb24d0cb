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

// Text fields: offset, size, getter, and setter (none for the read-only ones).
struct Field
{
    int offset, size;
    QString (MfxHeader::*get)() const;
    void (MfxHeader::*set)(const QString&);
};
const QMap<QString, Field> fields = {
    {"title", {122, 32, &MfxHeader::title, &MfxHeader::setTitle}},
    {"artist", {218, 32, &MfxHeader::artist, &MfxHeader::setArtist}},
    {"author", {186, 32, &MfxHeader::author, &MfxHeader::setAuthor}},
    {"genre", {250, 32, &MfxHeader::genre, &MfxHeader::setGenre}},
    {"copyright", {90, 20, &MfxHeader::copyright, nullptr}},
    {"editor", {154, 31, &MfxHeader::editor, nullptr}},
    {"long name", {42, 13, &MfxHeader::longName, nullptr}},
};

} // namespace

class TestMfxHeader : public QObject
{
    Q_OBJECT

private slots:
    void load_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("type");
        // Every row loads after a good "_MF4" header: a failed load empties the
        // header, an unknown magic also forgets the type.
        QTest::newRow("MF3 512") << noiseHeader("_MF3", 512) << true << int(SongInfo::TypeMf3);
        QTest::newRow("MF3 511") << noiseHeader("_MF3", 511) << false << int(SongInfo::TypeMf4);
        QTest::newRow("MF4 512") << noiseHeader("_MF4", 512) << true << int(SongInfo::TypeMf4);
        QTest::newRow("MF5 1023") << noiseHeader("_MF5", 1023) << false << int(SongInfo::TypeMf4);
        QTest::newRow("MF5 1024") << noiseHeader("_MF5", 1024) << true << int(SongInfo::TypeMf5);
        QTest::newRow("MF6") << noiseHeader("_MF6", 1024) << false << int(SongInfo::TypeUnknown);
        QTest::newRow("lower case") << noiseHeader("_mf3", 512) << false << int(SongInfo::TypeUnknown);
        QTest::newRow("3 bytes") << QByteArray("_MF") << false << int(SongInfo::TypeUnknown);
    }
    void load()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, ok);
        QFETCH(int, type);
        MfxHeader h;
        QVERIFY(h.loadHeader(noiseHeader("_MF4", 512)));
        QCOMPARE(h.loadHeader(data), ok);
        QCOMPARE(int(h.fileType()), type);
        QCOMPARE(h.header(), ok ? data : QByteArray());
        if (!ok) { // nothing to edit
            h.setTitle("Title");
            h.setSize(1);
            h.setTempo(120);
            h.setFlag(MfxHeader::MarkersFlag);
            QVERIFY(h.header().isEmpty() && h.title().isEmpty() && h.tempo() == 0 && h.flags() == 0);
        }
    }

    // Zero-terminated, trimmed, all spaces reading empty, full width.
    void readText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        for (auto f = fields.cbegin(); f != fields.cend(); ++f) {
            QTest::addRow("%s zero-terminated", qPrintable(f.key())) << f.key() << QByteArray(" Hey \t\0junk", 10) << "Hey";
            QTest::addRow("%s spaces", qPrintable(f.key())) << f.key() << QByteArray(f->size, ' ') << "";
            QTest::addRow("%s full", qPrintable(f.key())) << f.key() << QByteArray(f->size, 'x') << QString(f->size, 'x');
        }
        QTest::newRow("artist Latin-1") << "artist" << QByteArray("Caf\xe9\0", 5) << QString::fromUtf8("Café");
    }
    void readText()
    {
        QFETCH(QString, field);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const Field f = fields[field];
        MfxHeader h;
        QVERIFY(h.loadHeader(noiseHeader("_MF5", 1024).replace(f.offset, bytes.size(), bytes)));
        QCOMPARE((h.*f.get)(), text);
        if (field == "title")
            QCOMPARE(h.hasTitle(), !text.isEmpty());
    }

    // Texts are stored as UTF-8, cut to 32 bytes by whole characters and
    // padded with zero bytes, and read back as UTF-8.
    void writeText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        const QString forty = "Forty characters long title for the test";
        for (const char* f : {"title", "artist", "author", "genre"}) {
            QTest::addRow("%s plain", f) << f << "Yesterday" << QByteArray("Yesterday");
            QTest::addRow("%s empty", f) << f << "" << QByteArray();
            QTest::addRow("%s 40 chars", f) << f << forty << forty.left(32).toLatin1();
        }
        const QString e16 = QString(16, QChar(0xE8)), euro11 = QString(11, QChar(0x20AC));
        QTest::newRow("2-byte chars fill 32 bytes") << "title" << e16 + "xyz" << e16.toUtf8();
        QTest::newRow("3-byte char cut whole") << "artist" << euro11 << euro11.left(10).toUtf8();
        QTest::newRow("4-byte char cut whole") << "genre" << QString(31, 'a') + QString::fromUtf8("\xf0\x9f\x8e\xb8")
                                                << QByteArray(31, 'a');
    }
    void writeText()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const Field f = fields[field];
        const QByteArray original = noiseHeader("_MF3", 512);
        MfxHeader h;
        QVERIFY(h.loadHeader(original));
        (h.*f.set)(text);
        QCOMPARE(h.header().toHex(), QByteArray(original).replace(f.offset, 32, (bytes + QByteArray(32, '\0')).left(32)).toHex());
        QCOMPARE((h.*f.get)(), QString::fromUtf8(bytes).trimmed());
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
        QTest::newRow("0") << 0 << QByteArray::fromHex("0000") << 0 << false << 0x05 << 5;
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
