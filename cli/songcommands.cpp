// The commands on song files: info, set, sync and backup.
#include "cli/clicommands.h"

#include "cli/clihost.h"
#include "cli/console.h"
#include "database/database.h"
#include "library/cataloguesync.h"
#include "library/librarybackup.h"
#include "library/libraryimport.h"
#include "library/songedit.h"
#include "songfiles/metasong.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString lengthText(int seconds)
{
    return seconds > 0 ? QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'))
                       : QString();
}

QByteArray jsonLine(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QJsonObject jsonOf(const QString& path, const SongInfo& info)
{
    QJsonArray markers;
    for (const Marker& m : info.markers)
        markers.append(QJsonObject{{QStringLiteral("bar"), m.bar}, {QStringLiteral("text"), m.text}});
    return {{QStringLiteral("file"), path},
            {QStringLiteral("format"), info.format},
            {QStringLiteral("title"), info.title},
            {QStringLiteral("artist"), info.artist},
            {QStringLiteral("genre"), info.genre},
            {QStringLiteral("author"), info.author},
            {QStringLiteral("length"), info.length},
            {QStringLiteral("bpm"), info.userBpm},
            {QStringLiteral("key"), info.key},
            {QStringLiteral("markers"), markers},
            {QStringLiteral("maker"), info.isTavrel}};
}

} // namespace

QList<QPair<QString, QString>> CliCommands::detailRows(const SongInfo& info)
{
    QStringList markers;
    for (const Marker& m : info.markers)
        markers << QStringLiteral("%1 %2").arg(m.bar).arg(m.text);
    return {{tr("Formato"), info.format},
            {tr("Titolo"), info.title},
            {tr("Interprete"), info.artist},
            {tr("Genere"), info.genre},
            {tr("Autore"), info.author},
            {tr("Durata"), lengthText(info.length)},
            {tr("BPM"), info.userBpm > 0 ? QString::number(info.userBpm) : QString()},
            {tr("Tonalità"), info.key},
            {tr("Marker"), markers.join(QLatin1Char('\n'))},
            {tr("Del produttore"), info.isTavrel ? tr("sì") : tr("no")}};
}

QString CliCommands::unreadableReason(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return tr("file non trovato");
    if (file.isDir())
        return tr("è una cartella, non un file di song");
    if (!file.isReadable())
        return tr("il file non si può leggere (permesso negato)");
    return tr("non è un file di song in un formato conosciuto, o è danneggiato");
}

QString CliCommands::notSavedReason(const SongOutcome& outcome)
{
    return outcome.reason.isEmpty() ? tr("il file non si è potuto scrivere; è rimasto com'era") : outcome.reason;
}

int CliCommands::info()
{
    const bool json = args.has(QStringLiteral("--json"));
    QList<QPair<QString, QString>> labels = detailRows(SongInfo());
    labels.prepend({tr("File"), QString()});
    int width = 0;
    for (const auto& row : labels)
        width = qMax(width, row.first.size() + 2);

    CliHost host(console);
    int count = 0;
    host.onSong = [&](const SongOutcome& outcome) {
        reached(++count);
        if (outcome.outcome != SongOutcome::OutcomeRead) {
            const QString reason = unreadableReason(outcome.path);
            if (json)
                console.outUtf8(jsonLine({{QStringLiteral("file"), outcome.path}, {QStringLiteral("error"), reason}}));
            songFailed(outcome.path, reason);
            return;
        }
        if (json) {
            console.outUtf8(jsonLine(jsonOf(outcome.path, outcome.details)));
            return;
        }
        QList<QPair<QString, QString>> rows = detailRows(outcome.details);
        rows.prepend({tr("File"), outcome.path});
        QString text;
        for (const auto& row : rows) {
            // A value of several lines keeps to its column.
            const QString value = QString(row.second).replace(QLatin1Char('\n'),
                                                              QLatin1Char('\n') + QString(width, QLatin1Char(' ')));
            text += row.second.isEmpty() ? row.first + QStringLiteral(":\n")
                                         : (row.first + QLatin1Char(':')).leftJustified(width) + value + QLatin1Char('\n');
        }
        if (count > 1)
            text.prepend(QLatin1Char('\n'));
        text.chop(1);
        console.out(text);
    };
    const LibraryImport::Summary read = LibraryImport(host).run(args.plain);
    reportNotReached();
    for (const QString& copy : read.leftoverCopies)
        warnLeftoverCopy(copy);
    return status();
}

