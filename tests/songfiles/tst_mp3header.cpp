#include "songfiles/mp3header.h"

#include <QtTest>

namespace {

QByteArray bytes(std::initializer_list<int> l)
{
    QByteArray b;
    for (int v : l)
        b.append(char(v));
    return b;
}

QByteArray size4(quint32 n, bool synchsafe)
{
    return synchsafe ? bytes({int(n >> 21) & 0x7F, int(n >> 14) & 0x7F, int(n >> 7) & 0x7F, int(n) & 0x7F})
                     : bytes({int(n >> 24) & 0xFF, int(n >> 16) & 0xFF, int(n >> 8) & 0xFF, int(n) & 0xFF});
}

// A raw frame; payload includes the encoding byte of text frames.
QByteArray frame(const char* id, const QByteArray& payload, bool synchsafe = false)
{
    return QByteArray(id) + size4(payload.size(), synchsafe) + QByteArray(2, '\0') + payload;
}

QByteArray text(const char* id, const QByteArray& s, bool synchsafe = false)
{
    return frame(id, QByteArray(1, '\0') + s, synchsafe);
}

QByteArray tagOf(int version, const QByteArray& body, int flags = 0)
{
    return QByteArray("ID3") + char(version) + char(0) + char(flags) + size4(body.size(), true) + body;
}

QByteArray audio()
{
    QByteArray a;
    for (int i = 0; i < 5; ++i)
        a += bytes({0xFF, 0xFB, 0x90, 0x64}) + QByteArray(413, char(i + 1));
    return a;
}

QString frameText(const Mp3Header& h, const char* id)
{
    QString t;
    h.extractId3Frame(t, id);
    return t;
}

// Runs the tagging tool with a Python that has mutagen (a user-level python3
// may lack the system's packages). Returns its exit code; 77: a tool is missing.
int runTool(const QStringList& args, QByteArray* out = nullptr)
{
    for (const char* exe : {"python3", "/usr/bin/python3"}) {
        QProcess p;
        p.start(exe, QStringList{ORVALO3_SOURCE_DIR "/tests/songfiles/data/mp3/id3tool.py"} + args);
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() == 77)
            continue;
        if (out)
            *out = p.readAllStandardOutput();
        if (p.exitCode() != 0)
            qWarning() << p.readAllStandardError();
        return p.exitCode();
    }
    return 77;
}

QVariantMap dump(const QString& path)
{
    QByteArray out;
    return runTool({"dump", path}, &out) == 0 ? QJsonDocument::fromJson(out).object().toVariantMap() : QVariantMap();
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}

class TestMp3Header : public QObject
{
    Q_OBJECT
private slots:
    void untaggedFileGetsNewTag()
    {
        Mp3Header h;
        QVERIFY(h.loadHeader(audio()));
        QCOMPARE(h.getAudioDataStartPos(), 0);
        QCOMPARE(h.fileType(), SongInfo::TypeMp3);
        h.setTitle("Song");
        QCOMPARE(h.stream(), QByteArray("ID3\x03\0\0\0\0\0\x0F" "TIT2\0\0\0\x05\0\0\0Song", 25));
        QCOMPARE(h.title(), QString("Song"));
    }

