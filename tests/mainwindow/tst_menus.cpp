#include "mainwindow/mainwindow.h"
#include "modaldriver.h"
#include "tst_import_songs.h"

#include "app/aboutdialog.h"
#include "app/helpdialog.h"
#include "app/settingskeys.h"
#include "app/startup.h"
#include "resources/appresources.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTextEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

// The menu commands: languages switched while the program runs, copyright
// messages, quitting, the about, help and toolkit boxes; screenshots.
class TestMenus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void switchLanguages_data();
    void switchLanguages();
    void germanShowsEnglish();
    void openDialogFollowsLanguage_data();
    void openDialogFollowsLanguage();
    void copyrightActions();
    void aboutQtAndQuit();
    void screenshots();

private:
    static QSettings store()
    {
        return QSettings(QLatin1String(SettingsKeys::organization), QLatin1String(SettingsKeys::application));
    }
    template <typename T> static T* child(QObject* o, const char* name)
    {
        return o->findChild<T*>(QLatin1String(name));
    }
    static void trigger(MainWindow& w, const char* action)
    {
        child<QAction>(&w, action)->trigger();
        QCoreApplication::processEvents();
    }
    // What the user reads in the chosen language: buttons, menus, actions, headers.
    static QString shownTexts(MainWindow& w);
    static QString checkedLanguages(MainWindow& w);
    static QString saveShot(const QImage& shot, const char* name);

    QTemporaryDir configDir;
    QTemporaryDir workDir;
};

