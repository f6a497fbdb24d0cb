#include "mainwindow/reportbox.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>

namespace {

// More would push the box's buttons off a small screen.
const int kListedInText = 8;

QString describe(const SongOutcome& song)
{
    const QString path = QDir::toNativeSeparators(song.path);
    return song.reason.isEmpty() ? path : path + QStringLiteral(": ") + song.reason;
}

} // namespace

void fillReport(QMessageBox& box, const QStringList& lines, const QVector<ReportList>& lists)
{
    QStringList text = lines;
    QStringList details;
    for (const ReportList& list : lists) {
        if (list.items.isEmpty())
            continue;
        if (!text.isEmpty())
            text << QString();
        text << list.heading;
        text += list.items.mid(0, kListedInText);
        if (list.items.size() > kListedInText)
            text << QCoreApplication::translate("ReportBox", "... e altri %1 (vedi i dettagli)")
                        .arg(list.items.size() - kListedInText);
        if (!details.isEmpty())
            details << QString();
        details << list.heading;
        details += list.items;
    }
    if (!details.isEmpty())
        box.setDetailedText(details.join(QLatin1Char('\n')));
    box.setInformativeText(text.join(QLatin1Char('\n')));
}

ReportList songList(const QString& heading, const SongOutcomes& songs)
{
    ReportList list{heading, {}};
    for (const SongOutcome& song : songs)
        list.items << describe(song);
    return list;
}

void fillReport(QMessageBox& box, const QStringList& lines, const QString& heading, const SongOutcomes& songs)
{
    fillReport(box, lines, {songList(heading, songs)});
}
