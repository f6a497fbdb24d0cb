#include "index/index.h"
#include "index/songdatareader.h"

#include "songimages.h"

#include <QtTest>

using namespace images;

class TestSongDataReader : public QObject
{
    Q_OBJECT
private slots:
    void readsSongFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("genre");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("bpm");
        QTest::addColumn<int>("markers");

        const QByteArray padding = id3Frame("PRIV", QByteArray(520, 'x'));
        QTest::newRow("mp3 tag") << "a.mp3" << mp3(id3Frame("TPE1", "Mina") + id3Frame("TIT2", "Grande grande")
                                                    + id3Frame("TCON", " pop "))
                                 << "GRANDE GRANDE" << "MINA" << "POP" << 1 << 0 << 0;
        QTest::newRow("mp3 without tag") << "Song One.Mp3" << QByteArray(700, '\x55')
                                         << "SONG ONE.MP3" << "<UNKNOWN>" << "<UNKNOWN>" << 1 << 0 << 0;
        QTest::newRow("mp3 title beyond byte 512") << "late.mp3" << mp3(padding + id3Frame("TIT2", "Late"))
                                                   << "LATE.MP3" << "<UNKNOWN>" << "<UNKNOWN>" << 1 << 0 << 0;
        QTest::newRow("mp3 empty frame") << "e.mp3" << mp3(QByteArray("TIT2\0\0\0\0\0\0", 10) + id3Frame("TPE1", "X"))
                                         << "" << "X" << "<UNKNOWN>" << 1 << 0 << 0;
        QTest::newRow("mp3 long title cut to 58 bytes") << "l.mp3" << mp3(id3Frame("TIT2", QByteArray(80, 'a')))
                                                        << QString(58, 'A') << "<UNKNOWN>" << "<UNKNOWN>" << 1 << 0 << 0;
        QTest::newRow("mp3 frame size past the data") << "p.mp3" << QByteArray("ID3\3\0\0\0\0\0\0TIT2\0\0\x10\0\0\0\0Abc", 24)
                                                      << "P.MP3" << "<UNKNOWN>" << "<UNKNOWN>" << 1 << 0 << 0;

        QTest::newRow("midi tags") << "t.mid" << midi(tempo(500000) + meta(0x03, "Volare") + tag(2, "Modugno")
                                                      + tag(1, "Pop") + meta(0x06, "Intro"))
                                   << "VOLARE" << "MODUGNO" << "POP" << 0 << 120 << 1;
        // The scan ends once title, artist, genre and markers are known.
        QTest::newRow("tempo after the last wanted event") << "l.mid"
            << midi(meta(0x06, "A") + meta(0x03, "T") + tag(2, "A") + tag(1, "G") + tempo(500000))
            << "T" << "A" << "G" << 0 << 0 << 1;
        QTest::newRow("tempo 300 bpm kept in 8 bits") << "f.mid" << midi(tempo(200000))
                                                      << "F.MID" << "<UNKNOWN>" << "<UNKNOWN>" << 0 << 44 << 0;
        QTest::newRow("tempo 0 leaves bpm 0") << "z.mid" << midi(tempo(0) + meta(0x03, "Zero"))
                                              << "ZERO" << "<UNKNOWN>" << "<UNKNOWN>" << 0 << 0 << 0;
        QTest::newRow("karaoke title") << "k.kar" << midi(meta(0x02, "(c) 1999") + meta(0x01, "@TMy Song")
                                                          + meta(0x01, "@LENG"))
                                       << "MY SONG" << "<UNKNOWN>" << "<UNKNOWN>" << 0 << 0 << 0;
        QTest::newRow("system-exclusive artist") << "s.mid" << midi(meta(0x03, "Azzurro") + sysexLine("(Paolo Conte)"))
                                                 << "AZZURRO" << "PAOLO CONTE" << "<UNKNOWN>" << 0 << 0 << 0;
        QTest::newRow("artist tag wins over system-exclusive") << "w.mid"
            << midi(sysexLine("(Other)") + tag(2, "Tagged")) << "W.MID" << "TAGGED" << "<UNKNOWN>" << 0 << 0 << 0;
        QTest::newRow("UTF-8 title") << "u.mid" << midi(meta(0x03, QString::fromUtf8("Citt\u00e0").toUtf8()))
                                     << QString::fromUtf8("CITT\u00c0") << "<UNKNOWN>" << "<UNKNOWN>" << 0 << 0 << 0;
        QTest::newRow("track name past the data") << "c.mid" << midi(meta(0x03, "Cut")).left(26)
                                                  << "C.MID" << "<UNKNOWN>" << "<UNKNOWN>" << 0 << 0 << 0;

