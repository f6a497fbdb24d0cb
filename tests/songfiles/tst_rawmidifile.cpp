// The song record and the MIDI file: details, markers, key signatures and
// damaged images, checked on byte images and real files.
#include "songfiles/rawmidifile.h"
#include "tst_metasong_helpers.h"

#include <QtTest>


using namespace SongBytes;

namespace {

void set(RawMidiFile& m, const QString& detail, const QString& v)
{
    if (detail == "title")
        m.setTitle(v);
    else if (detail == "genre")
        m.setGenre(v);
    else if (detail == "artist")
        m.setArtist(v);
    else if (detail == "author")
        m.setAuthor(v);
    else if (detail == "length")
        m.setLength(v.toInt());
    else if (detail == "userBpm")
        m.setUserBpm(v.toInt());
    else if (detail == "key")
        m.setKey(v);
    else if (detail == "marker")
        m.setMarkersList({Marker{v, 3}});
}

// The detail as text; "" when absent, which its presence test must agree with.
QString get(const RawMidiFile& m, const QString& detail)
{
    const QMap<QString, QPair<QString, bool>> all = {{"title", {m.title(), m.hasTitle()}},
        {"genre", {m.genre(), m.hasGenre()}}, {"artist", {m.artist(), m.hasArtist()}},
        {"author", {m.author(), m.hasAuthor()}}, {"key", {m.key(), m.hasKey()}},
        {"length", {QString::number(m.length()), m.hasLength()}},
        {"userBpm", {QString::number(m.userBpm()), m.hasUserBpm()}},
        {"marker", {m.markersList().value(0).text, m.hasMarkers()}}, {"maker", {"yes", m.isTavrel()}}};
    const QPair<QString, bool> d = all.value(detail);
    return d.second ? d.first : QString("");
}

// A later track carrying every kind of event the setters touch.
QByteArray laterTrack()
{
    return meta(0x03, "Piano") + tag(1, "Jazz") + tag(2, "Band") + tag(3, "Writer") + tag(4, "99")
        + tag(5, "60") + tag(6, bytes({0, 7}) + "Coda") + meta(0x59, bytes({0x02, 0x00})) + notes();
}

QByteArray keyEvent(int sf, int mi) { return meta(0x59, bytes({sf, mi})); }

// The key names in the order offered to the user: around the circle of
// fifths, major then minor, sf 0 to 7 then -7 to -1.
const QStringList keyNames = QString("C A- G E- D B- A F#- E C#- B G#- F# D#- C# A#- "
                                     "Cb Ab- Gb Eb- Db Bb- Ab F- Eb C- Bb G- F D-").split(' ');

} // namespace

