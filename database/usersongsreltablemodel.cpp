#include "database/usersongsreltablemodel.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const char* const kDetailColumns = "title = ?, artist = ?, genre = ?, author = ?, length = ?, userbpm = ?, key = ?";

// A statement of a batch failed: said in the log, and the batch stops.
bool failed(const char* origin, const QSqlQuery& q)
{
    qDebug() << origin << "WARNING: library table not written:" << q.lastError().text();
    return false;
}

} // namespace

UserSongsRelTableModel::UserSongsRelTableModel(QObject* parent, QSqlDatabase db)
    : QSqlRelationalTableModel(parent, db)
{
    setTable("usersongs");
    setFiledsIndexes();
    setEditStrategy(QSqlTableModel::OnFieldChange);
    // Rows move when the table is read again, sorted, or changed.
    const auto forgetRows = [this]() { rowsById.clear(); };
    connect(this, &QAbstractItemModel::modelReset, this, forgetRows);
    connect(this, &QAbstractItemModel::rowsInserted, this, forgetRows);
    connect(this, &QAbstractItemModel::rowsRemoved, this, forgetRows);
}

QVariant UserSongsRelTableModel::data(const QModelIndex& index, int role) const
{
    return QSqlRelationalTableModel::data(index, role);
}

void UserSongsRelTableModel::setFiledsIndexes()
{
    idxType = fieldIndex("type");
    idxTitle = fieldIndex("title");
    idxArtist = fieldIndex("artist");
    idxGenre = fieldIndex("genre");
    idxAuthor = fieldIndex("author");
    idxLength = fieldIndex("length");
    idxUserbpm = fieldIndex("userbpm");
    idxKey = fieldIndex("key");
    idxFilename = fieldIndex("filename");
    idxShortname = fieldIndex("shortname");
    idxStatus = fieldIndex("status");
}

void UserSongsRelTableModel::setHeaderLabels()
{
    const struct {
        int column;
        QString text;
    } labels[] = {
        {0, tr("Num")},
        {idxType, tr("Formato")},
        {idxTitle, tr("Titolo")},
        {idxArtist, tr("Artista")},
        {idxGenre, tr("Genere")},
        {idxAuthor, tr("Autore")},
        {idxLength, tr("Durata")},
        {idxUserbpm, tr("Bpm")},
        {idxKey, tr("Tonalita'")},
        {idxFilename, QString("")},
        {idxShortname, tr("Nome file")},
        {idxStatus, tr("Stato")},
    };
    for (const auto& label : labels)
        setHeaderData(label.column, Qt::Horizontal, label.text, Qt::EditRole);
}

// The SQLite driver cannot size a result, so the base model fetches lazily in
// blocks; every row access first fetches everything to see the whole table.
void UserSongsRelTableModel::fetchAll()
{
    while (canFetchMore(QModelIndex()))
        fetchMore(QModelIndex());
}

// The whole table within one reset: fetched block by block after it, each
// block would reach the view as rows inserted one by one into its header.
bool UserSongsRelTableModel::select()
{
    beginResetModel();
    const bool ok = QSqlRelationalTableModel::select();
    if (ok)
        fetchAll();
    endResetModel();
    return ok;
}

bool UserSongsRelTableModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > goodRowCount())
        return false;
    QVector<qint64> ids;
    for (int r = row; r < row + count; ++r)
        ids << songId(r);
    return writeTogether([&ids](QSqlDatabase& db) {
        const char* origin = "[UserSongsRelTableModel::removeRows]";
        QSqlQuery q(db);
        if (!q.prepare(QStringLiteral("DELETE FROM usersongs WHERE id = ?")))
            return failed(origin, q);
        for (qint64 id : ids) {
            q.addBindValue(id);
            if (!q.exec())
                return failed(origin, q);
        }
        return true;
    });
}

template <typename Write> bool UserSongsRelTableModel::writeTogether(Write write)
{
    QSqlDatabase db = database();
    const bool ok = db.transaction() && write(db) && db.commit();
    if (!ok) {
        if (db.lastError().isValid())
            qDebug() << "[UserSongsRelTableModel] WARNING: batch not written:" << db.lastError().text();
        db.rollback();
    }
    // Read again either way: a failed batch leaves the table as it was.
    select();
    return ok;
}

int UserSongsRelTableModel::rowOfSong(qint64 id)
{
    fetchAll();
    if (rowsById.isEmpty()) {
        const int count = rowCount();
        rowsById.reserve(count);
        for (int row = 0; row < count; ++row)
            rowsById.insert(index(row, 0).data(Qt::EditRole).toLongLong(), row);
    }
    return rowsById.value(id, -1);
}

