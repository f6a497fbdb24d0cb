#ifndef MAINWINDOW_REPORTBOX_H
#define MAINWINDOW_REPORTBOX_H

#include <QStringList>

#include "library/songoutcome.h"

class QMessageBox;

// Fills a workflow's report box: `lines` (what became of the songs) and,
// after `heading`, the first few of `songs`, each with its path and reason,
// in the box's text; every one of them in its details.
void fillReport(QMessageBox& box, const QStringList& lines, const QString& heading, const SongOutcomes& songs);

#endif
