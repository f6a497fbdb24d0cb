// Looks every song of a 1,000-song library up in the shipped catalogue, the way
// synchronisation does: by file name, and by title when the name is unknown.
#include "database/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir cwd;  // no "songsdb_debug" here: the shipped catalogue is used
    QDir::setCurrent(cwd.path());

    QElapsedTimer timer;
    timer.start();
    Database db;
    if (!db.init()) {
        out << "catalogue could not be opened\n";
        return 1;
    }
    const qint64 initMs = timer.elapsed();

    // The library: 900 catalogue songs named as users' files are (lower case),
    // and 100 songs the catalogue does not know.
    QStringList names, titles;
    QSqlQuery q(QSqlDatabase::database("con_songsdb", false));
    q.exec("select filename, title from songs order by filename");
    QStringList allNames, allTitles;
    while (q.next()) {
        allNames << q.value(0).toString();
        allTitles << q.value(1).toString();
    }
    q.finish();
    if (allNames.size() < 900) {
        out << "catalogue too small: " << allNames.size() << " songs\n";
        return 1;
    }
    const int step = allNames.size() / 900;
    for (int i = 0; i < 900; ++i) {
        names << allNames.at(i * step).toLower();
        titles << allTitles.at(i * step).toLower();
    }
    for (int i = 0; i < 100; ++i) {
        names << QString("USR%1").arg(i, 5, 10, QLatin1Char('0'));
        titles << QString("MY OWN SONG %1").arg(i);
    }

    // Count the warnings of the title lookup instead of printing them.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});

    SongsDbRecord record;
    int byName = 0, byTitle = 0;
    timer.restart();
    for (const QString& name : names)
        byName += db.getRecordByFilename(name, record);
    const qint64 nameUs = timer.nsecsElapsed() / 1000;

    timer.restart();
    for (const QString& title : titles)
        byTitle += db.getRecordByTitle(title, record);
    const qint64 titleUs = timer.nsecsElapsed() / 1000;

    timer.restart();
    int synced = 0;
    for (int i = 0; i < names.size(); ++i)
        synced += db.getRecordByFilename(names.at(i), record)
                  || db.getRecordByTitle(titles.at(i), record);
    const qint64 syncUs = timer.nsecsElapsed() / 1000;
    qInstallMessageHandler(nullptr);

    out << "catalogue copied and opened: " << initMs << " ms\n";
    out << "1000 file name lookups: " << nameUs / 1000.0 << " ms (" << byName << " found)\n";
    out << "1000 title lookups: " << titleUs / 1000.0 << " ms (" << byTitle
        << " found, the rest unknown or shared by several arrangements)\n";
    out << "1000-song library, name then title: " << syncUs / 1000.0 << " ms (" << synced
        << " found)\n";
    return 0;
}
