#include "database/usersongsreltablemodel.h"

#include <QSqlField>
#include <QSqlRecord>

UserSongsRelTableModel::UserSongsRelTableModel(QObject* parent, QSqlDatabase db)
    : QSqlRelationalTableModel(parent, db)
{
    setTable("usersongs");
    setFiledsIndexes();
    setEditStrategy(QSqlTableModel::OnFieldChange);
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
    fetchAll();
    setData(index(row, idxStatus), static_cast<int>(status), Qt::EditRole);
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
    const struct {
        int column;
        QVariant value;
    } cells[] = {
        {idxTitle, info.title},
        {idxArtist, info.artist},
        {idxGenre, info.genre},
        {idxAuthor, info.author},
        {idxLength, lengthText(info.length)},
        {idxUserbpm, info.userBpm < 0 ? 0 : info.userBpm},
        {idxKey, info.key},
    };
    for (const auto& c : cells) {
        fetchAll();
        setData(index(row, c.column), c.value, Qt::EditRole);
    }
}

bool UserSongsRelTableModel::addSong(const SongInfo& info)
{
    const struct {
        const char* name;
        QVariant::Type type;
        QVariant value;
    } fields[] = {
        {"type", QVariant::String, info.format},
        {"title", QVariant::String, info.title},
        {"artist", QVariant::String, info.artist},
        {"genre", QVariant::String, info.genre},
        {"author", QVariant::String, info.author},
        {"length", QVariant::String, lengthText(info.length)},
        {"userbpm", QVariant::Int, info.userBpm},
        {"key", QVariant::String, info.key},
        {"filename", QVariant::String, info.filename},
        {"shortname", QVariant::String, info.shortname},
        {"status", QVariant::String, static_cast<int>(Database::StatusNone)},
    };
    QSqlRecord record;
    for (const auto& f : fields) {
        QSqlField field(f.name, f.type);
        field.setValue(f.value);
        record.append(field);
    }
    return insertRecord(-1, record);
}
