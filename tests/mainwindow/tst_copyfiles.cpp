#include "tst_sync_helpers.h"

#include "resources/appresources.h"

#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

using namespace TestSongs;

// MainWindow::copyFiles: the flat copy of the picked files used by the
// backup and the transfer.
class TestCopyFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void overwriteAnswers_data();
    void overwriteAnswers();
    void companions_data();
    void companions();
    void samePath_data();
    void samePath();
    void cancel_data();
    void cancel();
    void failedCopyCountsAndGoesOn();

private:
    // Source files src/<name> holding "new <name>"; the window imports them.
    QStringList makeSources(const QStringList& names);
    QString src() const { return root->path() + QStringLiteral("/src"); }
    QString dest() const { return root->path() + QStringLiteral("/dest"); }

    QTemporaryDir configDir;
    QString startDir;
    QScopedPointer<QTemporaryDir> root;
};

void TestCopyFiles::initTestCase()
{
    QVERIFY(configDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
    initAppResources();
    startDir = QDir::currentPath();
}

void TestCopyFiles::init()
{
    root.reset(new QTemporaryDir);
    QVERIFY(root->isValid());
    QVERIFY(QDir::setCurrent(root->path()));
    QVERIFY(makeCatalogue(root->path(), {}));
    QVERIFY(QDir().mkpath(src()) && QDir().mkpath(dest()));
}

void TestCopyFiles::cleanup()
{
    QDir::setCurrent(startDir);
    root.reset();
}

QStringList TestCopyFiles::makeSources(const QStringList& names)
{
    QStringList paths;
    for (const QString& name : names) {
        const QString path = src() + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(path).path());
        writeFile(path, "new " + name.toUtf8());
        paths << path;
    }
    return paths;
}

void TestCopyFiles::overwriteAnswers_data()
{
    // Picked a, b, c, d; a and c already exist at the destination.
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QList<int>>("answers");   // -1: Escape
    QTest::addColumn<int>("copied");
    QTest::addColumn<QString>("replaced");     // existing targets that got the new content

    QTest::newRow("Si, Si") << "a b c d" << QList<int>{0, 0} << 4 << "a c";
    QTest::newRow("Si tutti asks once") << "a b c d" << QList<int>{1} << 4 << "a c";
    QTest::newRow("No, Si") << "a b c d" << QList<int>{2, 0} << 3 << "c";
    QTest::newRow("No tutti asks once") << "a b c d" << QList<int>{3} << 2 << "";
    QTest::newRow("Escape is Si") << "a b c d" << QList<int>{-1, 2} << 3 << "a";
    QTest::newRow("all kept, nothing else") << "a c" << QList<int>{3} << 0 << "";
}

void TestCopyFiles::overwriteAnswers()
{
    QFETCH(QString, picked);
    QFETCH(QList<int>, answers);
    QFETCH(int, copied);
    QFETCH(QString, replaced);

    QStringList names;
    for (const QString& n : picked.split(QLatin1Char(' ')))
        names << n + QStringLiteral(".mid");
    const QStringList sources = makeSources(names);
    for (const char* existing : {"a.mid", "c.mid"})
        QVERIFY(writeFile(dest() + QLatin1Char('/') + QLatin1String(existing), "old"));

    MainWindow w;
    importWithoutSummary(w, sources);

    ModalScript script;
    QString message;
    for (int a : answers) {
        if (a < 0)
            script.then("NoCopyrightDialog", [&message](QWidget* d) {
                message = d->findChild<QLabel*>(QStringLiteral("label_2"))->text();
                QTest::keyClick(d, Qt::Key_Escape);
            });
        else
            script.answer(a);
    }
    int count = -1;
    QVERIFY(w.copyFiles(dest(), count));
    QCOMPARE(count, copied);
    QVERIFY(script.done());
    QCOMPARE(script.unexpected, QStringList());

    // The question names the existing target, the first one being a.mid.
    QCOMPARE(script.seen.first().text, dest() + QStringLiteral("/a.mid"));
    if (!message.isNull())
        QCOMPARE(message, QStringLiteral("esiste già, vuoi sostituirlo?"));

    for (const QString& name : names) {
        const QString base = name.section(QLatin1Char('.'), 0, 0);
        const QByteArray content = readFile(dest() + QLatin1Char('/') + name);
        const bool existed = base == QLatin1String("a") || base == QLatin1String("c");
        const QByteArray expected = !existed || replaced.split(QLatin1Char(' ')).contains(base)
            ? "new " + name.toUtf8() : QByteArray("old");
        QCOMPARE(content, expected);
    }
}

void TestCopyFiles::companions_data()
{
    QTest::addColumn<QString>("song");
    QTest::addColumn<QString>("companion");     // empty: none
    QTest::addColumn<bool>("existAtDest");      // song and companion already at the destination
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("newAtDest");        // both hold the new content afterwards
    QTest::addColumn<int>("copied");

    QTest::newRow("companion copied along") << "song.mp3" << "song.cdg" << false << -1 << true << 1;
    QTest::newRow("upper-case extension") << "SONG.MP3" << "SONG.cdg" << false << -1 << true << 1;
    QTest::newRow("no companion") << "song.mp3" << "" << false << -1 << true << 1;
    // The companion is replaced together with the song the user replaces.
    QTest::newRow("both replaced") << "song.mp3" << "song.cdg" << true << 0 << true << 1;
    QTest::newRow("both kept") << "song.mp3" << "song.cdg" << true << 2 << false << 0;
}

