#include "mainwindow/mainwindow.h"

#include "app/settingskeys.h"
#include "app/startup.h"
#include "resources/appresources.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

// The main window's form and its state right after construction.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void widgets_data();
    void widgets();
    void initialState();
    void menus();
    void checkMarksFromSettings_data();
    void checkMarksFromSettings();
    void logChecks_data();
    void logChecks();
    void englishTranslation_data();
    void englishTranslation();
    void italianTranslation();
    void styledScreenshot();

private:
    static QSettings store() {
        return QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
    }
    template <typename T> static T* child(QObject* w, const char* name) {
        return w->findChild<T*>(QLatin1String(name));
    }

    QTemporaryDir configDir;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(configDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    initAppResources();
}

void TestMainWindow::init()
{
    QSettings s(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
    s.clear();
    qApp->setStyleSheet(QString());
}

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
    QTest::newRow("hidden options") << "debugTavrelGroupBox" << "QGroupBox" << QSize();
    QTest::newRow("log enable") << "dbgLogEnableCheckBox" << "QCheckBox" << QSize();
    QTest::newRow("log clear") << "dbgLogClearCheckBox" << "QCheckBox" << QSize();
    QTest::newRow("debug") << "debugGroupBox" << "QGroupBox" << QSize();
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

    // Only the import button is usable at start.
    QVERIFY(child<QToolButton>(&w, "selectDirToolButton")->isEnabled());
    QVERIFY(!child<QToolButton>(&w, "updateDataToolButton")->isEnabled());
    QVERIFY(!child<QToolButton>(&w, "transferFilesToolButton")->isEnabled());

    // The panels of hidden options stay out of sight.
    QVERIFY(!child<QGroupBox>(&w, "debugGroupBox")->isVisible());
    QVERIFY(!child<QGroupBox>(&w, "debugTavrelGroupBox")->isVisible());
    QVERIFY(child<QTableView>(&w, "userLibraryTableView")->isVisible());

    QVERIFY(!child<QAction>(&w, "actionGerman")->isVisible());
    QVERIFY(child<QAction>(&w, "actionItalian")->isVisible());
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

    // The check marks are set one by one, so the actions must not be grouped.
    for (const char* checkable : {"actionItalian", "actionEnglish", "actionGerman", "actionCopyrightYes",
                                  "actionCopyrightNo"}) {
        QVERIFY2(child<QAction>(&w, checkable)->isCheckable(), checkable);
        QVERIFY(!child<QAction>(&w, checkable)->actionGroup());
    }
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
    QTest::newRow("copyright true") << "copyrightAsk" << QVariant(true) << "actionItalian actionCopyrightYes";
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
    {
        QSettings s = store();
        s.setValue(QStringLiteral("logenabled"), enabled);
        s.setValue(QStringLiteral("logclear"), clear);
    }

    MainWindow w;
    auto* enable = child<QCheckBox>(&w, "dbgLogEnableCheckBox");
    auto* clearBox = child<QCheckBox>(&w, "dbgLogClearCheckBox");
    QCOMPARE(enable->isChecked(), enabled);
    QCOMPARE(clearBox->isChecked(), clear);
    // At start the clear option is usable whatever was stored.
    QVERIFY(clearBox->isEnabled());

    // Switching logging off disables the clear option, on enables it again.
    enable->setChecked(true);
    enable->setChecked(false);
    QVERIFY(!clearBox->isEnabled());
    enable->setChecked(true);
    QVERIFY(clearBox->isEnabled());
}

void TestMainWindow::englishTranslation_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("italian");
    QTest::addColumn<QString>("english");

    QTest::newRow("import") << "selectDirToolButton"
                            << "Seleziona le basi musicali che desideri inserire nella memoria di Orvalo"
                            << "Select the songs you wish to put in the memory dedicated to Orvalo";
    QTest::newRow("sync") << "updateDataToolButton" << "Sincronizza song con il\ndatabase Tavrel"
                          << "Sync your songs with the\nTavrel database";
    QTest::newRow("transfer") << "transferFilesToolButton" << "Trasferisci song nella\nmemoria di Orvalo"
                              << "Transfer songs in the\nTamsel memory";
    QTest::newRow("menu") << "menuMessaggi_Copyright" << "Messaggi Copyright" << "Show copyright messages";
    QTest::newRow("action") << "optimizeMemory" << "Rigenera il database delle song" << "Rebuild songs database";
    QTest::newRow("tool tip") << "actionContents" << "Aiuto Orvalo3 Soft" << "Help for Orvalo3 Soft";
    QTest::newRow("panel") << "debugTavrelGroupBox" << "Opzioni nascoste" << "Hidden options";
    QTest::newRow("check box") << "dbgLogClearCheckBox" << "Cancella log ad ogni avvio" << "Clear log every run";
}

