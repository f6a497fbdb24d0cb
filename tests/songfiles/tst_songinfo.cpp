#include "songfiles/songinfo.h"

#include <QtTest>

namespace {
QStringList captured;
void capture(QtMsgType, const QMessageLogContext&, const QString& msg) { captured << msg; }

QStringList dumpLines(const SongInfo& s)
{
    captured.clear();
    QtMessageHandler old = qInstallMessageHandler(capture);
    s.dbgDump();
    qInstallMessageHandler(old);
    return captured;
}
}

class TestSongInfo : public QObject
{
    Q_OBJECT
private slots:
    void clearedEqualsNew()
    {
        SongInfo s;
        s.title = "X";
        s.length = 5;
        s.userBpm = 120;
        s.isTavrel = true;
        s.markers << Marker{"Intro", 1};
        s.mfxFlags = -3;
        s.clear();
        QVERIFY(s == SongInfo());
        QVERIFY(s.title.isEmpty() && s.markers.isEmpty() && s.mfxFlags == 0);
    }

    void copiesAreIndependent()
    {
        SongInfo a;
        a.markers << Marker{"Intro", 1} << Marker{"Verse", 5} << Marker{"Chorus", 9};
        SongInfo b = a;
        b.markers[1].text = "Changed";
        b.markers.removeLast();
        QCOMPARE(a.markers.size(), 3);
        QCOMPARE(a.markers[1].text, QString("Verse"));
    }

    void dumpWithoutMarkers()
    {
        SongInfo s;
        s.format = "MIDI";
        s.title = "Volare";
        s.length = 185;
        s.mfxFlags = 1;
        const QStringList l = dumpLines(s);
        QCOMPARE(l.size(), 17);
        QCOMPARE(l[0], QString("Dump Info song ----------------------------------------------"));
        QCOMPARE(l[1], QString("Format     : \"MIDI\""));
        QCOMPARE(l[4], QString("Is Tavrel  : false"));
        QCOMPARE(l[5], QString("Title      : \"Volare\""));
        QCOMPARE(l[10], QString("Length     : 185"));
        QCOMPARE(l[13], QString("NO Markers"));
        QCOMPARE(l[14], QString("MfxLongName: \"\""));
        QCOMPARE(l[16], QString("Dump END ----------------------------------------------------"));
    }

    void dumpWithMarkersAndFlags_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero") << 0 << "\"0x00\"";
        QTest::newRow("one") << 1 << "\"0x01\"";
        QTest::newRow("high bit") << int(qint8(0xB9)) << "\"0xb9\"";
    }
    void dumpWithMarkersAndFlags()
    {
        QFETCH(int, flags);
        QFETCH(QString, shown);
        SongInfo s;
        s.isTavrel = true;
        s.mfxFlags = qint8(flags);
        s.markers << Marker{"Intro", 1} << Marker{"Chorus 1", 5};
        const QStringList l = dumpLines(s);
        QCOMPARE(l.size(), 19); // 13 detail lines, "Markers:", one per marker, 3 closing lines
        QCOMPARE(l[4], QString("Is Tavrel  : true"));
        QCOMPARE(l[13], QString("Markers:"));
        QCOMPARE(l[15], QString("  bar: 5   text: \"Chorus 1\""));
        QCOMPARE(l[17], "MfxFlags   : " + shown);
    }
};

QTEST_GUILESS_MAIN(TestSongInfo)
#include "tst_songinfo.moc"
