#ifndef MAINWINDOW_TABLEPLACE_H
#define MAINWINDOW_TABLEPLACE_H

#include <QObject>
#include <QVector>

class QTableView;
class UserSongsRelTableModel;

// Keeps the library table's current song and selected songs while its model
// reads the table again (after every batch of songs a workflow writes, and on
// a sort by a header click): they are found again by their id, wherever the
// rows have moved. The scroll position stays by itself: the view keeps it
// across the reset, and the table is read whole within it.
class TablePlace : public QObject
{
public:
    TablePlace(QTableView* view, UserSongsRelTableModel* model);

private:
    void remember();
    void restore();

    QTableView* view;
    UserSongsRelTableModel* model;
    qint64 currentId = -1;
    int currentColumn = 0;
    QVector<qint64> selectedIds;
};

#endif
