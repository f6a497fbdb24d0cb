#include "index/songinfoindex.h"

#include <QtTest>

#include <algorithm>

namespace {
SongInfoIndex song(const QString &path, const QString &title = QString(), const QString &artist = QString(),
                   const QString &genre = QString())
{
    SongInfoIndex s;
    s.path = path;
    s.title = title;
    s.artist = artist;
    s.genre = genre;
    return s;
}
}

class TestSongInfoIndex : public QObject
{
    Q_OBJECT
private slots:
    void pathOrder_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("aFirst");
        QTest::addColumn<bool>("bFirst");
        QTest::newRow("case only") << "/a/Song.mid" << "/A/SONG.MID" << false << false;
        QTest::newRow("prefix first") << "/AB" << "/ABC" << true << false;
        QTest::newRow("underscore after Z") << "/A_" << "/AZ" << false << true;
        QTest::newRow("lower case sorts as upper") << "/a_" << "/AZ" << false << true;
        QTest::newRow("Latin-1 byte order") << "/\u00e8" << "/Z" << false << true;
        QTest::newRow("outside Latin-1 is ?") << "/\u4e2d" << "/?" << false << false;
    }
    void pathOrder()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, aFirst);
        QFETCH(bool, bFirst);
        QCOMPARE(compareByPath(song(a), song(b)), aFirst);
        QCOMPARE(compareByPath(song(b), song(a)), bFirst);
    }

    void insertionByPath()
    {
        QList<SongInfoIndex> songs;
        QVERIFY(insertByPath(songs, song("/b.mid")) >= 0);
        QVERIFY(insertByPath(songs, song("/a/Song.mid")) >= 0);
        QCOMPARE(insertByPath(songs, song("/A/SONG.MID")), -1);   // same path for the player
        QCOMPARE(insertByPath(songs, song("/B.MID")), -1);
        QVERIFY(insertByPath(songs, song("/c.mid")) >= 0);
        QVERIFY(insertByPath(songs, song("/A.mid")) >= 0);
        QStringList paths;
        for (const SongInfoIndex &s : songs)
            paths << s.path;
        QCOMPARE(paths, QStringList({"/A.mid", "/a/Song.mid", "/b.mid", "/c.mid"}));
    }

    void sortByPathAgreesWithTheOrdering()
    {
        QList<SongInfoIndex> songs;
        for (const char *path : {"/b", "/A_", "/a/x", "/AZ", "/\u00e8", "/ABC", "/AB", "/a/X", "/0"})
            songs << song(path);
        sortByPath(songs);
        QVERIFY(std::is_sorted(songs.begin(), songs.end(), compareByPath));
        QCOMPARE(songs.size(), 9);
        QCOMPARE(songs.first().path, QString("/0"));
        QCOMPARE(songs.last().path, QString("/\u00e8"));
    }

    void listOrders_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("titles");
        // Songs: (title, artist, genre)
        QTest::newRow("title") << 0 << QStringList({"alpha", "Beta", "delta", "GAMMA"});
        QTest::newRow("artist, title within") << 1 << QStringList({"Beta", "GAMMA", "alpha", "delta"});
        QTest::newRow("genre, empty genres by title") << 2 << QStringList({"alpha", "GAMMA", "Beta", "delta"});
        QTest::newRow("unknown mode sorts by title") << 5 << QStringList({"alpha", "Beta", "delta", "GAMMA"});
    }
    void listOrders()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, titles);
        QList<SongInfoIndex> songs{song("/1", "delta", "zed", "rock"), song("/2", "GAMMA", "abba", ""),
                                   song("/3", "alpha", "ZED", ""), song("/4", "Beta", "ABBA", "pop")};
        std::sort(songs.begin(), songs.end(), compareForSortMode(mode));
        QStringList sorted;
        for (const SongInfoIndex &s : songs)
            sorted << s.title;
        QCOMPARE(sorted, titles);
    }
};

QTEST_GUILESS_MAIN(TestSongInfoIndex)
#include "tst_songinfoindex.moc"
