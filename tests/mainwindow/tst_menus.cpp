#include "windowtest.h"

#include "app/startup.h"
#include "app/stylesheet.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QTranslator>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// Languages switched while the program runs, the hidden panels and their log
// preferences; screenshots of the main window in both languages, the about box and the help.
class TestMenus : public QObject
{
    Q_OBJECT

    static void trigger(MainWindow& w, const char* action)
    {
        child<QAction>(&w, action)->trigger();
        QCoreApplication::processEvents();
    }
    static void save(const QImage& shot, const char* name)
    {
        QString dir = qEnvironmentVariable("ORVALO3_SCREENSHOT_DIR");
        if (dir.isEmpty())
            dir = QStringLiteral(ORVALO3_SCREENSHOT_DIR);
        QVERIFY(QDir().mkpath(dir) && shot.save(QDir(dir).filePath(name)));
        qInfo("Screenshot saved to %s", qPrintable(QDir(dir).filePath(name)));
    }

    // What the user reads: a button, menu titles, an action, a panel title, two headers.
    static QString shownTexts(MainWindow& w)
    {
        QStringList texts = {child<QToolButton>(&w, "selectDirToolButton")->text(), w.windowTitle(),
                             child<QMenu>(&w, "menuPreferences")->title(), child<QMenu>(&w, "menuHelp")->title(),
                             child<QAction>(&w, "actionAbout")->text(),
                             child<QGroupBox>(&w, "debugTavrelGroupBox")->title()};
        for (int column : {2, 8})
            texts << libraryModel(w)->headerData(column, Qt::Horizontal).toString();
        return texts.join('|');
    }
    // The names of the shown actions and widgets.
    static QString shownParts(MainWindow& w)
    {
        QString parts;
        for (QAction* a : w.findChildren<QAction*>())
            parts += a->isVisible() ? a->objectName() + ' ' : QString();
        for (QWidget* widget : w.findChildren<QWidget*>())
            parts += widget->isHidden() ? QString() : widget->objectName() + ' ';
        return parts;
    }

private slots:
    void languages()
    {
        Sandbox sandbox;
        // The translators of the program's start stay installed for the whole run.
        QTranslator startApp, startQt;
        installTranslations("it", startApp, startQt);
        MainWindow w;
        const QString italian = "Seleziona le basi musicali che desideri inserire nella memoria di Orvalo|Orvalo3 Soft|"
                                "Preferenze|Aiuto|Informazioni|Opzioni nascoste|Titolo|Tonalità";
        const QString english = "Select the songs you wish to put in the memory dedicated to Orvalo|Orvalo3 Soft|"
                                "Preferences|Help|About|Hidden options|Title|Key";
        QCOMPARE(shownTexts(w), italian);
        const QString parts = shownParts(w);
        const QMap<QString, QString> actions = {{"it", "actionItalian"}, {"en", "actionEnglish"},
                                                {"de", "actionGerman"}};
        // German has no translation of its own: English texts, and nothing else shown or hidden.
        for (const QString language : {"en", "it", "de", "it"}) {
            trigger(w, qPrintable(actions[language]));
            QCOMPARE(shownTexts(w), language == "it" ? italian : english);
            QCOMPARE(shownParts(w), parts);
            QCOMPARE(store().value(SettingsKeys::language).toString(), language);
            for (const QString& action : actions)
                QCOMPARE(child<QAction>(&w, qPrintable(action))->isChecked(), action == actions[language]);
        }
    }

    void hiddenPanels()
    {
        Sandbox sandbox;
        MainWindow w;
        auto* table = child<QTableView>(&w, "userLibraryTableView");
        const auto shown = [&w] {
            return QString::number(!child<QGroupBox>(&w, "debugTavrelGroupBox")->isHidden())
                + QString::number(!child<QGroupBox>(&w, "debugGroupBox")->isHidden());
        };
        const Qt::KeyboardModifiers all = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;
        QTest::keyClick(table, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(table, Qt::Key_E, all);
        QCOMPARE(shown(), QString("00"));
        QTest::keyClick(table, Qt::Key_D, all);
        QCOMPARE(shown(), QString("11"));
        // Every other key passes on.
        auto* marker = child<QLineEdit>(&w, "dbgMarkerTextLineEdit");
        QTest::keyClicks(marker, "Verse");
        QCOMPARE(marker->text(), QString("Verse"));
    }

    void logPreferences()
    {
        Sandbox sandbox;
        const auto stored = [] {
            return store().value(SettingsKeys::logEnabled).toString() + ' '
                + store().value(SettingsKeys::logClear).toString();
        };
        {
            MainWindow w;
            auto* enable = child<QCheckBox>(&w, "dbgLogEnableCheckBox");
            auto* clear = child<QCheckBox>(&w, "dbgLogClearCheckBox");
            enable->click();
            clear->click();
            QCOMPARE(stored(), QString("true true"));
            // Logging off: the clear box is disabled but keeps its value.
            enable->click();
            QCOMPARE(stored(), QString("false true"));
            QVERIFY(!clear->isEnabled());
        }
        // A new window shows the stored values.
        MainWindow again;
        QVERIFY(!child<QCheckBox>(&again, "dbgLogEnableCheckBox")->isChecked());
        QVERIFY(child<QCheckBox>(&again, "dbgLogClearCheckBox")->isChecked());
    }

    void screenshots()
    {
        Sandbox sandbox;
        QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
        setCopyrightAsk(false);
        QStringList files;
        const QList<QPair<QString, Details>> songs = {
            {"notte_blu.mid", {"Notte blu", "Marta Lorenzi", "Pop", "Lorenzi", 185, 120, true, {}}},
            {"mare_aperto.mf3", {"Mare aperto", "I Gabbiani", "Pop", "Ferri", 212, 132, true, {}}},
            {"my_song.mp3", {"My song", "The Band", "Rock", {}, 240, 0, false, {}}}};
        for (const auto& song : songs) {
            files << sandbox.path(song.first);
            QVERIFY(writeFile(files.last(), songFor(song.first, song.second)));
        }
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        save(w.grab().toImage(), "mainwindow.png");
        pickFiles(w, files);
        save(w.grab().toImage(), "mainwindow_it.png");
        trigger(w, "actionEnglish");
        save(w.grab().toImage(), "mainwindow_en.png");
        trigger(w, "actionItalian");
        for (const char* action : {"actionAbout", "actionContents"}) {
            QImage shot;
            ModalScript script;
            script.then("QDialog", [&shot](QWidget* dialog) {
                shot = dialog->grab().toImage();
                static_cast<QDialog*>(dialog)->accept();
            });
            trigger(w, action);
            VERIFY_SCRIPT(script);
            save(shot, action == QLatin1String("actionAbout") ? "about.png" : "help.png");
        }
        qApp->setStyleSheet(QString());
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
