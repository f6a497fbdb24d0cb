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
    void languageChecks_data();
    void languageChecks();
    void copyrightChecks_data();
    void copyrightChecks();
    void logChecks_data();
    void logChecks();
    void englishTranslation();
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
    QCOMPARE(child<QToolButton>(&w, "selectDirToolButton")->text(),
             QStringLiteral("Seleziona le basi musicali che desideri inserire nella memoria di Orvalo"));
    QCOMPARE(child<QToolButton>(&w, "updateDataToolButton")->text(),
             QStringLiteral("Sincronizza song con il\ndatabase Tavrel"));
    QCOMPARE(child<QToolButton>(&w, "transferFilesToolButton")->text(),
             QStringLiteral("Trasferisci song nella\nmemoria di Orvalo"));

    // The panels of hidden options stay out of sight.
    QVERIFY(!child<QGroupBox>(&w, "debugGroupBox")->isVisible());
    QVERIFY(!child<QGroupBox>(&w, "debugTavrelGroupBox")->isVisible());
    QVERIFY(child<QTableView>(&w, "userLibraryTableView")->isVisible());

    auto* table = child<QTableView>(&w, "userLibraryTableView");
    QCOMPARE(table->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(table->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    auto* bar = child<QSpinBox>(&w, "dbgMarkerBarSpinBox");
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 9999);
    QCOMPARE(bar->value(), 1);

    QVERIFY(!child<QAction>(&w, "actionGerman")->isVisible());
    QVERIFY(child<QAction>(&w, "actionItalian")->isVisible());
    QVERIFY(child<QAction>(&w, "actionEnglish")->isVisible());
}

void TestMainWindow::menus()
{
    MainWindow w;
    const auto names = [](const QList<QAction*>& actions) {
        QStringList result;
        for (QAction* a : actions)
            result << (a->menu() ? a->menu()->objectName() : a->objectName());
        return result;
    };
    const auto texts = [](const QList<QAction*>& actions) {
        QStringList result;
        for (QAction* a : actions)
            result << a->text();
        return result;
    };
    QMenuBar* bar = w.menuBar();
    QCOMPARE(names(bar->actions()),
             QStringList({"menuFile", "menuPreferences", "menuStrumenti", "menuHelp"}));
    QCOMPARE(texts(bar->actions()), QStringList({"File", "Preferenze", "Strumenti", "Aiuto"}));

    QCOMPARE(names(child<QMenu>(&w, "menuFile")->actions()), QStringList({"actionQuit"}));
    QCOMPARE(names(child<QMenu>(&w, "menuPreferences")->actions()),
             QStringList({"menuLanguage", "menuMessaggi_Copyright"}));
    QCOMPARE(texts(child<QMenu>(&w, "menuPreferences")->actions()), QStringList({"Lingua", "Messaggi Copyright"}));
    QCOMPARE(names(child<QMenu>(&w, "menuLanguage")->actions()),
             QStringList({"actionItalian", "actionEnglish", "actionGerman"}));
    QCOMPARE(texts(child<QMenu>(&w, "menuLanguage")->actions()), QStringList({"Italiano", "English", "Deutsch"}));
    QCOMPARE(names(child<QMenu>(&w, "menuMessaggi_Copyright")->actions()),
             QStringList({"actionCopyrightYes", "actionCopyrightNo"}));
    QCOMPARE(texts(child<QMenu>(&w, "menuMessaggi_Copyright")->actions()), QStringList({"Si", "No"}));
    QCOMPARE(names(child<QMenu>(&w, "menuStrumenti")->actions()), QStringList({"optimizeMemory", "actionSongsList"}));
    QCOMPARE(texts(child<QMenu>(&w, "menuStrumenti")->actions()),
             QStringList({"Rigenera il database delle song", "Salva lista delle song"}));
    QCOMPARE(names(child<QMenu>(&w, "menuHelp")->actions()),
             QStringList({"actionContents", "actionAbout", "actionAbout_QT"}));
    QCOMPARE(texts(child<QMenu>(&w, "menuHelp")->actions()),
             QStringList({"Aiuto Orvalo3 Soft", "Informazioni", "Informazioni su QT"}));
    QCOMPARE(child<QAction>(&w, "actionContents")->toolTip(), QStringLiteral("Aiuto Orvalo3 Soft"));

    // The checkable actions are not grouped; the rest are plain commands.
    for (const char* checkable : {"actionItalian", "actionEnglish", "actionGerman", "actionCopyrightYes",
                                  "actionCopyrightNo"}) {
        QVERIFY2(child<QAction>(&w, checkable)->isCheckable(), checkable);
        QVERIFY(!child<QAction>(&w, checkable)->actionGroup());
    }
    for (const char* plain : {"actionQuit", "optimizeMemory", "actionSongsList", "actionContents", "actionAbout",
                              "actionAbout_QT"})
        QVERIFY2(!child<QAction>(&w, plain)->isCheckable(), plain);
}

void TestMainWindow::languageChecks_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("italian");
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("german");

    QTest::newRow("absent means it") << QVariant() << true << false << false;
    QTest::newRow("it") << QVariant("it") << true << false << false;
    QTest::newRow("en") << QVariant("en") << false << true << false;
    QTest::newRow("de") << QVariant("de") << false << false << true;
    QTest::newRow("unknown") << QVariant("fr") << false << true << false;
    QTest::newRow("case matters") << QVariant("IT") << false << true << false;
    QTest::newRow("first-start sentinel") << QVariant("--") << false << true << false;
}

