#include "windowtest.h"

#include "app/startup.h"

#include <QAction>
#include <QtTest>

using namespace TestSongs;
using namespace WindowTest;

// Screenshots of the main window in both languages, the about box and the help.
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

private slots:
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