    void loading_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("tagLength");
        QTest::addColumn<int>("audioStart");
        const QByteArray h0201 = QByteArray("ID3\x03\0\0\0\0\x04\x01", 10);
        QTest::newRow("size 0x0201") << h0201 + QByteArray(0x201, '\0') + audio() << true << 523 << 523;
        QTest::newRow("size 0x0201, cut") << h0201 + QByteArray(0x200, '\0') << false << 0 << 0;
        QTest::newRow("top bit set") << QByteArray("ID3\x03\0\0\0\x80\0\0", 10) + audio() << true << 10 << 10;
        QTest::newRow("shorter than a header") << QByteArray("ID3\x03\0", 5) << false << 0 << 0;
        QByteArray big = tagOf(3, QByteArray(3000000, '\0'));
        QTest::newRow("3 MB tag") << big + audio() << true << big.size() << big.size();
        QByteArray withFooter = tagOf(4, text("TIT2", "A", true), 0x10);
        QByteArray footer = withFooter.left(10);
        footer.replace(0, 3, "3DI");
        QTest::newRow("v2.4 footer") << withFooter + footer + audio() << true << withFooter.size()
                                     << withFooter.size() + 10;
        // Stored private data "a" FF 00 E0 is unsynchronised FF E0; the title follows it.
        const QByteArray unsync = QByteArray("PRIV\0\0\0\x03\0\0a\xFF\0\xE0", 14) + text("TIT2", "Song");
        QTest::newRow("v2.3 unsynchronised") << tagOf(3, unsync, 0x80) + audio() << true << unsync.size() + 9
                                             << unsync.size() + 10;
    }

    void loading()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, ok);
        QFETCH(int, tagLength);
        QFETCH(int, audioStart);
        Mp3Header h;
        QCOMPARE(h.loadHeader(data), ok);
        if (!ok)
            return;
        QCOMPARE(h.stream().size(), tagLength);
        QCOMPARE(h.getAudioDataStartPos(), audioStart);
        h.setTitle("T");
        h.setTitle("Title");
        const QByteArray s = h.stream();
        QCOMPARE(h.getId3TagSize(s), s.size() - 10);
        QCOMPARE(h.title(), QString("Title"));
        QCOMPARE(s.count("TIT2"), 1);
        QCOMPARE(uchar(s[5]) & 0x90, 0); // neither footer nor unsynchronisation: none is written
    }

    void numbersAndRemovals()
    {
        Mp3Header h;
        QVERIFY(h.loadHeader(tagOf(3, text("TLEN", "1999") + text("TBPM", "96") + text("TIT2", "X"))));
        QCOMPARE(h.length(), 1);
        QCOMPARE(h.userBpm(), 96);
        h.setLength(2);
        QCOMPARE(frameText(h, "TLEN"), QString("2000"));
        QCOMPARE(h.length(), 2);
        const int before = h.stream().size();
        h.setUserBpm(0);
        h.setTitle(QString());
        QVERIFY(!h.hasUserBpm() && !h.hasTitle());
        QCOMPARE(h.stream().size(), before - 13 - 12);
        h.setLength(0);
        QVERIFY(!h.hasLength());
        QCOMPARE(h.stream().size(), 10);
        h.setTamselEditParam();
        QVERIFY(h.hasTamselEditParam());
        QCOMPARE(h.stream(), QByteArray("ID3\x03\0\0\0\0\0\x0E" "XEDT\0\0\0\x04\0\0\0\0\0\0", 24));
    }

    void makerAndTexts_data()
    {
        QTest::addColumn<QByteArray>("payload"); // TCOP content, encoding byte first
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("maker");
        QTest::newRow("lower case maker") << QByteArray("\0(c) tavrel music", 17) << "(c) tavrel music" << true;
        QTest::newRow("other publisher") << QByteArray("\0(C) VELMORAX", 13) << "(C) VELMORAX" << false;
        QTest::newRow("UTF-8 under 0") << QByteArray("\0Perch\xC3\xA9 Tavrel ", 16) << "Perché Tavrel" << true;
        QTest::newRow("Latin-1 under 0") << QByteArray("\0Perch\xE9", 7) << "Perché" << false;
        QTest::newRow("cut at zero") << QByteArray("\0Tav\0relX", 9) << "Tav" << false;
        QTest::newRow("UTF-16 LE BOM") << bytes({1, 0xFF, 0xFE, 'T', 0, 0xE8, 0, 0, 0, 'x', 0}) << "Tè" << false;
        QTest::newRow("UTF-16 BE BOM") << bytes({1, 0xFE, 0xFF, 0x67, 0x71, 0, 'A'}) << "東A" << false;
        QTest::newRow("UTF-16BE") << bytes({2, 0, 'T', 0, 'A', 0, 'V', 0, 'R', 0, 'E', 0, 'L'}) << "TAVREL" << true;
        QTest::newRow("UTF-8") << QByteArray("\x03\xC3\xA7" "a", 4) << "ça" << false;
        QTest::newRow("odd UTF-16 tail") << bytes({1, 0xFF, 0xFE, 'A', 0, 'B'}) << "A" << false;
        QTest::newRow("empty") << QByteArray() << "" << false;
    }

    void makerAndTexts()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QString, expected);
        QFETCH(bool, maker);
        Mp3Header h;
        QVERIFY(h.loadHeader(tagOf(4, frame("TCOP", payload, true)) + audio()));
        QCOMPARE(frameText(h, "TCOP"), expected);
        QCOMPARE(h.isTavrel(), maker);
    }

    // Frame sizes of 128 and more: synchsafe in v2.4, plain in v2.3 and in
    // v2.4 tags whose writer used plain sizes anyway.
    void longFrames_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("synchsafe");
        QTest::newRow("v2.3") << 3 << false;
        QTest::newRow("v2.4") << 4 << true;
        QTest::newRow("v2.4 with plain sizes") << 4 << false;
    }

    void longFrames()
    {
        QFETCH(int, version);
        QFETCH(bool, synchsafe);
        const QByteArray comm = frame("COMM", QByteArray("\0eng\0", 5) + QByteArray(300, 'c'), synchsafe);
        const QByteArray body = text("TIT2", QByteArray(200, 't'), synchsafe) + comm
            + text("TPE1", "Artist", synchsafe) + QByteArray(64, '\0');
        Mp3Header h;
        QVERIFY(h.loadHeader(tagOf(version, body) + audio()));
        QCOMPARE(h.title(), QString(200, 't'));
        QCOMPARE(h.artist(), QString("Artist"));
        QCOMPARE(h.getSingleFrameLength(10), 201);
        QCOMPARE(h.removeId3Frame("TIT2"), 211);
        h.setTitle(QString(150, 'n'));
        const QByteArray s = h.stream();
        QCOMPARE(s.mid(14, 4), size4(151, synchsafe));
        QCOMPARE(s.mid(10 + 161, comm.size()), comm);
        QCOMPARE(h.title(), QString(150, 'n'));
        QCOMPARE(h.artist(), QString("Artist"));
        QCOMPARE(h.getId3TagSize(s), s.size() - 10);
    }

    // Bytes inside a frame's data that look like a frame header are data.
    void idInsideDataIsNoFrame()
    {
        const QByteArray priv = frame("PRIV", "owner" + QByteArray(1, '\0') + text("TKEY", "Fake") + text("TIT2", "Fake"));
        Mp3Header h;
        QVERIFY(h.loadHeader(tagOf(3, priv + text("TIT2", "Real"))));
        QVERIFY(!h.hasKey());
        QCOMPARE(h.title(), QString("Real"));
        QCOMPARE(h.removeId3Frame("TKEY"), 0);
        QByteArray x("x");
        QCOMPARE(h.insertId3Frame(x, "TKEY", 22), 0); // inside the private frame
        h.setTitle("New");
        h.setKey("Am");
        const QByteArray s = h.stream();
        QCOMPARE(s.mid(s.size() - priv.size()), priv);
        QCOMPARE(h.key(), QString("Am"));
        QCOMPARE(h.title(), QString("New"));
    }

    void extendedHeader_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QByteArray>("ext");
        QTest::addColumn<bool>("editable");
        QTest::newRow("v2.3") << 3 << bytes({0, 0, 0, 6, 0, 0, 0, 0, 0, 0}) << true;
        QTest::newRow("v2.3 with CRC") << 3 << bytes({0, 0, 0, 10, 0x80, 0, 0, 0, 0, 0, 1, 2, 3, 4}) << true;
        QTest::newRow("v2.4") << 4 << bytes({0, 0, 0, 6, 1, 0}) << true;
        QTest::newRow("v2.4 beyond the tag") << 4 << bytes({0, 0, 0x7F, 0, 1, 0}) << false;
        QTest::newRow("v2.3 beyond the tag") << 3 << bytes({0x7F, 0, 0, 6, 0, 0}) << false;
    }

    void extendedHeader()
    {
        QFETCH(int, version);
        QFETCH(QByteArray, ext);
        QFETCH(bool, editable);
        const QByteArray original = tagOf(version, ext + text("TIT2", "Old", version == 4), 0x40);
        Mp3Header h;
        QVERIFY(h.loadHeader(original + audio()));
        QCOMPARE(h.title(), editable ? QString("Old") : QString());
        h.setTitle("New");
        h.setTamselEditParam();
        const QByteArray s = h.stream();
        if (!editable) { // a damaged tag is written back as it was
            QCOMPARE(s, original);
            return;
        }
        QCOMPARE(s.mid(10, ext.size()), ext);
        QCOMPARE(s.mid(10 + ext.size(), 4), QByteArray("XEDT"));
        QCOMPARE(h.title(), QString("New"));
        QCOMPARE(s.size(), original.size() + 14);
    }

    // Random damage: every lookup and edit stays inside the tag and ends
    // (run under AddressSanitizer to see reads outside), and the size field
    // always matches the image.
    void damagedTags()
    {
        const QByteArray base = tagOf(4, text("TIT2", QByteArray(130, 'a'), true) + frame("APIC", QByteArray(300, 'p'), true)
                                      + text("TPE1", "b", true) + text("TCOP", "tavrel", true) + QByteArray(20, '\0'));
        quint32 seed = 12345;
        auto next = [&seed]() { seed = seed * 1103515245u + 12345u; return (seed >> 8) & 0xFFFFFF; };
        for (int round = 0; round < 3000; ++round) {
            QByteArray d = base;
            for (int k = 0, n = 1 + next() % 6; k < n; ++k)
                d[int(next() % d.size())] = char(next());
            if (round % 5 == 0)
                d.truncate(10 + int(next() % (d.size() - 10)));
            d[3] = char(3 + round % 2);
            d.replace(6, 4, size4(d.size() - 10, true));
            Mp3Header h;
            QVERIFY(h.loadHeader(d));
            h.title();
            h.isTavrel();
            h.length();
            h.setArtist("Artist");
            h.setTitle(QString());
            h.setTamselEditParam();
            h.getSingleFrameLength(int(next() % d.size()));
            QByteArray c("x");
            h.insertId3Frame(c, "TKEY", int(next() % (d.size() + 20)) - 10);
            const QByteArray s = h.stream();
            QCOMPARE(h.getId3TagSize(s), s.size() - 10);
        }
    }

    void thirdParty_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        const QString longTitle = "Título" + QString(" lungo").repeated(40);
        QTest::newRow("v2.3, Latin-1") << "v23" << "Caffè";
        QTest::newRow("v2.4, long UTF-8 frames") << "v24" << longTitle;
        QTest::newRow("v2.3, UTF-16") << "v23-utf16" << "Ça ira — 東京";
        QTest::newRow("v2.4, UTF-16") << "v24-utf16" << "Ça ira — 東京";
        QTest::newRow("v2.3, picture first") << "v23-apic" << "Caffè";
        QTest::newRow("v2.4, picture first") << "v24-apic" << longTitle;
        QTest::newRow("v2.3, extended header") << "v23-ext" << "Caffè";
        QTest::newRow("v2.4, extended header") << "v24-ext" << longTitle;
        QTest::newRow("id3v2 tool") << "id3v2" << "Old Title";
    }

    void thirdParty()
    {
        QFETCH(QString, kind);
        QFETCH(QString, title);
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        const int made = runTool({"make", kind, path});
        if (made == 77)
            QSKIP("python3-mutagen or id3v2 is not installed");
        QCOMPARE(made, 0);
        const QByteArray file = readAll(path);
        const QVariantMap before = dump(path);
        QVERIFY(!before.isEmpty());

        Mp3Header h;
        QVERIFY(h.loadHeader(file));
        QCOMPARE(h.title(), title);
        QCOMPARE(h.artist(), QString("Old Artist"));
        QCOMPARE(h.author(), QString("Old Author"));
        QVERIFY(h.isTavrel());
        QCOMPARE(file.mid(h.getAudioDataStartPos()), audio());
        if (kind != "id3v2") {
            QCOMPARE(h.genre(), QString("Pop"));
            QCOMPARE(h.length(), 183);
            QVERIFY(!h.hasKey()); // only inside the private frame's data
        }

        h.setTitle("Nuovo titolo è");
        h.setArtist(QString());
        h.setKey("Am");
        h.setLength(200);
        h.setUserBpm(120);
        h.setTamselEditParam();
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(h.stream() + file.mid(h.getAudioDataStartPos()));
        }
        const QVariantMap after = dump(path);
        QVERIFY2(!after.isEmpty(), "mutagen could not read the edited tag");
        QVariantMap expected = before["frames"].toMap();
        expected.remove("TPE1");
        // Written as UTF-8 under encoding 0, which other programs read as Latin-1.
        expected["TIT2"] = QVariantList{QVariantList{QString::fromLatin1(QString("Nuovo titolo è").toUtf8())}};
        expected["TKEY"] = QVariantList{QVariantList{"Am"}};
        expected["TLEN"] = QVariantList{QVariantList{"200000"}};
        expected["TBPM"] = QVariantList{QVariantList{"120"}};
        const QVariantMap frames = after["frames"].toMap();
        QCOMPARE(frames.keys(), expected.keys());
        for (const QString& id : expected.keys())
            QVERIFY2(frames[id] == expected[id], qPrintable(id));
        const QStringList unknown = after["unknown"].toStringList();
        QCOMPARE(unknown.size(), 1);
        QVERIFY(unknown[0].startsWith(QByteArray("XEDT").toHex()));

        Mp3Header again;
        QVERIFY(again.loadHeader(readAll(path)));
        QCOMPARE(again.title(), QString("Nuovo titolo è"));
        QCOMPARE(again.author(), QString("Old Author"));
        QVERIFY(again.hasTamselEditParam() && !again.hasArtist());
        QCOMPARE(readAll(path).mid(again.getAudioDataStartPos()), audio());
    }
};

QTEST_GUILESS_MAIN(TestMp3Header)
#include "tst_mp3header.moc"