void TestCopyFiles::companions()
{
    QFETCH(QString, song);
    QFETCH(QString, companion);
    QFETCH(bool, existAtDest);
    QFETCH(int, answer);
    QFETCH(bool, newAtDest);
    QFETCH(int, copied);

    const QStringList sources = makeSources({song});
    if (!companion.isEmpty())
        QVERIFY(writeFile(src() + QLatin1Char('/') + companion, "new graphics"));
    if (existAtDest) {
        QVERIFY(writeFile(dest() + QLatin1Char('/') + song, "old"));
        QVERIFY(writeFile(dest() + QLatin1Char('/') + companion, "old"));
    }

    MainWindow w;
    importWithoutSummary(w, sources);
    ModalScript script;
    if (answer >= 0)
        script.answer(answer);
    int count = -1;
    QVERIFY(w.copyFiles(dest(), count));
    QCOMPARE(count, copied);
    QVERIFY(script.done());
    QCOMPARE(script.unexpected, QStringList());

    QCOMPARE(readFile(dest() + QLatin1Char('/') + song), newAtDest ? "new " + song.toUtf8() : QByteArray("old"));
    if (!companion.isEmpty())
        QCOMPARE(readFile(dest() + QLatin1Char('/') + companion),
                 newAtDest ? QByteArray("new graphics") : QByteArray("old"));
    else
        QCOMPARE(QDir(dest()).entryList(QDir::Files), QStringList{song});
}

void TestCopyFiles::samePath_data()
{
    QTest::addColumn<QString>("destination");   // "src", "SRC" (letter case only) or "link" (a link to src)
    QTest::newRow("same path") << "src";
    QTest::newRow("letter case only") << "SRC";
    // Replacing the target would delete the source.
    QTest::newRow("link to the source folder") << "link";
}

void TestCopyFiles::samePath()
{
    QFETCH(QString, destination);
    const QStringList sources = makeSources({"a.mid", "b.mp3", "b.cdg"}).mid(0, 2);
    QString destDir = src();
    if (destination == QLatin1String("SRC"))
        destDir = root->path() + QStringLiteral("/SRC");
    else if (destination == QLatin1String("link")) {
        destDir = root->path() + QStringLiteral("/link");
        QVERIFY(QFile::link(src(), destDir));
    }
    const QDateTime before = QFileInfo(sources.first()).lastModified();

    MainWindow w;
    importWithoutSummary(w, sources);
    ModalScript script;
    LogCapture log;
    int count = -1;
    QVERIFY(w.copyFiles(destDir, count));
    QCOMPARE(count, 2);
    QCOMPARE(script.seen.size() + script.unexpected.size(), 0);
    QVERIFY(log.lines().filter(QStringLiteral("Copying file:")).isEmpty());
    QCOMPARE(readFile(sources[0]), QByteArray("new a.mid"));
    QCOMPARE(readFile(sources[1]), QByteArray("new b.mp3"));
    QCOMPARE(readFile(src() + QStringLiteral("/b.cdg")), QByteArray("new b.cdg"));
    QCOMPARE(QFileInfo(sources.first()).lastModified(), before);
}

void TestCopyFiles::cancel_data()
{
    QTest::addColumn<bool>("beforeStart");
    QTest::newRow("before the first file") << true;
    QTest::newRow("during the overwrite question") << false;
}

void TestCopyFiles::cancel()
{
    QFETCH(bool, beforeStart);
    const QStringList sources = makeSources({"a.mid", "b.mid", "c.mid"});
    QVERIFY(writeFile(dest() + QStringLiteral("/a.mid"), "old"));

    MainWindow w;
    importWithoutSummary(w, sources);
    QProgressDialog* progress = currentProgress(w);
    QVERIFY(progress);
    QPushButton* stop = progress->findChild<QPushButton*>();
    QVERIFY(stop);
    ModalScript script;
    if (beforeStart)
        stop->click();
    else
        script.then("NoCopyrightDialog", [stop](QWidget* d) {
            stop->click();
            ModalScript::button(d, "yesPushButton")->click();
        });

    int count = -1;
    QVERIFY(!w.copyFiles(dest(), count));
    QCOMPARE(count, 0);
    QVERIFY(script.done());
    // The file in progress is finished, nothing after it is copied.
    QCOMPARE(readFile(dest() + QStringLiteral("/a.mid")), beforeStart ? QByteArray("old") : QByteArray("new a.mid"));
    QCOMPARE(QDir(dest()).entryList(QDir::Files), QStringList{"a.mid"});
}

void TestCopyFiles::failedCopyCountsAndGoesOn()
{
    const QStringList sources = makeSources({"a.mid", "gone.mid", "b.mp3", "b.cdg"}).mid(0, 3);
    // A companion the destination cannot take: a folder of its name is there.
    QVERIFY(QDir().mkpath(dest() + QStringLiteral("/b.cdg")));

    MainWindow w;
    importWithoutSummary(w, sources);
    QVERIFY(QFile::remove(sources[1]));
    ModalScript script;
    int count = -1;
    QVERIFY(!w.copyFiles(dest(), count));
    QCOMPARE(count, 1);
    QCOMPARE(readFile(dest() + QStringLiteral("/a.mid")), QByteArray("new a.mid"));
    QCOMPARE(script.seen.size() + script.unexpected.size(), 0);
}

QTEST_MAIN(TestCopyFiles)
#include "tst_copyfiles.moc"
