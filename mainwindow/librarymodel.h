#ifndef MAINWINDOW_LIBRARYMODEL_H
#define MAINWINDOW_LIBRARYMODEL_H

#include <QHash>
#include <QIcon>

#include "database/usersongsreltablemodel.h"

// The library table as the window shows it: the status column as a word, an
// icon and a tooltip saying what became of the song (and why, when it could
// not be read or saved), and every other cell's full text as its tooltip, so
// that a cell cut short by its column's width can still be read.
class LibraryModel : public UserSongsRelTableModel
{
    Q_OBJECT

public:
    LibraryModel(QObject* parent, QSqlDatabase db);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Why the song `id` got its status, added to the status tooltip; an
    // empty reason removes it.
    void setStatusReason(qint64 id, const QString& reason);
    void clearStatusReasons();

    static QString statusText(int status);
    static QString statusToolTip(int status);
    // Drawn here: a coloured disc with a sign; a null icon for StatusNone.
    static QIcon statusIcon(int status);

private:
    QHash<qint64, QString> reasons;
};

#endif
