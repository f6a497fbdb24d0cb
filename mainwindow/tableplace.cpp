#include "mainwindow/tableplace.h"

#include "database/usersongsreltablemodel.h"

#include <QItemSelectionModel>
#include <QTableView>

TablePlace::TablePlace(QTableView* view, UserSongsRelTableModel* model)
    : QObject(view), view(view), model(model)
{
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &TablePlace::remember);
    // After the view's own handling of the reset, which forgets all of it.
    connect(model, &QAbstractItemModel::modelReset, this, &TablePlace::restore);
}

void TablePlace::remember()
{
    const QModelIndex current = view->currentIndex();
    currentId = current.isValid() ? model->songId(current.row()) : -1;
    currentColumn = current.column();
    selectedIds.clear();
    for (const QItemSelectionRange& range : view->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            selectedIds << model->songId(row);
    }
}

void TablePlace::restore()
{
    QItemSelectionModel* selection = view->selectionModel();
    // Making a row current would scroll the view to it.
    const bool autoScroll = view->hasAutoScroll();
    view->setAutoScroll(false);
    const int currentRow = currentId < 0 ? -1 : model->rowOfSong(currentId);
    if (currentRow >= 0)
        selection->setCurrentIndex(model->index(currentRow, currentColumn), QItemSelectionModel::NoUpdate);
    QItemSelection rows;
    for (qint64 id : selectedIds) {
        const int row = model->rowOfSong(id);
        if (row >= 0)
            rows.select(model->index(row, 0), model->index(row, model->columnCount() - 1));
    }
    if (!rows.isEmpty())
        selection->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view->setAutoScroll(autoScroll);
}
