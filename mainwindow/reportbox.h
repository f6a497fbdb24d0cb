#ifndef MAINWINDOW_REPORTBOX_H
#define MAINWINDOW_REPORTBOX_H

#include <QStringList>
#include <QVector>

#include "library/songoutcome.h"

class QMessageBox;

// One list of a report box: a heading and its lines.
struct ReportList
{
    QString heading;
    QStringList items;
};

// `songs` as a report's list: each with its path and reason.
ReportList songList(const QString& heading, const SongOutcomes& songs);

// Fills a workflow's report box: `lines` (what became of the songs) and,
// after each list's heading, the first few of its items in the box's text;
// every one of them in its details. Empty lists are left out.
void fillReport(QMessageBox& box, const QStringList& lines, const QVector<ReportList>& lists);

// The same with one list: `songs`, each with its path and reason.
void fillReport(QMessageBox& box, const QStringList& lines, const QString& heading, const SongOutcomes& songs);

#endif