class TestRawMidiFile : public QObject
{
    Q_OBJECT
private slots:
    void loadData_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("fileType"); // 0: refused
        QTest::newRow("format 0") << smf(0, {notes()}) << int(SongInfo::TypeMidi0);
        QTest::newRow("format 1") << smf(1, {notes(), notes()}) << int(SongInfo::TypeMidi1);
        QTest::newRow("format 2") << smf(2, {notes()}) << 0;
        QTest::newRow("MTrk first") << chunk(notes()) + smf(0, {notes()}).left(14) << 0;
        QTest::newRow("no MTrk") << smf(0, {}) << 0;
        QTest::newRow("length field cut") << smf(0, {}) + "MTrk" + bytes({0, 0}) << 0;
        QTest::newRow("empty first track") << smf(0, {}) + "MTrk" + be32(0) << int(SongInfo::TypeMidi0);
    }
    void loadData()
    {
        QFETCH(QByteArray, image);
        QFETCH(int, fileType);
        RawMidiFile m;
        QCOMPARE(m.loadData(image), fileType != 0);
        QCOMPARE(int(m.fileType()), fileType);
        // A refused image is never edited.
        m.setTitle("X");
        m.setMarkersList({Marker{"Intro", 1}});
        QCOMPARE(m.stream().isEmpty(), fileType == 0);
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
        QTest::newRow("length") << "length" << "215" << n << bytes({0, 0xFF, 0x4B, 4, 4}) + "215" + n << "215";
        QTest::newRow("userBpm") << "userBpm" << "120" << tag(5, "90") + n << tag(5, "120") + n << "120";
        QTest::newRow("title") << "title" << "Volare" << meta(3, "Old") + meta(1, "text")
                               << bytes({0, 0xFF, 3, 6}) + "Volare" + meta(1, "text") << "Volare";
        QTest::newRow("accented title") << "title" << QString::fromUtf8("Perché")
                                        << n << meta(3, "Perch\xC3\xA9") + n << QString::fromUtf8("Perché");
        QTest::newRow("marker") << "marker" << "Intro" << tag(6, bytes({0, 1}) + "Old") + tag(1, "Rock")
                                << bytes({0, 0xFF, 0x4B, 8, 6, 0, 3}) + "Intro" + tag(1, "Rock") << "Intro";
        QTest::newRow("accented marker") << "marker" << QString::fromUtf8("Più") << n
                                         << tag(6, bytes({0, 3}) + "Pi\xC3\xB9") + n << QString::fromUtf8("Più");
        QTest::newRow("key") << "key" << "C-" << keyEvent(1, 0) + n + keyEvent(1, 0) << bytes({0, 0xFF, 0x59, 2, 0xFD, 1}) + n << "C-";
        // Only events with delta time 0 are the program's to replace.
        QTest::newRow("delayed tag kept") << "genre" << "Pop" << n + bytes({0x60, 0xFF, 0x4B, 2, 1, 'R'})
                                          << tag(1, "Pop") + n + bytes({0x60, 0xFF, 0x4B, 2, 1, 'R'}) << "Pop";
        const QByteArray longGenre = bytes({0, 0xFF, 0x4B, 0x81, 0x00, 1}) + QByteArray(127, 'g');
        QTest::newRow("multi-byte length removed") << "genre" << "Pop" << longGenre + n + longGenre << tag(1, "Pop") + n << "Pop";
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
        set(m, detail, value);
        QCOMPARE(m.stream().toHex(' '), smf(1, {after, laterTrack()}).toHex(' '));
        QCOMPARE(firstTrackLengthField(m.stream()), quint32(after.size() + 4));
        // Read back and written again ten times, the bytes stay the same.
        for (int i = 0; i < 10; ++i) {
            RawMidiFile again;
            QVERIFY(again.loadData(m.stream()));
            QCOMPARE(get(again, detail), readBack);
            set(again, detail, readBack);
            QCOMPARE(again.stream(), m.stream());
        }
    }

    void getters_data()
    {
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QString>("value"); // empty: absent
        QTest::newRow("title trimmed, cut at zero") << "title" << smf(0, {meta(3, QByteArray("  Hi \0junk", 10))}) << "Hi";
        QTest::newRow("title Latin-1") << "title" << smf(0, {meta(3, "Caff\xE8")}) << QString::fromUtf8("Caffè");
        QTest::newRow("genre in later track") << "genre" << smf(1, {notes(), tag(1, "Blues")}) << "Blues";
        QTest::newRow("multi-byte length tag")
            << "author" << smf(0, {bytes({0, 0xFF, 0x4B, 0x81, 0x00, 3}) + QByteArray(127, 'a')}) << QString(127, 'a');
        QTest::newRow("marker length below 3 skipped")
            << "marker" << smf(0, {bytes({0, 0xFF, 0x4B, 2, 6, 0}) + tag(6, bytes({0, 9}) + "Solo")}) << "Solo";
        QTest::newRow("maker, lower case") << "maker" << smf(0, {meta(2, "(c) velmorax")}) << "yes";
        QTest::newRow("someone else") << "maker" << smf(0, {meta(2, "Copyright (C) Jim")}) << "";
        QTest::newRow("maker in a text event") << "maker" << smf(0, {meta(1, "Tavrel")}) << "";
    }
    void getters()
    {
        QFETCH(QString, detail);
        QFETCH(QByteArray, image);
        QFETCH(QString, value);
        RawMidiFile m;
        QVERIFY(m.loadData(image));
        QCOMPARE(get(m, detail), value);
    }

    // Texts needing a length byte of 0x80 or more are shortened by whole characters.
    void longTexts_data()
    {
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxBytes");
        const QString accented = QString(125, QChar(0xE8));
        QTest::newRow("125 accented title") << "title" << accented << 127;
        QTest::newRow("four-byte author") << "author" << QString::fromUtf8("\xF0\x9F\x8E\xB5").repeated(70) << 126;
        QTest::newRow("125 ASCII marker") << "marker" << QString(125, 'm') << 124;
    }
    void longTexts()
    {
        QFETCH(QString, detail);
        QFETCH(QString, text);
        QFETCH(int, maxBytes);
        RawMidiFile m;
        QVERIFY(m.loadData(smf(0, {notes()})));
        set(m, detail, text);
        QVERIFY(quint8(m.stream()[22 + 3]) < 0x80);
        QCOMPARE(firstTrackLengthField(m.stream()), quint32(m.stream().size() - 22));
        const QString back = get(m, detail), cut = text.left(125);
        QVERIFY(cut.startsWith(back));
        QVERIFY(back.toUtf8().size() <= maxBytes);
    }

    // Damaged images and every prefix of a full one, loaded and edited: nothing hangs or
    // reads outside the data, and the length field follows every edit.
    void damagedImages()
    {
        RawMidiFile full;
        QVERIFY(full.loadData(smf(1, {meta(2, "(c) Tavrel") + notes(), laterTrack()})));
        full.setTitle(QString::fromUtf8("Perché"));
        full.setKey("Bb-");
        full.setMarkersList({{"Intro", 1}, {"Verse", 9}});
        const QByteArray head = "MThd" + be32(6) + bytes({0, 0, 0, 1, 0, 96});
        QList<QByteArray> images = {
            head + chunk(meta(3, "Ok") + bytes({0, 0xFF, 3, 0x7F, 'a', 'b'})), // length past the end
            head + chunk(bytes({0, 0xFF, 0x4B, 0x81, 0x82, 0x83, 0x84, 0x85, 0, 1})), // endless length
            head + "MTrk" + be32(2) + tag(1, "Rock") + meta(3, "T"), // length field smaller than the events
        };
        for (int n = 22; n < full.stream().size(); ++n)
            images << full.stream().left(n);
        for (int i = 0; i < images.size(); ++i) {
            const QByteArray& image = images[i];
            RawMidiFile m;
            QVERIFY(m.loadData(image));
            m.title();
            m.isTavrel();
            m.setGenre("Pop");
            m.setKey("D");
            m.setMarkersList({Marker{"A", 1}});
            QCOMPARE(m.genre() + m.key() + m.markersList().value(0).text, QString("PopDA"));
            QCOMPARE(firstTrackLengthField(m.stream()) - firstTrackLengthField(image), quint32(m.stream().size() - image.size()));
            QVERIFY(i >= 3 || m.stream().endsWith(image.right(2)));
        }
    }

    // Every name gives its exact event (replacing the first track's key events
    // only) and reads back, aliases in their usual spelling. An unknown key in
    // a file reads as none, with a warning; an unknown name written removes
    // the key events, with a warning.
    void keys_data()
    {
        QTest::addColumn<QByteArray>("inFile");
        QTest::addColumn<QString>("written"); // null: nothing written
        QTest::addColumn<QByteArray>("event");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("warning");
        for (int i = 0; i < keyNames.size(); ++i)
            QTest::newRow(qPrintable(keyNames[i])) << keyEvent(1, 0) << keyNames[i]
                << keyEvent(i < 16 ? i / 2 : 0xF9 + (i - 16) / 2, i % 2) << keyNames[i] << "";
        QTest::newRow("alias G#") << keyEvent(1, 0) << "G#" << keyEvent(0xFC, 0) << "Ab" << "";
        QTest::newRow("alias D#, spaces") << keyEvent(1, 0) << " D # " << keyEvent(0xFD, 0) << "Eb" << "";
        QTest::newRow("empty name, later track kept") << keyEvent(1, 0) << "" << QByteArray() << "F#-" << "";
        QTest::newRow("lower case name") << keyEvent(1, 0) << "a -" << QByteArray() << "F#-"
            << "[RawMidiFile::setKey] WARNING: unknown key: \"a-\" . Metaevent not added !!!";
        QTest::newRow("eight sharps in the file") << keyEvent(0x08, 0x00) << QString() << QByteArray() << ""
            << "[RawMidiFile::extractKey] WARNING: unknown key metaevent \"[sf=08|mi=00]\" in MIDI file.";
    }
    void keys()
    {
        QFETCH(QByteArray, inFile);
        QFETCH(QString, written);
        QFETCH(QByteArray, event);
        QFETCH(QString, read);
        QFETCH(QString, warning);
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, qPrintable(warning));
        RawMidiFile m;
        QCOMPARE(m.getKeysList(), keyNames);
        QVERIFY(m.loadData(smf(1, {inFile + notes() + keyEvent(2, 0), keyEvent(3, 1)})));
        if (!written.isNull()) {
            m.setKey(written);
            QCOMPARE(m.stream().toHex(' '), smf(1, {event + notes(), keyEvent(3, 1)}).toHex(' '));
        }
        QCOMPARE(m.key(), read);
    }

    // The dump every import writes to the log, line by line.
    void dump()
    {
        SongInfo s;
        s.format = "MIDI";
        s.title = "Volare";
        s.mfxFlags = qint8(0xB9);
        s.markers << Marker{"Chorus 1", 5};
        LogCapture log;
        s.dbgDump();
        QCOMPARE(log.lines(), QStringList({"Dump Info song ----------------------------------------------",
            "Format     : \"MIDI\"", "Filename   : \"\"", "Shortname  : \"\"", "Is Tavrel  : false",
            "Title      : \"Volare\"", "Artist     : \"\"", "AltArtist  : \"\"", "Genre      : \"\"",
            "Author     : \"\"", "Length     : 0", "userBpm    : 0", "Key        : \"\"", "Markers:",
            "  bar: 5   text: \"Chorus 1\"", "MfxLongName: \"\"", "MfxFlags   : \"0xb9\"",
            "Dump END ----------------------------------------------------"}));
    }
};

QTEST_GUILESS_MAIN(TestRawMidiFile)
#include "tst_rawmidifile.moc"
