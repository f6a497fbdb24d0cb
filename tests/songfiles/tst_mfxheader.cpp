#include "songfiles/mfxheader.h"

#include <QRandomGenerator>
#include <QtTest>

Q_DECLARE_METATYPE(SongInfo::fileTypeEnum)

namespace {

// A header full of arbitrary bytes behind the magic, so that any write
// outside its field shows.
QByteArray noiseHeader(const QByteArray& magic, int size, quint32 seed = 42)
{
    QRandomGenerator gen(seed);
    QByteArray h(size, '\0');
    for (int i = 0; i < size; ++i)
        h[i] = char(gen.bounded(256));
    h.replace(0, magic.size(), magic);
    return h;
}

QByteArray field(const QByteArray& bytes, int size)
{
    return (bytes + QByteArray(size, '\0')).left(size);
}

enum TextField { Title, Artist, Author, Genre, Copyright, Editor, LongName };

struct FieldInfo
{
    int offset;
    int size;
};

FieldInfo info(int f)
{
    static const FieldInfo table[] = {{122, 32}, {218, 32}, {186, 32}, {250, 32},
                                      {90, 20},  {154, 31}, {42, 13}};
    return table[f];
}

QString read(const MfxHeader& h, int f)
{
    switch (f) {
    case Title: return h.title();
    case Artist: return h.artist();
    case Author: return h.author();
    case Genre: return h.genre();
    case Copyright: return h.copyright();
    case Editor: return h.editor();
    default: return h.longName();
    }
}

bool has(const MfxHeader& h, int f)
{
    switch (f) {
    case Title: return h.hasTitle();
    case Artist: return h.hasArtist();
    case Author: return h.hasAuthor();
    case Genre: return h.hasGenre();
    case LongName: return h.hasLongName();
    default: return !read(h, f).isEmpty();
    }
}

void write(MfxHeader& h, int f, const QString& text)
{
    switch (f) {
    case Title: h.setTitle(text); break;
    case Artist: h.setArtist(text); break;
    case Author: h.setAuthor(text); break;
    default: h.setGenre(text); break;
    }
}

} // namespace

class TestMfxHeader : public QObject
{
    Q_OBJECT

private slots:
    void load_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<SongInfo::fileTypeEnum>("type");