int CliCommands::set()
{
    const SongRefs refs = songs();
    for (const SongRef& ref : refs) {
        if (CliHost::interrupted())
            break;
        reached(int(ref.id) + 1);
        MetaSong song;
        const bool read = song.importFile(ref.path);
        warnLeftoverCopy(song.leftoverCopy());
        if (!read) {
            songFailed(ref.path, unreadableReason(ref.path));
            continue;
        }
        SongInfo info;
        song.getSongInfo(info);
        info.filename = ref.path;
        // The editor trims what is typed; an option given as "" clears.
        const auto option = [this](const char* name, QString& detail) {
            if (args.has(QLatin1String(name)))
                detail = args.value(QLatin1String(name)).trimmed();
        };
        option("--title", info.title);
        option("--artist", info.artist);
        option("--genre", info.genre);
        option("--author", info.author);
        option("--key", info.key);
        if (args.has(QStringLiteral("--length"))) {
            const QString length = args.value(QStringLiteral("--length"));
            info.length = 0;
            if (!length.isEmpty())
                SongEdit::lengthFromText(length, info.length);
        }
        if (args.has(QStringLiteral("--bpm")))
            info.userBpm = args.value(QStringLiteral("--bpm")).toInt();

        const SongOutcome outcome = SongEdit::save(song, info, ref);
        if (outcome.outcome == SongOutcome::OutcomeSaved)
            console.out(tr("%1: salvata").arg(ref.path));
        else
            songFailed(ref.path, notSavedReason(outcome));
    }
    reportNotReached();
    return status();
}

int CliCommands::sync()
{
    const bool dryRun = args.has(QStringLiteral("--dry-run"));
    Database catalogue;
    if (!catalogue.init()) {
        failed(tr("il catalogo delle song non si può aprire"));
        return status();
    }

    // What each file holds before the run, to show what changed.
    const SongRefs refs = songs();
    QVector<SongInfo> before(refs.size());
    for (const SongRef& ref : refs) {
        MetaSong song;
        if (song.importFile(ref.path))
            song.getSongInfo(before[int(ref.id)]);
        warnLeftoverCopy(song.leftoverCopy());
    }

    CliHost host(console);
    host.onSong = [&](const SongOutcome& outcome) {
        reached(int(outcome.id) + 1);
        switch (outcome.outcome) {
        case SongOutcome::OutcomeUpdated: {
            const auto old = detailRows(before[int(outcome.id)]);
            const auto now = detailRows(outcome.details);
            QString changes;
            for (int i = 0; i < old.size(); ++i) {
                if (old[i].second != now[i].second)
                    changes += QStringLiteral("\n  %1: \"%2\" -> \"%3\"")
                                   .arg(old[i].first, QString(old[i].second).replace(QLatin1Char('\n'), QStringLiteral(", ")),
                                        QString(now[i].second).replace(QLatin1Char('\n'), QStringLiteral(", ")));
            }
            if (changes.isEmpty())
                console.out(dryRun ? tr("%1: nessun cambiamento").arg(outcome.path)
                                   : tr("%1: già completa, nessun cambiamento").arg(outcome.path));
            else
                console.out((dryRun ? tr("%1: cambierebbe").arg(outcome.path)
                                    : tr("%1: completata dal catalogo").arg(outcome.path))
                            + changes);
            break;
        }
        case SongOutcome::OutcomeNotFound:
            console.out(tr("%1: non è nel catalogo, lasciata com'è").arg(outcome.path));
            break;
        case SongOutcome::OutcomeLeftUnchanged:
            console.out(tr("%1: non è una song del produttore, lasciata com'è (--all la completa)").arg(outcome.path));
            break;
        case SongOutcome::OutcomeUnreadable:
            songFailed(outcome.path, unreadableReason(outcome.path));
            break;
        default:
            songFailed(outcome.path, notSavedReason(outcome));
            break;
        }
    };

    CatalogueSync::NotMakerPolicy policy;
    policy.askCopyright = false;
    policy.copyrightAnswerForAll = args.has(QStringLiteral("--all"));
    CatalogueSync sync(catalogue, host);
    sync.setDryRun(dryRun);
    sync.run(refs, policy);
    reportNotReached();
    return status();
}

int CliCommands::backup()
{
    const QString folder = existingFolder(args.value(QStringLiteral("--to")));
    if (folder.isEmpty())
        return status();

    CliHost host(console);
    host.onSong = [&](const SongOutcome& outcome) { reached(int(outcome.id) + 1); };
    QString made;
    LibraryBackup backup(host);
    switch (backup.run(folder, songs(), &made)) {
    case LibraryBackup::ResultNoFolder:
    case LibraryBackup::ResultFolderNotMade:
        failed(tr("la cartella del backup non si può creare in %1").arg(folder));
        return status();
    case LibraryBackup::ResultDone:
    case LibraryBackup::ResultCopyFailed:
    case LibraryBackup::ResultStopped:
        break;
    }
    // The songs not in the backup, and its manifest if that could not be written.
    for (const SongOutcome& outcome : backup.notBackedUp())
        songFailed(outcome.path, outcome.reason.isEmpty() ? tr("non copiata") : outcome.reason);
    reportNotReached();
    // The folder holds what was copied, also when something failed.
    console.out(made);
    return status();
}
