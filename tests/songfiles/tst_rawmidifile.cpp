#include "songfiles/metasong.h"
#include "songfiles/rawmidifile.h"

#include "midiimage.h"

#include <QtTest>

#include <functional>

using namespace MidiImage;

namespace {

// One row per song detail: how to write it, read it and test its presence.
struct Detail
{
    std::function<void(RawMidiFile&, const QString&)> set;
    std::function<QString(const RawMidiFile&)> get;
    std::function<bool(const RawMidiFile&)> has;
};

#define DETAIL(setExpr, getExpr, hasFunction)                                                        \
    Detail{[](RawMidiFile& m, const QString& v) { setExpr; }, [](const RawMidiFile& m) { return getExpr; }, \
           [](const RawMidiFile& m) { return m.hasFunction(); }}

const QMap<QString, Detail>& details()
{
    static const QMap<QString, Detail> table = {
        {"title", DETAIL(m.setTitle(v), m.title(), hasTitle)},
        {"genre", DETAIL(m.setGenre(v), m.genre(), hasGenre)},
        {"artist", DETAIL(m.setArtist(v), m.artist(), hasArtist)},
        {"author", DETAIL(m.setAuthor(v), m.author(), hasAuthor)},
        {"length", DETAIL(m.setLength(v.toInt()), QString::number(m.length()), hasLength)},
        {"userBpm", DETAIL(m.setUserBpm(v.toInt()), QString::number(m.userBpm()), hasUserBpm)},
        {"key", DETAIL(m.setKey(v), m.key(), hasKey)},
        {"marker", DETAIL(m.setMarkersList({Marker{v, 3}}), m.markersList().value(0).text, hasMarkers)},
    };
    return table;
}

// A later track carrying every kind of event the setters touch.
QByteArray laterTrack()
{
    return meta(0x03, "Piano") + tag(1, "Jazz") + tag(2, "Band") + tag(3, "Writer") + tag(4, "99")
        + tag(5, "60") + tag(6, bytes({0, 7}) + "Coda") + meta(0x59, bytes({0x02, 0x00})) + notes();
}

QByteArray utf8(const char* s) { return QByteArray(s); }

QString pythonWithMido()
{
    const QStringList candidates = {"/usr/bin/python3", QStandardPaths::findExecutable("python3")};
    for (const QString& py : candidates) {
        if (py.isEmpty())
            continue;
        QProcess p;
        p.start(py, {"-c", "import mido"});
        if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return py;
    }
    return QString();
}

// What an independent reader sees: the format, then per track the number of
// channel messages and total ticks, the track names, key signatures and tag
// events (texts in hexadecimal).
const char* midoScript = R"(
import sys, mido
m = mido.MidiFile(sys.argv[1])
print('type', m.type)
for t in m.tracks:
    print('track', sum(1 for x in t if not x.is_meta), sum(x.time for x in t))
    for x in t:
        if x.type == 'track_name': print('name', x.name.encode('latin1').hex())
        elif x.type == 'key_signature': print('key', x.key)
        elif x.type == 'unknown_meta' and x.type_byte == 0x4B: print('tag', bytes(x.data).hex())
)";

