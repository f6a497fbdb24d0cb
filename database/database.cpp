#include "database/database.h"

#include <QDebug>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QVariant>

// The catalogue resource lives in this static library; register it once
// before the first use, since nothing pulls its object file in by itself.
static void initSongsDbResource()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(songsdb);
        return true;
    }();
    Q_UNUSED(done);
}

namespace {

const char* const kSelectColumns =
    "SELECT title,artist,genre,author,length,bpm,key,markers,altartist FROM songs ";

qint32 numberOrMinusOne(const QVariant& value)
{
    if (value.isNull())
        return -1;
    bool ok = false;
    const int n = value.toInt(&ok);
    return ok ? n : -1;
}

} // namespace

Database::Database()
{
    initSongsDbResource();
}

Database::~Database()
{
    // Release both connections (the catalogue's before its file goes away), so
    // a later Database can open them again under the same names. Whoever holds
    // a model on the library must have deleted it by now.
    for (QSqlDatabase* db : {&songsDb, &userLibDb}) {
        if (!db->isValid())
            continue;
        const QString name = db->connectionName();
        db->close();
        *db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    delete tmpDbFile;
}

bool Database::init()
{
    userLibDb = QSqlDatabase::addDatabase("QSQLITE", "con_mem");
    userLibDb.setDatabaseName(":memory:");
    if (!userLibDb.open())
        return false;

    // Workflows address songs by id: AUTOINCREMENT never gives an id out
    // again, even after the library was emptied for a new import.
    QSqlQuery create(userLibDb);
    create.exec("create table usersongs (id integer primary key autoincrement, type varchar, title varchar, "
                "artist varchar, genre varchar, author varchar, length varchar, userbpm int, "
                "key varchar, filename varchar, shortname varchar, status int)");

    if (QFile::exists("songsdb_debug")) {
        qDebug() << "Using local file: 'songsdb_debug' as database";
        songsDb = QSqlDatabase::addDatabase("QSQLITE", "con_songsdb");
        songsDb.setDatabaseName("songsdb_debug");
    } else {
        tmpDbFile = new QTemporaryFile();
        if (!tmpDbFile->open()) {
            qDebug() << "[Database::init] FATAL: Unable to create temporary files !!!";
            return false;
        }
        qDebug() << "[Database::init] Created temporary db file: " << tmpDbFile->fileName();

        QFile resource(":/db/songsdb");
        if (!resource.open(QIODevice::ReadOnly)) {
            qDebug() << "[Database::init] FATAL: Unable to open db resource file !!!";
            return false;
        }
        const QByteArray image = resource.readAll();
        resource.close();
        // A short copy would leave SQLite a truncated catalogue: refuse it.
        if (tmpDbFile->write(image) != image.size() || !tmpDbFile->flush()) {
            qDebug() << "[Database::init] FATAL: Unable to write temporary db file !!!";
            return false;
        }
        songsDb = QSqlDatabase::addDatabase("QSQLITE", "con_songsdb");
        songsDb.setDatabaseName(tmpDbFile->fileName());
    }

    if (!songsDb.open())
        return false;
    populateGenresList();
    populateArtistsList();
    return true;
}

QSqlDatabase* Database::userLibraryDb()
{
    return &userLibDb;
}

bool Database::clearUserLibraryDb()
{
    QSqlQuery query(userLibDb);
    return query.exec("DELETE from usersongs");
}

void Database::fillRecord(const QSqlQuery& query, SongsDbRecord& record)
{
    record.title = query.value(0).toString().trimmed();
    record.artist = query.value(1).toString().trimmed();
    record.genre = query.value(2).toString().trimmed();
    record.author = query.value(3).toString().trimmed();
    record.length = numberOrMinusOne(query.value(4));
    record.bpm = numberOrMinusOne(query.value(5));
    record.key = query.value(6).toString().trimmed();
    splitMarkers(query.value(7).toString().trimmed(), record.markers);
    record.altArtist = query.value(8).toString().trimmed();
}

// Names and titles travel as bound values and match exactly apart from
// letter case (ASCII letters): LIKE would take "_" and "%" in a user's file
// name as wildcards and complete "torna_01" with the record of TORNAA01.
bool Database::getRecordByFilename(const QString& name, SongsDbRecord& record)
{
    QSqlQuery query(songsDb);
    if (!query.prepare(QString(kSelectColumns) + "WHERE filename = ? COLLATE NOCASE"))
        return false;
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return false;
    fillRecord(query, record);
    return true;
}

// A title the catalogue holds more than once names no song.
bool Database::getRecordByTitle(const QString& title, SongsDbRecord& record)
{
    QSqlQuery query(songsDb);
    if (!query.prepare(QString(kSelectColumns) + "WHERE title = ? COLLATE NOCASE LIMIT 2"))
        return false;
    query.addBindValue(title);
    if (!query.exec() || !query.next())
        return false;
    SongsDbRecord found;
    fillRecord(query, found);
    if (query.next()) {
        qDebug() << "[getRecordByTitle] WARNING: multiple reusults in query, aborting !!!";
        return false;
    }
    record = found;
    return true;
}

void Database::splitMarkers(const QString& text, QList<Marker>& markers)
{
    markers.clear();
    const QStringList fields = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (fields.size() < 2)
        return;
    for (int i = 0; i + 1 < fields.size(); i += 2) {
        bool ok = false;
        const int bar = fields.at(i).toInt(&ok, 10);
        if (!ok || bar < 0)
            continue;
        markers.append(Marker{fields.at(i + 1), bar});
    }
}

void Database::populateList(const QString& statement, QStringList& list)
{
    list.clear();
    QSqlQuery query(songsDb);
    if (!query.exec(statement))
        return;
    while (query.next()) {
        const QString value = query.value(0).toString().trimmed();
        if (!value.isEmpty())
            list.append(value);
    }
}

void Database::populateGenresList()
{
    populateList("select distinct genre from songs", genres);
}

void Database::populateArtistsList()
{
    populateList("select distinct altartist from songs", artists);
}

QStringList& Database::genresList()
{
    return genres;
}

QStringList& Database::artistsList()
{
    return artists;
}
