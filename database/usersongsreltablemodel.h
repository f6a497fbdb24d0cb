#ifndef DATABASE_USERSONGSRELTABLEMODEL_H
#define DATABASE_USERSONGSRELTABLEMODEL_H

#include <QHash>
#include <QSqlDatabase>
#include <QSqlRelationalTableModel>
#include <QVector>

#include "database/database.h"
#include "songfiles/songinfo.h"

// The library table "usersongs" as the main window shows and edits it.
//
// Songs are written with SQL, a whole batch in one transaction, and the table
// is then read again with one select(). The base's change cache, which keeps
// every row written since the last select and which every later write, row
// count and cell look-up walks, is left empty: with thousands of songs it
// made every workflow quadratic. A change made through the base's own
// setData() or removeRows() is still written at once (OnFieldChange).
//
// Every select() fetches the whole table within one model reset, so the
// row accessors and the view see every row.
class UserSongsRelTableModel : public QSqlRelationalTableModel
{
    Q_OBJECT

public:
    // What becomes of one listed song: its status and its details, each when given.
    struct SongUpdate
    {
        qint64 id = -1;
        bool hasStatus = true;
        Database::statusEnum status = Database::StatusNone;
        bool hasDetails = false;
        SongInfo details; // written as updateRow() writes them
    };

    UserSongsRelTableModel(QObject* parent, QSqlDatabase db);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool select() override;
    // Deletes the rows' songs from the table at once and reads it again.
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    void setFiledsIndexes();
    void setHeaderLabels();

    int goodRowCount();
    // The row's song id, column "id" of the table (-1 past the last row).
    qint64 songId(int row);
    QString fileName(int row);
    QString shortName(int row);
    int status(int row);
    void setStatus(int row, Database::statusEnum status);
    QModelIndex rowIndex(int row);

    // One song: written at once, then the table is read again. For many
    // songs, addSongs() and updateSongs() write them together.
    void updateRow(int row, const SongInfo& info);
    bool addSong(const SongInfo& info);

    // Appends a row for each song, as addSong() would, in one transaction;
    // false (and nothing added) when the table refused one.
    bool addSongs(const QVector<SongInfo>& songs);
    // Writes each song's status (and details) into its row, found by id, in
    // one transaction; songs no longer listed are passed over.
    bool updateSongs(const QVector<SongUpdate>& updates);
    // The row showing the song `id`, -1 when none does.
    int rowOfSong(qint64 id);

    int colIdxFilename() const { return idxFilename; }
    int colIdxStatus() const { return idxStatus; }

    // "mm:ss" (each part at least two digits), empty for a negative length.
    static QString lengthText(qint32 seconds);

private:
    void fetchAll();
    QVariant cell(int row, int column);
    // Runs `write` (given the library store) in one transaction, then reads
    // the table again.
    template <typename Write> bool writeTogether(Write write);

    QHash<qint64, int> rowsById; // filled at the first look-up after the rows changed

    qint32 idxType = -1;
    qint32 idxTitle = -1;
    qint32 idxArtist = -1;
    qint32 idxGenre = -1;
    qint32 idxAuthor = -1;
    qint32 idxLength = -1;
    qint32 idxUserbpm = -1;
    qint32 idxKey = -1;
    qint32 idxFilename = -1;
    qint32 idxShortname = -1;
    qint32 idxStatus = -1;
};

#endif