// The text a user sees on a widget, menu or action.
static QString shownText(QObject* o)
{
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        return b->text();
    if (auto* m = qobject_cast<QMenu*>(o))
        return m->title();
    if (auto* g = qobject_cast<QGroupBox*>(o))
        return g->title();
    if (auto* a = qobject_cast<QAction*>(o))
        return a->text() + QLatin1Char('|') + a->toolTip();
    return QString();
}

void TestMainWindow::englishTranslation()
{
    QFETCH(QString, name);
    QFETCH(QString, italian);
    QFETCH(QString, english);
    const bool isAction = name.startsWith(QLatin1String("action")) || name == QLatin1String("optimizeMemory");
    const auto expected = [&](const QString& text) {
        // An action's tool tip follows its text unless the form sets one.
        return isAction ? text + QLatin1Char('|') + text : text;
    };

    MainWindow w;
    QObject* target = w.findChild<QObject*>(name);
    QVERIFY(target);
    QCOMPARE(shownText(target), expected(italian));
    {
        QTranslator appTranslator;
        QTranslator qtTranslator;
        installTranslations(QStringLiteral("en"), appTranslator, qtTranslator);
        // The toolkit posts the language change; let the window handle it.
        QCoreApplication::processEvents();
        QCOMPARE(shownText(target), expected(english));
        QCOMPARE(w.windowTitle(), QStringLiteral("Orvalo3 Soft"));
        // Retranslating must not undo the construction's states.
        QVERIFY(!child<QToolButton>(&w, "updateDataToolButton")->isEnabled());
        QVERIFY(!child<QToolButton>(&w, "transferFilesToolButton")->isEnabled());
        QVERIFY(!child<QAction>(&w, "actionGerman")->isVisible());
    }
    // The translator is gone: back to the Italian source texts.
    QCoreApplication::processEvents();
    QCOMPARE(shownText(target), expected(italian));
}

void TestMainWindow::italianTranslation()
{
    // Italian is the source language; its file holds the few texts whose
    // Italian differs from the form's source.
    MainWindow w;
    QTranslator appTranslator;
    QTranslator qtTranslator;
    installTranslations(QStringLiteral("it"), appTranslator, qtTranslator);
    QCoreApplication::processEvents();
    QCOMPARE(child<QMenu>(&w, "menuMessaggi_Copyright")->title(), QStringLiteral("Mostra messaggi copyright"));
    QCOMPARE(child<QPushButton>(&w, "dbgReloadStylePushButton")->text(), QStringLiteral("Ricarica Stylesheet"));
    QCOMPARE(child<QToolButton>(&w, "updateDataToolButton")->text(),
             QStringLiteral("Sincronizza song con il\ndatabase Tavrel"));
}

void TestMainWindow::styledScreenshot()
{
    QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    auto* transfer = child<QToolButton>(&w, "transferFilesToolButton");
    QCOMPARE(transfer->palette().color(QPalette::Disabled, QPalette::ButtonText), QColor(QStringLiteral("#CDCDCD")));

    const QImage shot = w.grab().toImage();
    QCOMPARE(shot.size(), w.size() * w.devicePixelRatioF());

    // The drawn images really are behind the buttons: the import button's
    // plate is blue, not the window's light blue, near its left edge.
    auto* select = child<QToolButton>(&w, "selectDirToolButton");
    const QPoint onPlate = select->mapTo(&w, QPoint(8, select->height() / 2));
    const QColor plate = shot.pixelColor(onPlate);
    QVERIFY2(plate.blue() > 100 && plate.red() < 90, qPrintable(plate.name()));
    // The disabled transfer button shows its grey plate.
    const QPoint onGreyPlate = transfer->mapTo(&w, QPoint(8, transfer->height() / 2));
    const QColor grey = shot.pixelColor(onGreyPlate);
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