void TestMenus::initTestCase()
{
    QVERIFY(configDir.isValid());
    QVERIFY(workDir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configDir.path()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    QVERIFY(QDir::setCurrent(workDir.path()));
    initAppResources();
}

void TestMenus::init()
{
    store().clear();
}

void TestMenus::cleanup()
{
    qApp->setStyleSheet(QString());
}

QString TestMenus::shownTexts(MainWindow& w)
{
    QStringList texts;
    texts << child<QToolButton>(&w, "selectDirToolButton")->text()
          << child<QMenu>(&w, "menuPreferences")->title() << child<QMenu>(&w, "menuMessaggi_Copyright")->title()
          << child<QMenu>(&w, "menuHelp")->title() << child<QAction>(&w, "actionAbout")->text()
          << child<QGroupBox>(&w, "debugTavrelGroupBox")->title();
    QAbstractItemModel* model = child<QTableView>(&w, "userLibraryTableView")->model();
    for (int column : {2, 8})
        texts << model->headerData(column, Qt::Horizontal).toString();
    return texts.join(QLatin1Char('|'));
}

QString TestMenus::checkedLanguages(MainWindow& w)
{
    QStringList checked;
    for (const char* name : {"actionItalian", "actionEnglish", "actionGerman"})
        if (child<QAction>(&w, name)->isChecked())
            checked << QLatin1String(name);
    return checked.join(QLatin1Char(' '));
}

static const QString kItalianTexts = QStringLiteral(
    "Seleziona le basi musicali che desideri inserire nella memoria di Orvalo|Preferenze|"
    "Mostra messaggi copyright|Aiuto|Informazioni|Opzioni nascoste|Titolo|Tonalità");
static const QString kEnglishTexts = QStringLiteral(
    "Select the songs you wish to put in the memory dedicated to Orvalo|Preferences|"
    "Show copyright messages|Help|About|Hidden options|Title|Key");

void TestMenus::switchLanguages_data()
{
    QTest::addColumn<QString>("startLanguage");
    QTest::newRow("started in Italian") << "it";
    QTest::newRow("started in English") << "en";
}

void TestMenus::switchLanguages()
{
    QFETCH(QString, startLanguage);
    // The translators of the program's start stay installed for the whole run.
    QTranslator startApp;
    QTranslator startQt;
    installTranslations(startLanguage, startApp, startQt);
    store().setValue(QLatin1String(SettingsKeys::language), startLanguage);
    MainWindow w;
    QCoreApplication::processEvents();
    QCOMPARE(shownTexts(w), startLanguage == QLatin1String("it") ? kItalianTexts : kEnglishTexts);

    const QString toolkitYes = startLanguage == QLatin1String("it") ? QStringLiteral("&Sì") : QStringLiteral("&Yes");
    for (const char* language : {"en", "it", "en", "it"}) {
        const bool italian = QLatin1String(language) == QLatin1String("it");
        trigger(w, italian ? "actionItalian" : "actionEnglish");
        QCOMPARE(shownTexts(w), italian ? kItalianTexts : kEnglishTexts);
        QCOMPARE(w.windowTitle(), QStringLiteral("Orvalo3 Soft"));
        QCOMPARE(store().value(QLatin1String(SettingsKeys::language)).toString(), QLatin1String(language));
        QCOMPARE(checkedLanguages(w), italian ? QStringLiteral("actionItalian") : QStringLiteral("actionEnglish"));
        // The toolkit's own texts: Italian as soon as Italian is chosen;
        // after English, whatever the start installed.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), italian ? QStringLiteral("&Sì") : toolkitYes);
    }
}

void TestMenus::germanShowsEnglish()
{
    QTranslator startApp;
    QTranslator startQt;
    installTranslations(QStringLiteral("it"), startApp, startQt);
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const auto visibility = [&w]() {
        QString states;
        for (QAction* a : w.findChildren<QAction*>())
            states += a->objectName() + (a->isVisible() ? QLatin1String("+ ") : QLatin1String("- "));
        for (QWidget* widget : w.findChildren<QWidget*>())
            states += widget->objectName() + (widget->isHidden() ? QLatin1String("- ") : QLatin1String("+ "));
        return states;
    };
    const QString before = visibility();

    trigger(w, "actionGerman");
    QCOMPARE(shownTexts(w), kEnglishTexts);
    QCOMPARE(checkedLanguages(w), QStringLiteral("actionGerman"));
    QCOMPARE(store().value(QLatin1String(SettingsKeys::language)).toString(), QStringLiteral("de"));
    QCOMPARE(visibility(), before);
    QVERIFY(!child<QAction>(&w, "actionGerman")->isVisible());

    trigger(w, "actionItalian");
    QCOMPARE(shownTexts(w), kItalianTexts);
    QCOMPARE(checkedLanguages(w), QStringLiteral("actionItalian"));
}

void TestMenus::openDialogFollowsLanguage_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("italianTitle");
    QTest::addColumn<QString>("englishTitle");

    QTest::newRow("about") << "actionAbout" << "AboutDialog" << "Informazioni" << "About";
    QTest::newRow("help") << "actionContents" << "HelpDialog" << "Aiuto" << "Help";
    QTest::newRow("song editor") << "dbgShowDialogPushButton" << "DataEditDialog" << "Modifica dati song"
                                 << "Edit song details";
}

void TestMenus::openDialogFollowsLanguage()
{
    QFETCH(QString, opener);
    QFETCH(QString, className);
    QFETCH(QString, italianTitle);
    QFETCH(QString, englishTitle);

    MainWindow w;
    trigger(w, "actionItalian");
    QStringList seen;
    ModalDriver::when<QDialog>([&](QDialog* dialog) {
        seen << QString::fromLatin1(dialog->metaObject()->className()) << dialog->windowTitle();
        trigger(w, "actionEnglish");
        seen << dialog->windowTitle();
        if (auto* help = qobject_cast<HelpDialog*>(dialog))
            seen << help->findChild<QTextEdit*>()->document()->toPlainText().section(QLatin1Char('\n'), 0, 0).trimmed();
        dialog->reject();
    });
    if (auto* action = w.findChild<QAction*>(opener))
        action->trigger();
    else
        w.findChild<QPushButton*>(opener)->click();

    QStringList expected{className, italianTitle, englishTitle};
    if (className == QLatin1String("HelpDialog"))
        expected << QStringLiteral("Orvalo3 Soft - user guide");
    QCOMPARE(seen, expected);
}