        QTest::newRow("mfx") << "m.mf5" << mfx("_MF5", 96, "Caruso", true, "Dalla", "Pop")
                             << "CARUSO" << "DALLA" << "POP" << 4 << 96 << 1;
        QTest::newRow("mfx empty title") << "Empty.mf3" << mfx("_MF3", 100, "", false, "", "")
                                         << "EMPTY.MF3" << "<UNKNOWN>" << "<UNKNOWN>" << 2 << 100 << 0;
        QTest::newRow(".mid holding an MF4") << "song.mid" << mfx("_MF4", 120, "Vento", false, "X", "Y")
                                             << "VENTO" << "X" << "Y" << 3 << 120 << 0;
        QTest::newRow("mfx artist runs into genre") << "r.mf4" << mfx("_MF4", 0, "T", false, QByteArray(32, 'a'), "bc")
                                                    << "T" << QString(32, 'A') + "BC" << "BC" << 3 << 0 << 0;
        QTest::newRow("unknown content") << "x.mid" << QByteArray("RIFF....data")
                                         << "X.MID" << "<UNKNOWN>" << "<UNKNOWN>" << 0 << 120 << 0;
    }
    void readsSongFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        Memory memory;
        QVERIFY(memory.add("/" + name, content));
        SongInfoIndex entry;
        entry.absPath = memory.file("/" + name);
        Index index;
        QCOMPARE(index.setSongInfo(entry), 1);
        QTEST(entry.title, "title");
        QTEST(entry.artist, "artist");
        QTEST(entry.genre, "genre");
        QTEST(int(entry.type), "type");
        QTEST(int(entry.bpm), "bpm");
        QTEST(int(entry.hasMarkers), "markers");
    }

    void tooShortFileKeepsPresets()
    {
        Memory memory;
        QVERIFY(memory.add("/tiny.mid", "MThd"));
        SongInfoIndex entry;
        entry.absPath = memory.file("/tiny.mid");
        Index index;
        QCOMPARE(index.setSongInfo(entry), 0);
        QCOMPARE(entry.title, QString("tiny.mid"));
        QCOMPARE(entry.artist, QString("<unknown>"));
        QCOMPARE(int(entry.bpm), 0);
        entry.absPath = memory.file("/missing.mid");
        QCOMPARE(index.setSongInfo(entry), 0);
        QCOMPARE(entry.title, QString("missing.mid"));
    }

    // Every cut and every damaged byte of real images must parse without
    // reading outside the data (run under the sanitizer build).
    void anyBytesAreSafe()
    {
        const QList<QPair<QString, QByteArray>> samples{
            {"a.mp3", mp3(id3Frame("TIT2", "T") + id3Frame("TPE1", "A") + id3Frame("TCON", "G"))},
            {"a.mid", midi(meta(0x03, "T") + tag(2, "A") + tag(1, "G") + meta(0x06, "M") + tempo(400000)
                           + meta(0x01, "@TK") + sysexLine("(S)"))},
            {"a.mf4", mfx("_MF4", 1, "T", true, "A", "G")},
        };
        QRandomGenerator random(7);
        for (const auto &sample : samples) {
            for (int cut = 0; cut <= sample.second.size(); ++cut) {
                SongInfoIndex entry;
                SongDataReader::parse(sample.second.left(cut), sample.first, entry);
                QByteArray damaged = sample.second;
                for (int k = 0; k < 4; ++k)
                    damaged[int(random.bounded(damaged.size()))] = char(random.bounded(256));
                SongDataReader::parse(damaged.left(cut), sample.first, entry);
                QVERIFY(entry.title.size() <= 60 && entry.artist.size() <= 60);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSongDataReader)
#include "tst_songdatareader.moc"
