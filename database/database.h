#ifndef DATABASE_DATABASE_H
#define DATABASE_DATABASE_H

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include "database/songsdbrecord.h"
#include "songfiles/songinfo.h"

class QSqlQuery;
class QTemporaryFile;

// The program's two SQLite databases: the in-memory library store (table
// "usersongs") and the read-only reference catalogue shipped as ":/db/songsdb".
class Database
{
public:
    // Processing state of a library row, kept in its "status" column.
    enum statusEnum {
        StatusNone = 0,
        StatusUpdated = 1,       // completed from the catalogue and saved
        StatusManual = 2,        // edited by hand and saved
        StatusNotUpdated = 3,    // not synchronised, no reason known (the synchronisation now tells which)
        StatusNotFound = 4,      // the catalogue holds no record for the song
        StatusLeftUnchanged = 5, // not the maker's song, left as it was at the user's answer
        StatusUnreadable = 6,    // the song file could not be read
        StatusNotSaved = 7       // the song file could not be written
    };

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool init();

    QSqlDatabase* userLibraryDb();
    bool clearUserLibraryDb();

    bool getRecordByFilename(const QString& name, SongsDbRecord& record);
    bool getRecordByTitle(const QString& title, SongsDbRecord& record);

    void splitMarkers(const QString& text, QList<Marker>& markers);

    void populateGenresList();
    void populateArtistsList();
    QStringList& genresList();
    QStringList& artistsList();

private:
    void fillRecord(const QSqlQuery& query, SongsDbRecord& record);
    void populateList(const QString& statement, QStringList& list);

    QTemporaryFile* tmpDbFile = nullptr;
    QSqlDatabase songsDb;
    QSqlDatabase userLibDb;
    QStringList genres;
    QStringList artists;
};

#endif