QStringList midoRead(const QString& python, const QByteArray& image, QString* error)
{
    QTemporaryDir dir;
    QFile f(dir.filePath("song.mid"));
    if (!f.open(QIODevice::WriteOnly) || f.write(image) != image.size())
        return {};
    f.close();
    QProcess p;
    p.start(python, {"-c", midoScript, f.fileName()});
    p.waitForFinished(60000);
    *error = QString::fromUtf8(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QByteArray readSample(const QString& name)
{
    QFile f(QStringLiteral(ORVALO3_SOURCE_DIR "/tests/songfiles/data/midi/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestRawMidiFile : public QObject
{
    Q_OBJECT
private slots:
    void loadData_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("fileType");
        const QByteArray track = chunk(notes() + endOfTrack());
        QTest::newRow("format 0") << smf(0, {notes()}) << true << int(SongInfo::TypeMidi0);
        QTest::newRow("format 1") << smf(1, {notes(), notes()}) << true << int(SongInfo::TypeMidi1);
        QTest::newRow("format 2") << smf(2, {notes()}) << false << 0;
        QTest::newRow("MTrk first") << track + smf(0, {notes()}).mid(0, 14) << false << 0;
        QTest::newRow("no MTrk") << smf(0, {}) << false << 0;
        QTest::newRow("empty") << QByteArray() << false << 0;
        QTest::newRow("MThd and MTrk only") << QByteArray("MThdMTrk") << false << 0;
        QTest::newRow("MTrk at the very end") << smf(0, {}) + "MTrk" << false << 0;
        QTest::newRow("length field cut") << smf(0, {}) + "MTrk" + bytes({0, 0}) << false << 0;
        QTest::newRow("empty first track") << smf(0, {}) + "MTrk" + be32(0) << true << int(SongInfo::TypeMidi0);
    }
    void loadData()
    {
        QFETCH(QByteArray, image);
        QFETCH(bool, loaded);
        QFETCH(int, fileType);
        RawMidiFile m;
        QCOMPARE(m.loadData(image), loaded);
        QCOMPARE(int(m.fileType()), fileType);
        if (loaded) {
            QCOMPARE(m.stream(), image);
            QCOMPARE(MetaSong::getFormatString(m.fileType()), QString("MIDI"));
        } else {
            // A refused image is never edited.
            m.setTitle("X");
            m.setMarkersList({Marker{"Intro", 1}});
            QVERIFY(m.stream().isEmpty());
            QVERIFY(!m.hasTitle());
        }
    }

    void formatString_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        const QStringList names = {"UNKNOWN", "MIDI", "MIDI", "MF3", "MF4", "MF5", "MP3", "UNKNOWN"};
        for (int t = 0; t < names.size(); ++t)
            QTest::addRow("%d", t) << t << names[t];
        QTest::newRow("-1") << -1 << "UNKNOWN";
    }
    void formatString()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        QCOMPARE(MetaSong::getFormatString(SongInfo::fileTypeEnum(type)), text);
    }

    // Exact bytes of every setter, the first track's length field after
    // removal and insertion, and a later track left untouched.
    void setters_data()
    {
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("readBack");
        const QByteArray n = notes();
        QTest::newRow("genre replaces both") << "genre" << "Pop" << tag(1, "Rock") + tag(1, "Jazz") + n
                                             << bytes({0, 0xFF, 0x4B, 4, 1}) + "Pop" + n << "Pop";
        QTest::newRow("artist") << "artist" << "Mina" << n + tag(2, "Old") + tag(1, "Rock")
                                << tag(2, "Mina") + n + tag(1, "Rock") << "Mina";
        QTest::newRow("author") << "author" << "Rossi" << tag(3, "X") << tag(3, "Rossi") << "Rossi";
        QTest::newRow("length") << "length" << "215" << n << bytes({0, 0xFF, 0x4B, 4, 4}) + "215" + n << "215";
        QTest::newRow("negative length") << "length" << "-3" << tag(4, "7") << tag(4, "-3") << "0";
        QTest::newRow("userBpm") << "userBpm" << "120" << tag(5, "90") + n << tag(5, "120") + n << "120";
        QTest::newRow("title") << "title" << "Volare" << meta(3, "Old") + meta(1, "text")
                               << bytes({0, 0xFF, 3, 6}) + "Volare" + meta(1, "text") << "Volare";
        QTest::newRow("empty title") << "title" << "" << meta(3, "Old") + n << bytes({0, 0xFF, 3, 0}) + n << "";
        QTest::newRow("accented title") << "title" << QString::fromUtf8("Perché")
                                        << n << meta(3, utf8("Perch\xC3\xA9")) + n << QString::fromUtf8("Perché");
        QTest::newRow("marker") << "marker" << "Intro" << tag(6, bytes({0, 1}) + "Old") + tag(1, "Rock")
                                << bytes({0, 0xFF, 0x4B, 8, 6, 0, 3}) + "Intro" + tag(1, "Rock") << "Intro";
        QTest::newRow("key") << "key" << "C-" << meta(0x59, bytes({1, 0})) + n + meta(0x59, bytes({1, 0}))
                             << bytes({0, 0xFF, 0x59, 2, 0xFD, 1}) + n << "C-";
        // Only events with delta time 0 are the program's to replace.
        QTest::newRow("delayed tag kept") << "genre" << "Pop" << n + bytes({0x60, 0xFF, 0x4B, 2, 1, 'R'})
                                          << tag(1, "Pop") + n + bytes({0x60, 0xFF, 0x4B, 2, 1, 'R'}) << "Pop";
        QByteArray longGenre = bytes({0, 0xFF, 0x4B, 0x81, 0x00, 1}) + QByteArray(127, 'g');
        QTest::newRow("multi-byte length removed") << "genre" << "Pop" << longGenre + n + longGenre
                                                   << tag(1, "Pop") + n << "Pop";
        QByteArray longTitle = bytes({0, 0xFF, 3, 0x82, 0x00}) + QByteArray(256, 't');
        QTest::newRow("multi-byte title removed") << "title" << "T" << n + longTitle << meta(3, "T") + n << "T";
    }
    void setters()
    {
        QFETCH(QString, detail);
        QFETCH(QString, value);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QString, readBack);
        RawMidiFile m;
        QVERIFY(m.loadData(smf(1, {before, laterTrack()})));
        details()[detail].set(m, value);
        const QByteArray expected = smf(1, {after, laterTrack()});
        QCOMPARE(m.stream().toHex(' '), expected.toHex(' '));
        QCOMPARE(firstTrackLengthField(m.stream()), quint32(after.size() + endOfTrack().size()));
        QCOMPARE(details()[detail].get(m), readBack);

        // Reloading the written image gives the same result.
        RawMidiFile again;
        QVERIFY(again.loadData(m.stream()));
        QCOMPARE(details()[detail].get(again), readBack);
    }

    void getters_data()
    {
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("later");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("present");
        QTest::newRow("title trimmed") << "title" << meta(3, "  Hello  ") << QByteArray() << "Hello" << true;
        QTest::newRow("title cut at zero") << "title" << meta(3, QByteArray("Hi\0junk", 7)) << QByteArray() << "Hi" << true;
        QTest::newRow("title Latin-1") << "title" << meta(3, "Caff\xE8") << QByteArray() << QString::fromUtf8("Caffè") << true;
        QTest::newRow("title UTF-8") << "title" << meta(3, "Caff\xC3\xA8") << QByteArray() << QString::fromUtf8("Caffè") << true;
        QTest::newRow("title overlong UTF-8") << "title" << meta(3, "A\xC0\xAF") << QByteArray() << QString::fromLatin1("A\xC0\xAF") << true;
        QTest::newRow("no title") << "title" << notes() << QByteArray() << "" << false;
        QTest::newRow("length abc") << "length" << tag(4, "abc") << QByteArray() << "0" << true;
        QTest::newRow("length -3") << "length" << tag(4, "-3") << QByteArray() << "0" << true;
        QTest::newRow("no length") << "length" << tag(5, "120") << QByteArray() << "0" << false;
        QTest::newRow("genre in later track") << "genre" << notes() << tag(1, "Blues") << "Blues" << true;
        QTest::newRow("other tag type") << "genre" << tag(2, "A") << QByteArray() << "" << false;
        QTest::newRow("empty tag") << "artist" << tag(2, "") << QByteArray() << "" << true;
        QTest::newRow("zero-length 4B event has no type")
            << "genre" << bytes({0, 0xFF, 0x4B, 0, 1, 0xFF, 1, 1, 'x'}) << QByteArray() << "" << false;
        QTest::newRow("multi-byte length tag")
            << "author" << bytes({0, 0xFF, 0x4B, 0x81, 0x00, 3}) + QByteArray(127, 'a') << QByteArray()
            << QString(127, 'a') << true;
        QTest::newRow("marker length below 3 skipped")
            << "marker" << bytes({0, 0xFF, 0x4B, 2, 6, 0}) + tag(6, bytes({0, 9}) + "Solo") << QByteArray()
            << "Solo" << true;
        QTest::newRow("only a short marker") << "marker" << bytes({0, 0xFF, 0x4B, 1, 6}) << QByteArray() << "" << false;
    }
    void getters()
    {
        QFETCH(QString, detail);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, later);
        QFETCH(QString, value);
        QFETCH(bool, present);
        RawMidiFile m;
        QVERIFY(m.loadData(later.isNull() ? smf(0, {first}) : smf(1, {first, later})));
        QCOMPARE(details()[detail].get(m), value);
        QCOMPARE(details()[detail].has(m), present);
    }

    void makerTest_data()
    {
        QTest::addColumn<QByteArray>("track");
        QTest::addColumn<bool>("maker");
        QTest::newRow("lower case") << meta(2, "(c) velmorax") << true;
        QTest::newRow("other name") << meta(2, "Copyright Tavrel 2003") << true;
        QTest::newRow("someone else") << meta(2, "Copyright (C) Jim") << false;
        QTest::newRow("no notice") << meta(3, "Velmorax") << false;
        QTest::newRow("in a text event") << meta(1, "Tavrel") << false;
    }
    void makerTest()
    {
        QFETCH(QByteArray, track);
        QFETCH(bool, maker);
        RawMidiFile m;
        QVERIFY(m.loadData(smf(0, {track + notes()})));
        QCOMPARE(m.isTavrel(), maker);
    }

    void markers()
    {
        RawMidiFile m;
        const QByteArray neighbours = tag(3, "Author") + tag(1, "Genre") + notes();
        QVERIFY(m.loadData(smf(1, {tag(6, bytes({0, 1}) + "Old") + neighbours + tag(6, bytes({0, 2}) + "Older"),
                                   tag(6, bytes({0, 5}) + "Later")})));
        QCOMPARE(m.insertMarker("Intro", 1), 12);
        QCOMPARE(m.stream().mid(22, 12), bytes({0, 0xFF, 0x4B, 8, 6, 0, 1, 'I', 'n', 't', 'r', 'o'}));

        m.setMarkersList({Marker{"Intro", 1}, Marker{"Verse", 9}, Marker{"Big", 0x12345}});
        const QByteArray first = tag(6, bytes({0, 1}) + "Intro") + tag(6, bytes({0, 9}) + "Verse")
            + tag(6, bytes({0x23, 0x45}) + "Big") + neighbours;
        QCOMPARE(m.stream().toHex(' '), smf(1, {first, tag(6, bytes({0, 5}) + "Later")}).toHex(' '));
        const QList<Marker> expected = {{"Intro", 1}, {"Verse", 9}, {"Big", 0x2345}, {"Later", 5}};
        QCOMPARE(m.markersList(), expected);
        QCOMPARE(m.author(), QString("Author"));

        m.setMarkersList({});
        QCOMPARE(m.markersList(), (QList<Marker>{Marker{"Later", 5}}));
    }

    // Texts whose UTF-8 form would need a length byte of 0x80 or more are
    // shortened by whole characters.
    void longTexts_data()
    {
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxBytes");
        const QString accented = QString(125, QChar(0xE8));
        const QString notesEmoji = QString::fromUtf8("\xF0\x9F\x8E\xB5").repeated(70);
        QTest::newRow("125 accented title") << "title" << accented << 127;
        QTest::newRow("130 ASCII title") << "title" << QString(130, 'x') << 127;
        QTest::newRow("125 accented genre") << "genre" << accented << 126;
        QTest::newRow("euro artist") << "artist" << "a" + QString(124, QChar(0x20AC)) << 126;
        QTest::newRow("four-byte author") << "author" << notesEmoji << 126;
        QTest::newRow("125 ASCII marker") << "marker" << QString(125, 'm') << 124;
        QTest::newRow("four-byte title") << "title" << "ab" + notesEmoji << 127;
    }
    void longTexts()
    {
        QFETCH(QString, detail);
        QFETCH(QString, text);
        QFETCH(int, maxBytes);
        RawMidiFile m;
        QVERIFY(m.loadData(smf(0, {notes()})));
        details()[detail].set(m, text);
        const int t = m.stream().indexOf("MTrk") + 8;
        QVERIFY(quint8(m.stream()[t + 3]) < 0x80);
        const QString back = details()[detail].get(m);
        const QString cut = text.left(125);
        QVERIFY(cut.startsWith(back));
        QVERIFY(back.toUtf8().size() <= maxBytes);
        // Not shorter than needed: one more character would not fit.
        if (back.size() < cut.size()) {
            const int next = cut.at(back.size()).isHighSurrogate() ? 2 : 1;
            QVERIFY(cut.left(back.size() + next).toUtf8().size() > maxBytes);
        }
        QVERIFY(!back.contains(QChar(QChar::ReplacementCharacter)));
        QCOMPARE(firstTrackLengthField(m.stream()), quint32(firstTrackActualLength(m.stream())));
    }

    void nonAsciiSurvivesTenSaves()
    {
        const QString title = QString::fromUtf8("Perché è così"), artist = QString::fromUtf8("Müller & Ñandú");
        const QList<Marker> marks = {{QString::fromUtf8("Ritornello più"), 4}, {QString::fromUtf8("Coda €"), 30}};
        RawMidiFile m;
        QVERIFY(m.loadData(smf(0, {notes()})));
        m.setTitle(title);
        m.setArtist(artist);
        m.setMarkersList(marks);
        const QByteArray firstSave = m.stream();
        for (int i = 0; i < 10; ++i) {
            RawMidiFile r;
            QVERIFY(r.loadData(m.stream()));
            r.setTitle(r.title());
            r.setArtist(r.artist());
            r.setMarkersList(r.markersList());
            m = r;
        }
        QCOMPARE(m.title(), title);
        QCOMPARE(m.artist(), artist);
        QCOMPARE(m.markersList(), marks);
        QCOMPARE(m.stream(), firstSave);
    }

    // Damaged images: nothing is read outside the data and nothing hangs; a
    // damaged event reads as absent and is never removed.
    void damagedImages_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QByteArray>("tail"); // left in place by the setters
        const QByteArray head = "MThd" + be32(6) + bytes({0, 0, 0, 1, 0, 96});
        const QByteArray pastEnd = bytes({0, 0xFF, 3, 0x7F, 'a', 'b'});
        QTest::newRow("length past the end") << head + chunk(meta(3, "Ok") + pastEnd) << "Ok" << pastEnd;
        const QByteArray tagPastEnd = bytes({0, 0xFF, 0x4B, 0x7F, 1, 'a'});
        QTest::newRow("tag length past the end") << head + chunk(tagPastEnd) << "" << tagPastEnd;
        QTest::newRow("cut in a multi-byte length") << head + chunk(bytes({0, 0xFF, 0x4B, 0x81})) << ""
                                                    << bytes({0, 0xFF, 0x4B, 0x81});
        const QByteArray endless = bytes({0, 0xFF, 0x4B, 0x81, 0x82, 0x83, 0x84, 0x85, 0, 1});
        QTest::newRow("endless length") << head + chunk(endless) << "" << endless;
        QTest::newRow("pattern at the last bytes") << head + chunk(bytes({0, 0xFF})) << "" << bytes({0, 0xFF});
        QTest::newRow("key event cut") << head + chunk(bytes({0, 0xFF, 0x59, 0x02, 0xFD})) << ""
                                       << bytes({0, 0xFF, 0x59, 0x02, 0xFD});
        QTest::newRow("track length larger than the file")
            << head + "MTrk" + be32(0xFFFFFFF0u) + meta(3, "Big") + tag(1, "Rock") + tag(6, bytes({0, 2}) + "M")
            << "Big" << meta(3, "Big");
        QTest::newRow("track length smaller than its events")
            << head + "MTrk" + be32(2) + tag(1, "Rock") + meta(3, "T") << "T" << tag(1, "Rock") + meta(3, "T");
    }
    void damagedImages()
    {
        QFETCH(QByteArray, image);
        QFETCH(QString, title);
        QFETCH(QByteArray, tail);
        RawMidiFile m;
        QVERIFY(m.loadData(image));
        QCOMPARE(m.title(), title);
        const quint32 field = firstTrackLengthField(image);
        m.setGenre("Pop");
        m.setKey("D");
        m.setMarkersList({Marker{"A", 1}});
        QCOMPARE(m.genre(), QString("Pop"));
        QCOMPARE(m.key(), QString("D"));
        QCOMPARE(m.markersList().value(0), (Marker{"A", 1}));
        // The length field moved by exactly the bytes added or removed.
        QCOMPARE(firstTrackLengthField(m.stream()), quint32(field + quint32(m.stream().size() - image.size())));
        QVERIFY(m.stream().endsWith(tail));
    }

    // Every prefix of a full image and many randomly damaged copies, loaded
    // and edited: nothing hangs and the length field follows every edit.
    void prefixesAndMutations()
    {
        RawMidiFile full;
        QVERIFY(full.loadData(smf(1, {meta(2, "(c) Tavrel") + notes(), laterTrack()})));
        full.setTitle(QString::fromUtf8("Perché"));
        full.setGenre("Pop");
        full.setKey("Bb-");
        full.setLength(215);
        full.setMarkersList({{"Intro", 1}, {"Verse", 9}});
        const QByteArray image = full.stream();
        QList<QByteArray> variants;
        for (int n = 0; n <= image.size(); ++n)
            variants << image.left(n);
        QRandomGenerator random(20240611);
        for (int i = 0; i < 4000; ++i) {
            QByteArray v = image;
            const int flips = 1 + random.bounded(3);
            for (int k = 0; k < flips; ++k)
                v[random.bounded(22, v.size())] = char(random.bounded(256));
            variants << v;
        }
        // Damaged key events log warnings by design; keep the output readable.
        const QtMessageHandler old = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        const auto restore = qScopeGuard([old] { qInstallMessageHandler(old); });
        for (const QByteArray& v : qAsConst(variants)) {
            RawMidiFile m;
            if (!m.loadData(v))
                continue;
            m.title(); m.key(); m.genre(); m.artist(); m.author(); m.length(); m.userBpm();
            m.markersList(); m.isTavrel();
            const quint32 field = firstTrackLengthField(m.stream());
            const int size = m.stream().size();
            m.setArtist("A");
            m.setUserBpm(100);
            m.setTitle("T");
            m.setMarkersList({{"X", 2}});
            m.setKey("");
            QCOMPARE(firstTrackLengthField(m.stream()), quint32(field + quint32(m.stream().size() - size)));
            QCOMPARE(m.artist(), QString("A"));
            QCOMPARE(m.userBpm(), 100);
            QCOMPARE(m.markersList().value(0), (Marker{"X", 2}));
        }
    }

    void insertOutsideFirstTrack()
    {
        RawMidiFile m;
        const QByteArray image = smf(1, {notes(), notes()});
        QVERIFY(m.loadData(image));
        QCOMPARE(m.insertMetaevent("x", RawMidiFile::MetaGenre, image.size() + 1), 0);
        QCOMPARE(m.insertMetaevent("x", char(0x03), 10), 0);
        QCOMPARE(m.insertMetaevent("x", char(0x03), image.indexOf("MTrk", 20) + 4), 0);
        QCOMPARE(m.insertMetaevent(QByteArray(127, 'x'), RawMidiFile::MetaGenre, 22), 0);
        QCOMPARE(m.stream(), image);
        QCOMPARE(m.insertMetaevent(QByteArray(127, 'x'), char(0x03), 22), 131);
    }

    void realFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("copyright");
        QTest::newRow("5432gone") << "5432gone_redfarn.mid" << "5432Gone" << "G" << "Jim Redfarn";
        QTest::newRow("be sharp") << "be_sharp_bw_redfarn.mid" << "Be Sharp Boogie" << "C-" << "Copyright (C) Jim Redfarn";
        QTest::newRow("train") << "train_filled_with_cash.mid" << "Staff" << "" << QString::fromUtf8("Copyright © 2010 <Name>");
    }
    void realFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, title);
        QFETCH(QString, key);
        QFETCH(QString, copyright);
        const QByteArray image = readSample(file);
        QVERIFY(!image.isEmpty());
        RawMidiFile m;
        QVERIFY(m.loadData(image));
        QCOMPARE(m.fileType(), SongInfo::TypeMidi1);
        QCOMPARE(m.title(), title);
        QCOMPARE(m.key(), key);
        QString notice;
        QVERIFY(m.extractMetaevent(notice, char(0x02)) > 0);
        QCOMPARE(notice, copyright);
        QVERIFY(!m.isTavrel() && !m.hasGenre() && !m.hasMarkers());
    }

    // An independent reader accepts what the setters wrote, sees the same
    // music and the new details.
    void independentReader_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::newRow("format 0") << smf(0, {meta(3, "Old") + notes() + notes()});
        QTest::newRow("format 1") << smf(1, {tag(1, "Rock") + notes(), laterTrack()});
        for (const char* f : {"5432gone_redfarn.mid", "be_sharp_bw_redfarn.mid", "train_filled_with_cash.mid"})
            QTest::newRow(f) << readSample(f);
    }
    void independentReader()
    {
        QFETCH(QByteArray, image);
        const QString python = pythonWithMido();
        if (python.isEmpty())
            QSKIP("python3 with the mido module is not available");
        RawMidiFile m;
        QVERIFY(m.loadData(image));
        const QString title = QString::fromUtf8("Perché ") + QString(125, QChar(0x20AC));
        m.setTitle(title);
        m.setGenre(QString(130, 'g'));
        m.setArtist(QString::fromUtf8("Müller"));
        m.setAuthor("");
        m.setLength(215);
        m.setUserBpm(120);
        m.setKey("G#");
        m.setMarkersList({{"Intro", 1}, {QString(125, QChar(0xE8)), 9}});

        QString error;
        const QStringList before = midoRead(python, image, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QStringList after = midoRead(python, m.stream(), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        // Same format, tracks, channel messages and timing.
        QCOMPARE(after.filter(QRegularExpression("^(type|track) ")), before.filter(QRegularExpression("^(type|track) ")));
        const int firstTrackEnd = after.indexOf(QRegularExpression("track .*"), 2);
        const QStringList first = after.mid(0, firstTrackEnd < 0 ? after.size() : firstTrackEnd);
        QCOMPARE(first.filter(QRegularExpression("^name ")), QStringList{"name " + m.title().toUtf8().toHex()});
        QVERIFY(first.contains("key Ab"));
        QVERIFY(first.contains("tag " + QByteArray("\x04" "215").toHex()));
        QVERIFY(first.contains("tag " + QByteArray("\x06\x00\x01Intro", 8).toHex()));
        QCOMPARE(first.filter(QRegularExpression("^tag ")).size(), 7);
    }
};

QTEST_GUILESS_MAIN(TestRawMidiFile)
#include "tst_rawmidifile.moc"
