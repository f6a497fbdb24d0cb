#include "windowtest.h"

#include "app/startup.h"

#include <QGroupBox>
#include <QTranslator>
#include <QtTest>

using namespace WindowTest;

// The main window's form and its state right after construction.
class TestMainWindow : public QObject
{
    Q_OBJECT
    std::unique_ptr<Sandbox> sandbox;

private slots:
    void init() { sandbox.reset(new Sandbox); }
    void cleanup() { sandbox.reset(); qApp->setStyleSheet(QString()); }

    void initialState()
    {
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Orvalo3 Soft"));
        QCOMPARE(w.size(), QSize(844, 852));
        // The drawn images fit these fixed sizes.
        const QList<QPair<const char*, QSize>> sizes = {{"logoTamselLabel", {403, 58}},
            {"logoTavrelLabel", {76, 75}}, {"selectDirToolButton", {540, 60}}, {"updateDataToolButton", {321, 60}},
            {"transferFilesToolButton", {321, 60}}};
        for (const auto& s : sizes) {
            QCOMPARE(child<QWidget>(&w, s.first)->minimumSize(), s.second);
            QCOMPARE(child<QWidget>(&w, s.first)->maximumSize(), s.second);
        }
        // Only the import is usable; the panels of hidden options stay out of sight.
        QCOMPARE(buttonStates(w), QStringLiteral("100"));
        QVERIFY(!child<QGroupBox>(&w, "debugGroupBox")->isVisible());
        QVERIFY(!child<QGroupBox>(&w, "debugTavrelGroupBox")->isVisible());
        QVERIFY(!child<QAction>(&w, "actionGerman")->isVisible());
        QCOMPARE(toolButton(w, "selectDirToolButton")->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);

        // Retranslating the form must not undo those states.
        QTranslator appTranslator;
        QTranslator qtTranslator;
        installTranslations(QStringLiteral("en"), appTranslator, qtTranslator);
        QCoreApplication::processEvents();
        QCOMPARE(toolButton(w, "updateDataToolButton")->text(),
                 QStringLiteral("Sync your songs with the\nTavrel database"));
        QCOMPARE(buttonStates(w), QStringLiteral("100"));
        QVERIFY(!child<QAction>(&w, "actionGerman")->isVisible());
    }

    void checkMarksFromSettings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("checked");
        QTest::newRow("language absent means it") << "language" << QVariant() << "actionItalian actionCopyrightYes";
        QTest::newRow("en") << "language" << QVariant("en") << "actionEnglish actionCopyrightYes";
        QTest::newRow("de") << "language" << QVariant("de") << "actionGerman actionCopyrightYes";
        QTest::newRow("unknown") << "language" << QVariant("fr") << "actionEnglish actionCopyrightYes";
        QTest::newRow("case matters") << "language" << QVariant("IT") << "actionEnglish actionCopyrightYes";
        QTest::newRow("copyright off") << "copyrightAsk" << QVariant("false") << "actionItalian actionCopyrightNo";
    }

    void checkMarksFromSettings()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QString, checked);
        if (stored.isValid())
            store().setValue(key, stored);
        MainWindow w;
        QStringList actual;
        for (const char* name : {"actionItalian", "actionEnglish", "actionGerman", "actionCopyrightYes",
                                 "actionCopyrightNo"})
            if (child<QAction>(&w, name)->isChecked())
                actual << QLatin1String(name);
        QCOMPARE(actual.join(' '), checked);
    }

    void styledScreenshot()
    {
        QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* transfer = toolButton(w, "transferFilesToolButton");
        QCOMPARE(transfer->palette().color(QPalette::Disabled, QPalette::ButtonText), QColor("#CDCDCD"));

        // The drawn images really are behind the buttons: the import button's
        // plate is blue near its left edge, the disabled transfer button's grey.
        const QImage shot = w.grab().toImage();
        const auto plate = [&](QToolButton* b) {
            return shot.pixelColor(b->mapTo(&w, QPoint(8, b->height() / 2)) * w.devicePixelRatioF());
        };
        const QColor blue = plate(toolButton(w, "selectDirToolButton"));
        QVERIFY2(blue.blue() > 100 && blue.red() < 90, qPrintable(blue.name()));
        const QColor grey = plate(transfer);
        QVERIFY2(qAbs(grey.red() - grey.blue()) < 60 && grey.red() > 90, qPrintable(grey.name()));

        QString dir = qEnvironmentVariable("ORVALO3_SCREENSHOT_DIR");
        if (dir.isEmpty())
            dir = QStringLiteral(ORVALO3_SCREENSHOT_DIR);
        QVERIFY(QDir().mkpath(dir));
        const QString path = QDir(dir).filePath(QStringLiteral("mainwindow.png"));
        QVERIFY(shot.save(path));
        qInfo("Screenshot saved to %s", qPrintable(path));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