// The stored value: a view may show a column in another form.
QVariant UserSongsRelTableModel::cell(int row, int column)
{
    fetchAll();
    return index(row, column).data(Qt::EditRole);
}

int UserSongsRelTableModel::goodRowCount()
{
    fetchAll();
    return rowCount();
}

qint64 UserSongsRelTableModel::songId(int row)
{
    const QVariant id = cell(row, 0);
    return id.isValid() ? id.toLongLong() : -1;
}

QString UserSongsRelTableModel::fileName(int row)
{
    return cell(row, idxFilename).toString();
}

QString UserSongsRelTableModel::shortName(int row)
{
    return cell(row, idxShortname).toString();
}

int UserSongsRelTableModel::status(int row)
{
    return cell(row, idxStatus).toInt();
}

void UserSongsRelTableModel::setStatus(int row, Database::statusEnum status)
{
    SongUpdate update;
    update.id = songId(row);
    update.status = status;
    if (update.id >= 0)
        updateSongs({update});
}

QModelIndex UserSongsRelTableModel::rowIndex(int row)
{
    fetchAll();
    return index(row, 0);
}

QString UserSongsRelTableModel::lengthText(qint32 seconds)
{
    if (seconds < 0)
        return QString();
    return QString("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void UserSongsRelTableModel::updateRow(int row, const SongInfo& info)
{
    SongUpdate update;
    update.id = songId(row);
    update.hasStatus = false;
    update.hasDetails = true;
    update.details = info;
    if (update.id >= 0)
        updateSongs({update});
}

bool UserSongsRelTableModel::addSong(const SongInfo& info)
{
    return addSongs({info});
}

bool UserSongsRelTableModel::addSongs(const QVector<SongInfo>& songs)
{
    if (songs.isEmpty())
        return true;
    return writeTogether([&songs](QSqlDatabase& db) {
        const char* origin = "[UserSongsRelTableModel::addSongs]";
        QSqlQuery q(db);
        if (!q.prepare(QStringLiteral("INSERT INTO usersongs (type, title, artist, genre, author, length, userbpm, "
                                      "key, filename, shortname, status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")))
            return failed(origin, q);
        for (const SongInfo& info : songs) {
            // Bound as the base model bound its own inserts: a null text is
            // stored as NULL, a negative tempo as it is.
            for (const QVariant& value : {QVariant(info.format), QVariant(info.title), QVariant(info.artist),
                                          QVariant(info.genre), QVariant(info.author),
                                          QVariant(lengthText(info.length)), QVariant(info.userBpm),
                                          QVariant(info.key), QVariant(info.filename), QVariant(info.shortname),
                                          QVariant(static_cast<int>(Database::StatusNone))})
                q.addBindValue(value);
            if (!q.exec())
                return failed(origin, q);
        }
        return true;
    });
}

bool UserSongsRelTableModel::updateSongs(const QVector<SongUpdate>& updates)
{
    if (updates.isEmpty())
        return true;
    return writeTogether([&updates](QSqlDatabase& db) {
        const char* origin = "[UserSongsRelTableModel::updateSongs]";
        // One statement for each of: status, details, both.
        QSqlQuery statements[3] = {QSqlQuery(db), QSqlQuery(db), QSqlQuery(db)};
        const QString details = QLatin1String(kDetailColumns);
        const QString texts[3] = {QStringLiteral("status = ?"), details, details + QStringLiteral(", status = ?")};
        for (int i = 0; i < 3; ++i) {
            if (!statements[i].prepare(QStringLiteral("UPDATE usersongs SET %1 WHERE id = ?").arg(texts[i])))
                return failed(origin, statements[i]);
        }
        for (const SongUpdate& u : updates) {
            if (!u.hasStatus && !u.hasDetails)
                continue;
            QSqlQuery& q = statements[!u.hasDetails ? 0 : u.hasStatus ? 2 : 1];
            if (u.hasDetails) {
                // The tempo of a song without one is stored as 0 here.
                const SongInfo& info = u.details;
                for (const QVariant& value : {QVariant(info.title), QVariant(info.artist), QVariant(info.genre),
                                              QVariant(info.author), QVariant(lengthText(info.length)),
                                              QVariant(info.userBpm < 0 ? 0 : info.userBpm), QVariant(info.key)})
                    q.addBindValue(value);
            }
            if (u.hasStatus)
                q.addBindValue(static_cast<int>(u.status));
            q.addBindValue(u.id);
            if (!q.exec())
                return failed(origin, q);
        }
        return true;
    });
}
