#include "database/usersongsreltablemodel.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

SongInfo song(int n)
{
    SongInfo s;
    s.format = "MIDI";
    s.title = QString("SONG %1").arg(n);
    s.artist = "ARTIST";
    s.genre = "JAZZ";
    s.author = "AUTHOR";
    s.length = 185;
    s.userBpm = 120;
    s.key = "A -";
    s.filename = QString("/media/songs/S%1.mid").arg(n);
    s.shortname = QString("S%1.mid").arg(n);
    return s;
}

} // namespace

class TestUserSongsRelTableModel : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir workDir;
    QString oldCwd;
    Database* db = nullptr;

    // The stored row, read straight from the table.
    QVariantList storedRow(int id)
    {
        QSqlQuery q(*db->userLibraryDb());
        q.prepare("select * from usersongs where id = ?");
        q.addBindValue(id);
        QVariantList values;
        if (q.exec() && q.next())
            for (int i = 0; i < 12; ++i)
                values << q.value(i);
        return values;
    }

    int lastId()
    {
        QSqlQuery q(*db->userLibraryDb());
        return q.exec("select max(id) from usersongs") && q.next() ? q.value(0).toInt() : -1;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(workDir.isValid());
        oldCwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(workDir.path()));
        db = new Database;
        QVERIFY(db->init());
    }

    void cleanupTestCase()
    {
        delete db;
        QDir::setCurrent(oldCwd);
    }

    void init() { QVERIFY(db->clearUserLibraryDb()); }

    void addSongStoresEveryField()
    {
        UserSongsRelTableModel model(nullptr, *db->userLibraryDb());
        model.select();
        SongInfo s = song(1);
        s.altArtist = "NOT STORED";
        QVERIFY(model.addSong(s));
        const QVariantList row = storedRow(lastId());
        QCOMPARE(row.size(), 12);
        QCOMPARE(row.mid(1, 10), (QVariantList{"MIDI", "SONG 1", "ARTIST", "JAZZ", "AUTHOR",
                                               "03:05", 120, "A -", "/media/songs/S1.mid",
                                               "S1.mid"}));
        QCOMPARE(row.at(11).toInt(), int(Database::StatusNone));
        QCOMPARE(model.colIdxFilename(), 9);
        QCOMPARE(model.colIdxStatus(), 11);
    }

    void lengthText_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("negative") << -1 << "";
        QTest::newRow("zero") << 0 << "00:00";
        QTest::newRow("59") << 59 << "00:59";
        QTest::newRow("185") << 185 << "03:05";
        QTest::newRow("3600") << 3600 << "60:00";
        QTest::newRow("6005") << 6005 << "100:05";
    }

    void lengthText()
    {
        QFETCH(int, seconds);
        QFETCH(QString, text);
        UserSongsRelTableModel model(nullptr, *db->userLibraryDb());
        model.select();
        SongInfo s = song(1);
        s.length = seconds;
        QVERIFY(model.addSong(s));
        const int id = lastId();
        QCOMPARE(storedRow(id).at(6).toString(), text);

        // updateRow writes the same text over a different one.
        s.length = 1;
        model.updateRow(0, s);
        QCOMPARE(storedRow(id).at(6).toString(), QString("00:01"));
        s.length = seconds;
        model.updateRow(0, s);
        QCOMPARE(storedRow(id).at(6).toString(), text);
    }

    void tempoAddedAgainstUpdated_data()
    {
        QTest::addColumn<int>("bpm");
        QTest::addColumn<int>("added");
        QTest::addColumn<int>("updated");
        QTest::newRow("negative") << -1 << -1 << 0;
        QTest::newRow("zero") << 0 << 0 << 0;
        QTest::newRow("positive") << 96 << 96 << 96;
    }

    void tempoAddedAgainstUpdated()
    {
        QFETCH(int, bpm);
        QFETCH(int, added);
        QFETCH(int, updated);
        UserSongsRelTableModel model(nullptr, *db->userLibraryDb());
        model.select();
        SongInfo s = song(1);
        s.userBpm = bpm;
        QVERIFY(model.addSong(s));
        const int id = lastId();
        QCOMPARE(storedRow(id).at(7).toInt(), added);
        s.userBpm = 250;
        model.updateRow(0, s);
        s.userBpm = bpm;
        model.updateRow(0, s);
        QCOMPARE(storedRow(id).at(7).toInt(), updated);
    }

    void updateRowLeavesFileColumnsAndStatus()
    {
        UserSongsRelTableModel model(nullptr, *db->userLibraryDb());
        model.select();
        QVERIFY(model.addSong(song(1)));
        QVERIFY(model.addSong(song(2)));
        model.setStatus(1, Database::StatusUpdated);

        SongInfo other = song(9);
        other.format = "MP3";
        other.title = "NEW TITLE";
        other.artist = "NEW ARTIST";
        other.genre = "BLUES";
        other.author = "NEW AUTHOR";
        other.length = 61;
        other.userBpm = 77;
        other.key = "Bb";
        model.updateRow(1, other);

        const QVariantList row = storedRow(lastId());
        QCOMPARE(row.mid(1, 11), (QVariantList{"MIDI", "NEW TITLE", "NEW ARTIST", "BLUES",
                                               "NEW AUTHOR", "01:01", 77, "Bb",
                                               "/media/songs/S2.mid", "S2.mid", 1}));
        QCOMPARE(storedRow(lastId() - 1).at(2).toString(), QString("SONG 1"));  // row 0 untouched
        QCOMPARE(model.status(1), int(Database::StatusUpdated));
        QCOMPARE(model.status(0), int(Database::StatusNone));
    }

    void largeLibraryBeforeAnyScroll()
    {
        {
            UserSongsRelTableModel filler(nullptr, *db->userLibraryDb());
            filler.select();
            for (int i = 0; i < 300; ++i)
                QVERIFY(filler.addSong(song(i)));
        }
        UserSongsRelTableModel model(nullptr, *db->userLibraryDb());
        QVERIFY(model.select());
        QVERIFY(model.rowCount() < 300);  // the base fetches one block only
        QCOMPARE(model.goodRowCount(), 300);

        UserSongsRelTableModel fresh(nullptr, *db->userLibraryDb());
        QVERIFY(fresh.select());
        QCOMPARE(fresh.fileName(299), QString("/media/songs/S299.mid"));
        QCOMPARE(fresh.shortName(299), QString("S299.mid"));

        UserSongsRelTableModel third(nullptr, *db->userLibraryDb());
        QVERIFY(third.select());
        third.setStatus(299, Database::StatusNotUpdated);
        QCOMPARE(storedRow(lastId()).at(11).toInt(), int(Database::StatusNotUpdated));
        QCOMPARE(third.status(299), int(Database::StatusNotUpdated));
        QCOMPARE(third.rowIndex(299).row(), 299);
        QCOMPARE(third.rowIndex(299).column(), 0);

        // Outside the table: empty results, nothing written.
        QCOMPARE(third.fileName(300), QString());
        QCOMPARE(third.shortName(-1), QString());
        QCOMPARE(third.status(300), 0);
        QVERIFY(!third.rowIndex(300).isValid());
        third.setStatus(300, Database::StatusManual);
        QCOMPARE(third.goodRowCount(), 300);
    }

    void headerLabels_data()
    {
        QTest::addColumn<QString>("translation");
        QTest::addColumn<QStringList>("headers");
        QTest::newRow("source") << ""
            << QStringList{"Num", "Formato", "Titolo", "Artista", "Genere", "Autore", "Durata",
                           "Bpm", "Tonalita'", "", "Nome file", ""};
        QTest::newRow("italian") << "database_it.qm"
            << QStringList{"Num", "Formato", "Titolo", "Artista", "Genere", "Autore", "Durata",
                           "Bpm", QString::fromUtf8("Tonalit\u00e0"), "", "Nome file", ""};
        QTest::newRow("english") << "database_en.qm"
            << QStringList{"Num", "Format", "Title", "Artist", "Genre", "Author", "Length",
                           "Bpm", "Key", "", "File name", ""};
    }

    void headerLabels()
    {
        QFETCH(QString, translation);
        QFETCH(QStringList, headers);
        QTranslator translator;
        if (!translation.isEmpty()) {
            QVERIFY(translator.load(QDir(DATABASE_QM_DIR).filePath(translation)));
            QVERIFY(QCoreApplication::installTranslator(&translator));
        }
        UserSongsRelTableModel model(nullptr, *db->userLibraryDb());
        model.select();
        model.setHeaderLabels();
        QStringList shown;
        for (int c = 0; c < model.columnCount(); ++c)
            shown << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        if (!translation.isEmpty())
            QCoreApplication::removeTranslator(&translator);
        QCOMPARE(shown, headers);
    }
};

QTEST_GUILESS_MAIN(TestUserSongsRelTableModel)
#include "tst_usersongsreltablemodel.moc"