        // Every row loads after a good "_MF4" header: a failed load empties the
        // header, an unknown magic also forgets the type.
        QTest::newRow("MF3 512") << noiseHeader("_MF3", 512) << true << SongInfo::TypeMf3;
        QTest::newRow("MF3 511") << noiseHeader("_MF3", 511) << false << SongInfo::TypeMf4;
        QTest::newRow("MF4 512") << noiseHeader("_MF4", 512) << true << SongInfo::TypeMf4;
        QTest::newRow("MF4 4") << QByteArray("_MF4") << false << SongInfo::TypeMf4;
        QTest::newRow("MF5 512") << noiseHeader("_MF5", 512) << false << SongInfo::TypeMf4;
        QTest::newRow("MF5 1023") << noiseHeader("_MF5", 1023) << false << SongInfo::TypeMf4;
        QTest::newRow("MF5 1024") << noiseHeader("_MF5", 1024) << true << SongInfo::TypeMf5;
        QTest::newRow("MF6") << noiseHeader("_MF6", 1024) << false << SongInfo::TypeUnknown;
        QTest::newRow("lower case") << noiseHeader("_mf3", 512) << false << SongInfo::TypeUnknown;
        QTest::newRow("MIDI") << noiseHeader("MThd", 1024) << false << SongInfo::TypeUnknown;
        QTest::newRow("3 bytes") << QByteArray("_MF") << false << SongInfo::TypeUnknown;
        QTest::newRow("empty") << QByteArray() << false << SongInfo::TypeUnknown;
    }

    void load()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, ok);
        QFETCH(SongInfo::fileTypeEnum, type);
        MfxHeader h;
        QVERIFY(h.loadHeader(noiseHeader("_MF4", 512, 1)));
        QCOMPARE(h.loadHeader(data), ok);
        QCOMPARE(h.fileType(), type);
        QCOMPARE(h.header(), ok ? data : QByteArray());
        if (ok)
            QCOMPARE(h.header().size(), MfxHeader::headerSize(type));
    }

    void readText_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");

        const char* names[] = {"title", "artist", "author", "genre", "copyright", "editor", "long name"};
        for (int f = Title; f <= LongName; ++f) {
            const int size = info(f).size;
            QTest::addRow("%s zero-terminated", names[f]) << f << QByteArray("Hello") << "Hello";
            QTest::addRow("%s spaces", names[f]) << f << QByteArray(size, ' ') << "";
            QTest::addRow("%s full", names[f]) << f << QByteArray(size, 'x') << QString(size, 'x');
        }
        QTest::newRow("title trimmed, junk after zero")
            << int(Title) << QByteArray("  Hey Jude \t\0garbage", 21) << "Hey Jude";
        QTest::newRow("artist Latin-1") << int(Artist) << QByteArray("Caf\xe9 Tacvba") << QString::fromUtf8("Café Tacvba");
    }

    void readText()
    {
        QFETCH(int, which);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const FieldInfo fi = info(which);
        QByteArray raw = noiseHeader("_MF5", 1024);
        raw.replace(fi.offset, fi.size, field(bytes, fi.size));
        MfxHeader h;
        QVERIFY(h.loadHeader(raw));
        QCOMPARE(read(h, which), text);
        QCOMPARE(has(h, which), !text.isEmpty());
    }

    void writeText_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("readBack");

        const QString forty = "Forty characters long title for the test";
        const QString e16 = QString::fromUtf8("èèèèèèèèèèèèèèèè");
        QString euro11;
        euro11.fill(QChar(0x20ac), 11);
        const QByteArray euro10 = QString(euro11).left(10).toUtf8();
        const char* names[] = {"title", "artist", "author", "genre"};
        for (int f = Title; f <= Genre; ++f) {
            QTest::addRow("%s plain", names[f]) << f << "Yesterday" << QByteArray("Yesterday") << "Yesterday";
            QTest::addRow("%s empty", names[f]) << f << "" << QByteArray() << "";
            QTest::addRow("%s 40 chars", names[f]) << f << forty << forty.left(32).toLatin1() << forty.left(32).trimmed();
        }
        // Texts are stored as UTF-8 (and read back byte by byte as Latin-1).
        QTest::newRow("title 2-byte chars fill 32 bytes")
            << int(Title) << e16 + "xyz" << e16.toUtf8() << e16;
        QTest::newRow("artist 3-byte char cut whole")
            << int(Artist) << euro11 << euro10 << QString::fromUtf8(euro10);
        QTest::newRow("genre 4-byte char cut whole")
            << int(Genre) << QString(31, 'a') + QString::fromUtf8("\xf0\x9f\x8e\xb8")
            << QByteArray(31, 'a') << QString(31, 'a');
    }

    void writeText()
    {
        QFETCH(int, which);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, readBack);
        const FieldInfo fi = info(which);
        const QByteArray original = noiseHeader("_MF3", 512);
        MfxHeader h;
        QVERIFY(h.loadHeader(original));
        write(h, which, text);

        QByteArray expected = original;
        expected.replace(fi.offset, fi.size, field(bytes, fi.size));
        QCOMPARE(h.header().size(), 512);
        QCOMPARE(h.header().toHex(), expected.toHex());
        QCOMPARE(read(h, which), readBack);
        QCOMPARE(has(h, which), !readBack.isEmpty());
    }

    void tempo_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("tempo");
        QTest::addColumn<bool>("valid");
        QTest::newRow("120") << 120 << QByteArray::fromHex("7800") << 120 << true;
        QTest::newRow("0") << 0 << QByteArray::fromHex("0000") << 0 << false;
        QTest::newRow("499") << 499 << QByteArray::fromHex("f301") << 499 << true;
        QTest::newRow("500") << 500 << QByteArray::fromHex("f401") << 500 << false;
        QTest::newRow("70000 keeps low 16 bits") << 70000 << QByteArray::fromHex("7011") << 4464 << false;
        QTest::newRow("-1") << -1 << QByteArray::fromHex("ffff") << 65535 << false;
    }

    void tempo()
    {
        QFETCH(int, set);
        QFETCH(QByteArray, bytes);
        QFETCH(int, tempo);
        QFETCH(bool, valid);
        const QByteArray original = noiseHeader("_MF4", 512);
        MfxHeader h;
        QVERIFY(h.loadHeader(original));
        h.setTempo(set);
        QCOMPARE(h.tempo(), tempo);
        QCOMPARE(h.hasValidTempo(), valid);
        QByteArray expected = original;
        expected.replace(38, 2, bytes);
        QCOMPARE(h.header(), expected);
    }

    void flags_data()
    {
        QTest::addColumn<quint8>("stored");
        QTest::addColumn<int>("read");
        QTest::addColumn<quint8>("afterSet");
        QTest::newRow("0x04") << quint8(0x04) << 4 << quint8(0x05);
        QTest::newRow("already set") << quint8(0x05) << 5 << quint8(0x05);
        QTest::newRow("sign-extended") << quint8(0x84) << -124 << quint8(0x85);
    }

    void flags()
    {
        QFETCH(quint8, stored);
        QFETCH(int, read);
        QFETCH(quint8, afterSet);
        QByteArray raw = noiseHeader("_MF5", 1024);
        raw[185] = char(stored);
        MfxHeader h;
        QVERIFY(h.loadHeader(raw));
        QCOMPARE(h.flags(), read);
        h.setFlag(MfxHeader::MarkersFlag);
        QCOMPARE(quint8(h.header().at(185)), afterSet);
        raw[185] = char(afterSet);
        QCOMPARE(h.header(), raw);
    }

    void sizeFields()
    {
        const QByteArray original = noiseHeader("_MF3", 512);
        MfxHeader h;
        QVERIFY(h.loadHeader(original));
        h.setSize(1000);
        h.setOrigSize(0x89abcdefu);
        QByteArray expected = original;
        expected.replace(4, 4, QByteArray::fromHex("e8030000"));
        expected.replace(12, 4, QByteArray::fromHex("efcdab89"));
        QCOMPARE(h.header().toHex(), expected.toHex());
    }

    // Everything the setters do not name survives byte for byte, up to the
    // end of the 1024-byte "_MF5" header.
    void untouchedAreasSurvive()
    {
        const QByteArray original = noiseHeader("_MF5", 1024, 7);
        MfxHeader h;
        QVERIFY(h.loadHeader(original));
        h.setTitle(QString::fromUtf8("Brücke über Wasser"));
        h.setArtist("A");
        h.setAuthor(QString(50, 'z'));
        h.setGenre(QString());
        h.setSize(123456);
        h.setOrigSize(654321);
        h.setTempo(96);
        h.setFlag(MfxHeader::MarkersFlag);
        const QByteArray& now = h.header();
        QCOMPARE(now.size(), 1024);
        const QList<QPair<int, int>> touched = {{4, 4}, {12, 4}, {38, 2}, {122, 32}, {186, 96}};
        for (int i = 0; i < 1024; ++i) {
            bool inField = false;
            for (const auto& t : touched)
                inField = inField || (i >= t.first && i < t.first + t.second);
            if (i == 185)
                QCOMPARE(quint8(now.at(i)), quint8(original.at(i) | 1));
            else if (!inField)
                QVERIFY2(now.at(i) == original.at(i), qPrintable(QString("byte %1 changed").arg(i)));
        }
    }

    void noHeaderLoaded()
    {
        MfxHeader h;
        QVERIFY(!h.loadHeader(QByteArray("_MF5", 4)));
        h.setTitle("Title");
        h.setSize(1);
        h.setTempo(120);
        h.setFlag(MfxHeader::MarkersFlag);
        QVERIFY(h.header().isEmpty());
        QCOMPARE(h.title(), QString());
        QCOMPARE(h.tempo(), 0);
        QCOMPARE(h.flags(), 0);
        QVERIFY(!h.hasValidTempo());
    }
};

QTEST_GUILESS_MAIN(TestMfxHeader)
#include "tst_mfxheader.moc"