void TestMainWindow::languageChecks()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, italian);
    QFETCH(bool, english);
    QFETCH(bool, german);
    if (stored.isValid())
        store().setValue(QStringLiteral("language"), stored);

    MainWindow w;
    QCOMPARE(child<QAction>(&w, "actionItalian")->isChecked(), italian);
    QCOMPARE(child<QAction>(&w, "actionEnglish")->isChecked(), english);
    QCOMPARE(child<QAction>(&w, "actionGerman")->isChecked(), german);
}

void TestMainWindow::copyrightChecks_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("yes");

    QTest::newRow("absent means ask") << QVariant() << true;
    QTest::newRow("true") << QVariant(true) << true;
    QTest::newRow("false") << QVariant(false) << false;
    QTest::newRow("text false") << QVariant("false") << false;
}

void TestMainWindow::copyrightChecks()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, yes);
    if (stored.isValid())
        store().setValue(QStringLiteral("copyrightAsk"), stored);

    MainWindow w;
    QCOMPARE(child<QAction>(&w, "actionCopyrightYes")->isChecked(), yes);
    QCOMPARE(child<QAction>(&w, "actionCopyrightNo")->isChecked(), !yes);
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

void TestMainWindow::englishTranslation()
{
    MainWindow w;
    auto* sync = child<QToolButton>(&w, "updateDataToolButton");
    auto* transfer = child<QToolButton>(&w, "transferFilesToolButton");
    auto* select = child<QToolButton>(&w, "selectDirToolButton");
    {
        QTranslator appTranslator;
        QTranslator qtTranslator;
        installTranslations(QStringLiteral("en"), appTranslator, qtTranslator);
        // The toolkit posts the language change; let the window handle it.
        QCoreApplication::processEvents();

        QCOMPARE(w.windowTitle(), QStringLiteral("Orvalo3 Soft"));
        QCOMPARE(select->text(), QStringLiteral("Select the songs you wish to put in the memory dedicated to Orvalo"));
        QCOMPARE(sync->text(), QStringLiteral("Sync your songs with the\nTavrel database"));
        QCOMPARE(transfer->text(), QStringLiteral("Transfer songs in the\nTamsel memory"));
        QCOMPARE(child<QMenu>(&w, "menuPreferences")->title(), QStringLiteral("Preferences"));
        QCOMPARE(child<QMenu>(&w, "menuLanguage")->title(), QStringLiteral("Language"));
        QCOMPARE(child<QMenu>(&w, "menuMessaggi_Copyright")->title(), QStringLiteral("Show copyright messages"));
        QCOMPARE(child<QMenu>(&w, "menuStrumenti")->title(), QStringLiteral("Tools"));
        QCOMPARE(child<QMenu>(&w, "menuHelp")->title(), QStringLiteral("Help"));
        QCOMPARE(child<QAction>(&w, "actionQuit")->text(), QStringLiteral("Quit"));
        QCOMPARE(child<QAction>(&w, "actionCopyrightYes")->text(), QStringLiteral("Yes"));
        QCOMPARE(child<QAction>(&w, "optimizeMemory")->text(), QStringLiteral("Rebuild songs database"));
        QCOMPARE(child<QAction>(&w, "actionSongsList")->text(), QStringLiteral("Save songs list"));
        QCOMPARE(child<QAction>(&w, "actionContents")->text(), QStringLiteral("Help for Orvalo3 Soft"));
        QCOMPARE(child<QAction>(&w, "actionContents")->toolTip(), QStringLiteral("Help for Orvalo3 Soft"));
        QCOMPARE(child<QAction>(&w, "actionAbout")->text(), QStringLiteral("About"));
        QCOMPARE(child<QAction>(&w, "actionAbout_QT")->text(), QStringLiteral("About QT"));
        QCOMPARE(child<QGroupBox>(&w, "debugTavrelGroupBox")->title(), QStringLiteral("Hidden options"));
        QCOMPARE(child<QCheckBox>(&w, "dbgLogEnableCheckBox")->text(), QStringLiteral("Enable log (restart required!)"));
        QCOMPARE(child<QCheckBox>(&w, "dbgLogClearCheckBox")->text(), QStringLiteral("Clear log every run"));
        // Retranslating must not undo the construction's states.
        QVERIFY(!sync->isEnabled());
        QVERIFY(!transfer->isEnabled());
        QVERIFY(!child<QAction>(&w, "actionGerman")->isVisible());
    }
    // The translators are gone: back to the Italian source texts.
    QCoreApplication::processEvents();
    QCOMPARE(sync->text(), QStringLiteral("Sincronizza song con il\ndatabase Tavrel"));
    QCOMPARE(child<QMenu>(&w, "menuHelp")->title(), QStringLiteral("Aiuto"));

    {
        QTranslator appTranslator;
        QTranslator qtTranslator;
        installTranslations(QStringLiteral("it"), appTranslator, qtTranslator);
        QCoreApplication::processEvents();
        QCOMPARE(child<QMenu>(&w, "menuMessaggi_Copyright")->title(), QStringLiteral("Mostra messaggi copyright"));
        QCOMPARE(child<QPushButton>(&w, "dbgReloadStylePushButton")->text(), QStringLiteral("Ricarica Stylesheet"));
        QCOMPARE(sync->text(), QStringLiteral("Sincronizza song con il\ndatabase Tavrel"));
    }
}

void TestMainWindow::styledScreenshot()
{
    QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    const QColor lightBlue(QStringLiteral("#73C6E6"));
    const QColor darkBlue(QStringLiteral("#10719C"));
    QCOMPARE(w.palette().color(w.backgroundRole()), lightBlue);
    auto* table = child<QTableView>(&w, "userLibraryTableView");
    QCOMPARE(table->palette().color(QPalette::Base), darkBlue);
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
