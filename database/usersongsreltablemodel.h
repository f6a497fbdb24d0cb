#ifndef DATABASE_USERSONGSRELTABLEMODEL_H
#define DATABASE_USERSONGSRELTABLEMODEL_H

#include <QSqlDatabase>
#include <QSqlRelationalTableModel>

#include "database/database.h"
#include "songfiles/songinfo.h"

// The library table "usersongs" as the main window shows and edits it.
// Every change is written to the table at once (OnFieldChange).
class UserSongsRelTableModel : public QSqlRelationalTableModel
{
    Q_OBJECT

public:
    UserSongsRelTableModel(QObject* parent, QSqlDatabase db);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

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

    void updateRow(int row, const SongInfo& info);
    bool addSong(const SongInfo& info);

    int colIdxFilename() const { return idxFilename; }
    int colIdxStatus() const { return idxStatus; }

    // "mm:ss" (each part at least two digits), empty for a negative length.
    static QString lengthText(qint32 seconds);

private:
    void fetchAll();
    QVariant cell(int row, int column);

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
