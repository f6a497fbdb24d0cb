// Names of songs on the player's memory: accepted by FAT32, held by the
// Latin-1 paths of the player's index, unique apart from letter case.
#include "library/memorynames.h"

#include <QtTest>

class TestMemoryNames : public QObject
{
    Q_OBJECT

private slots:
    void holdableName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        // Each character FAT32 refuses, control characters included.
        for (const char* c : {"\"", "*", ":", "<", ">", "?", "\\", "|", "\x01", "\x1f", "\x7f"})
            QTest::addRow("refused %02x", uchar(*c)) << QStringLiteral("a%1b.mid").arg(QLatin1String(c))
                                                     << QStringLiteral("a_b.mid");
        QTest::newRow("C1 control") << QStringLiteral("a\u0085b.mid") << QStringLiteral("a_b.mid");
        QTest::newRow("Latin-1 kept") << QStringLiteral("Perché ß Ñ «x» ¿.mid") << QStringLiteral("Perché ß Ñ «x» ¿.mid");
        QTest::newRow("quotes and dashes") << QStringLiteral("Don\u2019t \u201cStop\u201d \u2013 Live \u2014 \u2018x\u2019.mid")
                                           << QStringLiteral("Don't 'Stop' - Live - 'x'.mid");
        QTest::newRow("accents Latin-1 lacks") << QStringLiteral("Łódź Ōsaka Dvořák Œuvre.mp3")
                                               << QStringLiteral("Lódz Osaka Dvorák OEuvre.mp3");
        QTest::newRow("Greek") << QStringLiteral("Καλημέρα.mid") << QStringLiteral("Kaleméra.mid");
        QTest::newRow("Cyrillic") << QStringLiteral("Привет мир.kar") << QStringLiteral("Privet mir.kar");
        QTest::newRow("Cyrillic hard sign") << QStringLiteral("Объект.mid") << QStringLiteral("Ob'ekt.mid");
        QTest::newRow("no Latin form") << QStringLiteral("a\U0001F3B8b.mid") << QStringLiteral("a_b.mid");
        QTest::newRow("leading dots") << QStringLiteral("..hidden.mid") << QStringLiteral("hidden.mid");
        QTest::newRow("only dots before the extension") << QStringLiteral("..mid") << QStringLiteral("_.mid");
        QTest::newRow("trailing dots and spaces") << QStringLiteral("folder. .") << QStringLiteral("folder");
    }
    void holdableName()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        const QString holdable = MemoryNames::holdableName(name);
        QCOMPARE(holdable, expected);
        QCOMPARE(holdable.toLatin1(), expected.toLatin1());  // nothing outside Latin-1
        QCOMPARE(MemoryNames::isHoldable(name), name == expected);
    }

    void transferNames_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QStringList>("expected");
        const QString stem250(250, QLatin1Char('x'));
        QTest::newRow("case collisions numbered in order")
            << QStringList{"Song.mid", "song.MID", "SONG.mid", "other.mid", "Song (2).mid"} << "/songs"
            << QStringList{"Song.mid", "song (2).MID", "SONG (3).mid", "other.mid", "Song (2) (2).mid"};
        QTest::newRow("collision made by the mapping")
            << QStringList{"a?b.mid", "a*b.mid", "A_B.mid"} << "/songs"
            << QStringList{"a_b.mid", "a_b (2).mid", "A_B (3).mid"};
        // "/songs/" + name must stay within 251 characters.
        QTest::newRow("long name shortened, extension kept")
            << QStringList{stem250 + ".mid", stem250 + ".mp3"} << "/songs"
            << QStringList{QString(240, 'x') + ".mid", QString(240, 'x') + ".mp3"};
        QTest::newRow("shortened names that collide")
            << QStringList{stem250 + "a.mid", stem250 + "b.mid"} << "/songs"
            << QStringList{QString(240, 'x') + ".mid", QString(236, 'x') + " (2).mid"};
        QTest::newRow("no room left in the folder")
            << QStringList{"a.mid"} << "/" + QString(246, 'd') << QStringList{QString()};
        QTest::newRow("just room") << QStringList{"abc.mid"} << "/" + QString(244, 'd') << QStringList{"a.mid"};
    }
    void transferNames()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, dir);
        QFETCH(QStringList, expected);
        const QStringList names = MemoryNames::transferNames(files, dir);
        QCOMPARE(names, expected);
        for (const QString& name : names)
            QVERIFY(name.isEmpty() || dir.size() + 1 + name.size() <= MemoryNames::kMaxRelativePath);
    }

    void companionName()
    {
        QCOMPARE(MemoryNames::companionName(QStringLiteral("song (2).MP3")), QStringLiteral("song (2).cdg"));
        QCOMPARE(MemoryNames::companionName(QStringLiteral("live.mp3.mp3")), QStringLiteral("live.mp3.cdg"));
    }
};

QTEST_GUILESS_MAIN(TestMemoryNames)
#include "tst_memorynames.moc"
