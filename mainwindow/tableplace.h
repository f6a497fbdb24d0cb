#ifndef MAINWINDOW_TABLEPLACE_H
#define MAINWINDOW_TABLEPLACE_H

#include <QObject>
#include <QVector>

class QTableView;
class UserSongsRelTableModel;

// Keeps the library table's place while its model reads the table again
// (after every batch of songs a workflow writes, and on a sort by a header
// click): the scroll position, the current song and the selected songs
// stay, found again by their id, wherever the rows have moved.
class TablePlace : public QObject
{
public:
    TablePlace(QTableView* view, UserSongsRelTableModel* model);

private:
    void remember();
    void restore();

    QTableView* view;
    UserSongsRelTableModel* model;
    int vertical = 0;
    int horizontal = 0;
    qint64 currentId = -1;
    int currentColumn = 0;
    QVector<qint64> selectedIds;
};

#endif
