#include "windowtest.h"

#include "app/startup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QTranslator>
#include <QtTest>

using namespace WindowTest;

// The main window's form and its state right after construction.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { sandbox.reset(new Sandbox); qApp->setStyleSheet(QString()); }
    void cleanup() { sandbox.reset(); }

    void widgets_data();
    void widgets();
    void initialState();
    void menus();
    void checkMarksFromSettings_data();
    void checkMarksFromSettings();
    void logChecks_data();
    void logChecks();
    void translations_data();
    void translations();
    void styledScreenshot();

private:
    std::unique_ptr<Sandbox> sandbox;
};

void TestMainWindow::widgets_data()
{
    // Slots are connected by name and the style sheet selects by name, so a
    // renamed widget silently loses its behaviour or look.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QSize>("fixedSize");

    QTest::newRow("product logo") << "logoTamselLabel" << "QLabel" << QSize(403, 58);
    QTest::newRow("maker logo") << "logoTavrelLabel" << "QLabel" << QSize(76, 75);
    QTest::newRow("import") << "selectDirToolButton" << "QToolButton" << QSize(540, 60);
    QTest::newRow("sync") << "updateDataToolButton" << "QToolButton" << QSize(321, 60);
    QTest::newRow("transfer") << "transferFilesToolButton" << "QToolButton" << QSize(321, 60);
    QTest::newRow("library") << "userLibraryTableView" << "QTableView" << QSize();
    QTest::newRow("log enable") << "dbgLogEnableCheckBox" << "QCheckBox" << QSize();
    QTest::newRow("log clear") << "dbgLogClearCheckBox" << "QCheckBox" << QSize();
    QTest::newRow("marker text") << "dbgMarkerTextLineEdit" << "QLineEdit" << QSize();
    QTest::newRow("marker bar") << "dbgMarkerBarSpinBox" << "QSpinBox" << QSize();
    for (const char* button : {"dbgAddMarkerPushButton", "dbgSavePushButton", "dbgReloadStylePushButton",
                               "dbgImportPushButton", "dbgHidePushButton", "dbgBackupPushButton",
                               "dbgShowDialogPushButton"})
        QTest::newRow(button) << button << "QPushButton" << QSize();
    QTest::newRow("status bar") << "statusBar" << "QStatusBar" << QSize();
}

void TestMainWindow::widgets()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QSize, fixedSize);

    MainWindow w;
    QWidget* widget = w.findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    if (fixedSize.isValid()) {
        QCOMPARE(widget->minimumSize(), fixedSize);
        QCOMPARE(widget->maximumSize(), fixedSize);
    }
    if (auto* tool = qobject_cast<QToolButton*>(widget))
        QCOMPARE(tool->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
}

void TestMainWindow::initialState()
{
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Orvalo3 Soft"));
    QCOMPARE(w.size(), QSize(844, 852));
    // Only the import is usable; the panels of hidden options stay out of sight.
    QCOMPARE(buttonStates(w), QStringLiteral("100"));
    QVERIFY(!child<QGroupBox>(&w, "debugGroupBox")->isVisible());
    QVERIFY(!child<QGroupBox>(&w, "debugTavrelGroupBox")->isVisible());
    QVERIFY(child<QTableView>(&w, "userLibraryTableView")->isVisible());
    QVERIFY(!child<QAction>(&w, "actionGerman")->isVisible());
    QVERIFY(child<QAction>(&w, "actionEnglish")->isVisible());
}

void TestMainWindow::menus()
{
    // Menus and actions in order, by object name: the slots of the menu
    // commands are connected by these names.
    MainWindow w;
    const auto names = [](const QList<QAction*>& actions) {
        QStringList result;
        for (QAction* a : actions)
            result << (a->menu() ? a->menu()->objectName() : a->objectName());
        return result.join(QLatin1Char(' '));
    };
    const auto menu = [&w](const char* name) { return child<QMenu>(&w, name)->actions(); };
    QCOMPARE(names(w.menuBar()->actions()), QStringLiteral("menuFile menuPreferences menuStrumenti menuHelp"));
    QCOMPARE(names(menu("menuFile")), QStringLiteral("actionQuit"));
    QCOMPARE(names(menu("menuPreferences")), QStringLiteral("menuLanguage menuMessaggi_Copyright"));
    QCOMPARE(names(menu("menuLanguage")), QStringLiteral("actionItalian actionEnglish actionGerman"));
    QCOMPARE(names(menu("menuMessaggi_Copyright")), QStringLiteral("actionCopyrightYes actionCopyrightNo"));
    QCOMPARE(names(menu("menuStrumenti")), QStringLiteral("optimizeMemory actionSongsList"));
    QCOMPARE(names(menu("menuHelp")), QStringLiteral("actionContents actionAbout actionAbout_QT"));
}