void TestMenus::copyrightActions()
{
    MainWindow w;
    for (bool ask : {false, true, false}) {
        trigger(w, ask ? "actionCopyrightYes" : "actionCopyrightNo");
        QCOMPARE(store().value(QLatin1String(SettingsKeys::copyrightAsk)).toBool(), ask);
        QCOMPARE(child<QAction>(&w, "actionCopyrightYes")->isChecked(), ask);
        QCOMPARE(child<QAction>(&w, "actionCopyrightNo")->isChecked(), !ask);
    }
}

void TestMenus::aboutQtAndQuit()
{
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QString title;
    ModalDriver::answer(QMessageBox::Ok, nullptr, &title);
    trigger(w, "actionAbout_QT");
    QVERIFY2(title.contains(QStringLiteral("Qt")), qPrintable(title));
    QVERIFY(w.isVisible());

    trigger(w, "actionQuit");
    QVERIFY(!w.isVisible());
}

QString TestMenus::saveShot(const QImage& shot, const char* name)
{
    QString dir = qEnvironmentVariable("ORVALO3_SCREENSHOT_DIR");
    if (dir.isEmpty())
        dir = QStringLiteral(ORVALO3_SCREENSHOT_DIR);
    if (!QDir().mkpath(dir))
        return QString();
    const QString path = QDir(dir).filePath(QLatin1String(name));
    if (!shot.save(path))
        return QString();
    qInfo("Screenshot saved to %s", qPrintable(path));
    return path;
}

void TestMenus::screenshots()
{
    using namespace ImportSongs;
    QVERIFY(applyStyleSheet(*qApp, QStringLiteral(":/style/default.qss")));
    store().setValue(QLatin1String(SettingsKeys::copyrightAsk), false);
    QTemporaryDir songsDir;
    QStringList files;
    const QList<QPair<QString, Details>> songs = {
        {QStringLiteral("notte_blu.mid"), {QStringLiteral("Notte blu"), QStringLiteral("Marta Lorenzi"),
                                        QStringLiteral("Pop"), QStringLiteral("Lorenzi"), 185, 120, true}},
        {QStringLiteral("mare_aperto.mf3"), {QStringLiteral("Mare aperto"), QStringLiteral("I Gabbiani"),
                                         QStringLiteral("Pop"), QStringLiteral("Ferri"), 212, 132, true}},
        {QStringLiteral("my_song.mp3"), {QStringLiteral("My song"), QStringLiteral("The Band"),
                                         QStringLiteral("Rock"), QString(), 240, 0, false}}};
    for (const auto& song : songs) {
        files << songsDir.filePath(song.first);
        QVERIFY(writeFile(files.last(), songFor(song.first, song.second)));
    }

    MainWindow w;
    w.setFileChooser([files](QWidget*, const QString&, const QString&, const QString&) { return files; });
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    trigger(w, "actionItalian");
    child<QToolButton>(&w, "selectDirToolButton")->click();
    QCOMPARE(child<QTableView>(&w, "userLibraryTableView")->model()->rowCount(), 3);
    QVERIFY(!saveShot(w.grab().toImage(), "mainwindow_it.png").isEmpty());
    trigger(w, "actionEnglish");
    QVERIFY(!saveShot(w.grab().toImage(), "mainwindow_en.png").isEmpty());

    trigger(w, "actionItalian");
    for (const char* action : {"actionAbout", "actionContents"}) {
        QImage shot;
        ModalDriver::when<QDialog>([&shot](QDialog* dialog) {
            QCoreApplication::processEvents();
            shot = dialog->grab().toImage();
            dialog->accept();
        });
        trigger(w, action);
        QVERIFY(!shot.isNull());
        QVERIFY(!saveShot(shot, action == QLatin1String("actionAbout") ? "about.png" : "help.png").isEmpty());
    }
}

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
