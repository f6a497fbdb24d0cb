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

void fillReport(QMessageBox& box, const QStringList& lines, const QString& heading, const SongOutcomes& songs)
{
    QStringList text = lines;
    if (!songs.isEmpty()) {
        if (!text.isEmpty())
            text << QString();
        text << heading;
        QStringList all;
        for (const SongOutcome& song : songs)
            all << describe(song);
        text += all.mid(0, kListedInText);
        if (all.size() > kListedInText)
            text << QCoreApplication::translate("ReportBox", "... e altri %1 (vedi i dettagli)")
                        .arg(all.size() - kListedInText);
        box.setDetailedText(heading + QLatin1Char('\n') + all.join(QLatin1Char('\n')));
    }
    box.setInformativeText(text.join(QLatin1Char('\n')));
}