void TestMainWindow::checkMarksFromSettings_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("checked");

    QTest::newRow("language absent means it") << "language" << QVariant() << "actionItalian actionCopyrightYes";
    QTest::newRow("it") << "language" << QVariant("it") << "actionItalian actionCopyrightYes";
    QTest::newRow("en") << "language" << QVariant("en") << "actionEnglish actionCopyrightYes";
    QTest::newRow("de") << "language" << QVariant("de") << "actionGerman actionCopyrightYes";
    QTest::newRow("unknown") << "language" << QVariant("fr") << "actionEnglish actionCopyrightYes";
    QTest::newRow("case matters") << "language" << QVariant("IT") << "actionEnglish actionCopyrightYes";
    QTest::newRow("copyright false") << "copyrightAsk" << QVariant(false) << "actionItalian actionCopyrightNo";
    QTest::newRow("copyright text false") << "copyrightAsk" << QVariant("false") << "actionItalian actionCopyrightNo";
}

void TestMainWindow::checkMarksFromSettings()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(QString, checked);
    if (stored.isValid())
        store().setValue(key, stored);

    // Each check mark is set on its own: grouped actions would uncheck each other.
    MainWindow w;
    QStringList actual;
    for (const char* name : {"actionItalian", "actionEnglish", "actionGerman", "actionCopyrightYes",
                             "actionCopyrightNo"})
        if (child<QAction>(&w, name)->isChecked())
            actual << QLatin1String(name);
    QCOMPARE(actual.join(QLatin1Char(' ')), checked);
}

void TestMainWindow::logChecks_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("clear");
    QTest::newRow("off, keep") << false << false;
    QTest::newRow("off, clear") << false << true;
    QTest::newRow("on, keep") << true << false;
    QTest::newRow("on, clear") << true << true;
}

void TestMainWindow::logChecks()
{
    QFETCH(bool, enabled);
    QFETCH(bool, clear);
    store().setValue(QStringLiteral("logenabled"), enabled);
    store().setValue(QStringLiteral("logclear"), clear);

    MainWindow w;
    auto* enable = child<QCheckBox>(&w, "dbgLogEnableCheckBox");
    auto* clearBox = child<QCheckBox>(&w, "dbgLogClearCheckBox");
    QCOMPARE(enable->isChecked(), enabled);
    QCOMPARE(clearBox->isChecked(), clear);
    // Usable at start whatever was stored; logging off disables it.
    QVERIFY(clearBox->isEnabled());
    enable->setChecked(true);
    enable->setChecked(false);
    QVERIFY(!clearBox->isEnabled());
    enable->setChecked(true);
    QVERIFY(clearBox->isEnabled());
}

void TestMainWindow::translations_data()
{
    // What a widget, menu or action shows in Italian (the source), with the
    // Italian translation and with the English one; an action shows its
    // text and tool tip.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("italian");
    QTest::addColumn<QString>("english");

    const QString sync = QStringLiteral("Sincronizza song con il\ndatabase Tavrel");
    QTest::newRow("import") << "selectDirToolButton"
                            << "Seleziona le basi musicali che desideri inserire nella memoria di Orvalo" << ""
                            << "Select the songs you wish to put in the memory dedicated to Orvalo";
    QTest::newRow("sync") << "updateDataToolButton" << sync << sync << "Sync your songs with the\nTavrel database";
    QTest::newRow("menu") << "menuMessaggi_Copyright" << "Messaggi Copyright" << "Mostra messaggi copyright"
                          << "Show copyright messages";
    QTest::newRow("action") << "optimizeMemory" << "Rigenera il database delle song|Rigenera il database delle song"
                            << "" << "Rebuild songs database|Rebuild songs database";
    QTest::newRow("panel") << "debugTavrelGroupBox" << "Opzioni nascoste" << "" << "Hidden options";
    QTest::newRow("push button") << "dbgReloadStylePushButton" << "Reload Stylesheet" << "Ricarica Stylesheet"
                                 << "Reload Stylesheet";
}

void TestMainWindow::translations()
{
    QFETCH(QString, name);
    QFETCH(QString, source);
    QFETCH(QString, italian);
    QFETCH(QString, english);

    MainWindow w;
    QObject* target = w.findChild<QObject*>(name);
    const auto shown = [target]() {
        if (auto* b = qobject_cast<QAbstractButton*>(target))
            return b->text();
        if (auto* m = qobject_cast<QMenu*>(target))
            return m->title();
        if (auto* g = qobject_cast<QGroupBox*>(target))
            return g->title();
        auto* a = qobject_cast<QAction*>(target);
        return a->text() + QLatin1Char('|') + a->toolTip();
    };
    QCOMPARE(shown(), source);
    for (const char* language : {"it", "en"}) {
        QTranslator appTranslator;
        QTranslator qtTranslator;
        installTranslations(QLatin1String(language), appTranslator, qtTranslator);
        // The toolkit posts the language change; let the window handle it.
        QCoreApplication::processEvents();
        const QString expected = language == QByteArray("en") ? english : italian;
        QCOMPARE(shown(), expected.isEmpty() ? source : expected);
        // Retranslating must not undo the construction's states.
        QCOMPARE(buttonStates(w), QStringLiteral("100"));
        QVERIFY(!child<QAction>(&w, "actionGerman")->isVisible());
    }
    // The translators are gone: back to the source texts.
    QCoreApplication::processEvents();
    QCOMPARE(shown(), source);
}

void TestMainWindow::styledScreenshot()
{
    QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* transfer = toolButton(w, "transferFilesToolButton");
    QCOMPARE(transfer->palette().color(QPalette::Disabled, QPalette::ButtonText), QColor(QStringLiteral("#CDCDCD")));

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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
