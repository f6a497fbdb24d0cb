// The commands on player memories: transfer, index and list.
#include "cli/clicommands.h"

#include "cli/clihost.h"
#include "cli/console.h"
#include "index/index.h"
#include "library/memoryeject.h"
#include "library/memoryindex.h"
#include "library/memorytransfer.h"
#include "platform/removablememories.h"

#include <QFile>
#include <QStorageInfo>
#include <QTemporaryFile>

int CliCommands::transfer()
{
    const QString destination = existingFolder(args.value(QStringLiteral("--to")));
    if (destination.isEmpty())
        return status();

    // The memory: the one named; else the removable memory holding the
    // destination, as the window finds it; else the file system the
    // destination is on, unless that is the system's own.
    QString root;
    if (args.has(QStringLiteral("--memory"))) {
        root = existingFolder(args.value(QStringLiteral("--memory")));
        if (root.isEmpty())
            return status();
    } else if ((root = RemovableMemories().rootOf(destination)).isEmpty()) {
        root = QStorageInfo(destination).rootPath();
        if (root.isEmpty() || root == QLatin1String("/")) {
            failed(tr("%1 non è su una memoria rimovibile: indicarne la cartella principale con --memory")
                       .arg(destination));
            return status();
        }
    }

    CliHost host(console);
    host.replaceAnswer = args.has(QStringLiteral("--replace")) ? WorkflowHost::AnswerYesAll
                                                              : WorkflowHost::AnswerNoAll;
    host.onSong = [&](const SongOutcome& outcome) {
        reached(int(outcome.id) + 1);
        switch (outcome.outcome) {
        case SongOutcome::OutcomeCopied:
            // The memory and the player's index hold only some characters.
            if (outcome.copiedAs.isEmpty())
                console.out(tr("%1: copiata").arg(outcome.path));
            else
                console.out(tr("%1: copiata come %2").arg(outcome.path, outcome.copiedAs));
            break;
        case SongOutcome::OutcomeKept:
            console.out(tr("%1: mantenuto il file con lo stesso nome già presente (--replace lo sostituisce)")
                            .arg(outcome.path));
            break;
        default:
            songFailed(outcome.path, outcome.reason.isEmpty() ? tr("non copiata") : outcome.reason);
            break;
        }
    };

    const MemoryTransfer::Result result = MemoryTransfer(host).run(destination, songs(), root);
    switch (result.result) {
    case MemoryTransfer::ResultSystemDisk:
    case MemoryTransfer::ResultOutsideMemory:
        failed(tr("%1 non è nella memoria %2").arg(destination, root));
        return status();
    case MemoryTransfer::ResultRootNotFolder:
        failed(tr("non è possibile copiare i file nella cartella principale e la cartella songs non si può creare: "
                  "indicare una sottocartella"));
        return status();
    case MemoryTransfer::ResultReservedFolder:
        failed(tr("le cartelle BRIDGE, SFX e PLAYLIST sono riservate a funzioni specifiche del lettore: indicare "
                  "un'altra cartella"));
        return status();
    case MemoryTransfer::ResultBusy:
        failed(memoryBusy(result.root));
        return status();
    case MemoryTransfer::ResultFolderNotHoldable:
        failed(tr("il lettore non sa leggere il nome della cartella \"%1\" (caratteri speciali o punto iniziale): "
                  "indicare un'altra cartella")
                   .arg(result.folder));
        return status();
    case MemoryTransfer::ResultDone:
        break;
    }
    reportNotReached();
    if (result.copy.memoryFull) {
        int left = 0;
        for (const SongOutcome& song : result.copy.notCopied)
            left += song.reason == FileCopier::memoryFullReason() ? 1 : 0;
        failed(tr("la memoria %1 è piena: %2 song non sono state copiate").arg(result.root).arg(left));
    }
    // What was copied joins the index, also when the copy was stopped.
    if (result.indexRun && result.indexOk)
        console.out(tr("indice della memoria %1 aggiornato").arg(result.root));
    else if (result.indexRun)
        failed(tr("l'indice della memoria %1 non si è potuto aggiornare").arg(result.root));
    if (args.has(QStringLiteral("--eject")))
        eject(result.root);
    return status();
}

void CliCommands::eject(const QString& root)
{
    const QString memory = MemoryEject::memoryOf(root);
    if (memory.isEmpty()) {
        failed(tr("%1 non è una memoria rimovibile: non è stata espulsa").arg(root));
        return;
    }
    const MemoryEject::Outcome outcome = MemoryEject::eject(memory);
    if (outcome.ejected)
        console.out(outcome.text);
    else
        failed(outcome.text);
}

QString CliCommands::indexProblem(const Index& index, const QString& root)
{
    QString reason = index.lastErrorText();
    // The index's own text names the window's way to repair it.
    if (index.lastError() == Index::ErrorDamaged)
        reason = reason.section(QLatin1Char('\n'), 0, 0) + QLatin1Char(' ') + tr("(index rebuild lo ricostruisce)");
    return QStringLiteral("%1: %2").arg(root, reason);
}

int CliCommands::index()
{
    const QString action = args.plain.at(0);
    const QString root = existingFolder(args.plain.at(1));
    if (root.isEmpty())
        return status();

    Index index;
    int found = 0;
    int total = 0;
    const QString label = CliHost::phaseLabel(WorkflowHost::PhaseIndex);
    QObject::connect(&index, &Index::fileFoundChanged, [&](int count) {
        found = count;
        console.progress(label, count, 0);
    });
    QObject::connect(&index, &Index::progressMaxSetup, [&](int maximum) { total = maximum; });
    QObject::connect(&index, &Index::progressValueChanged, [&](int value) { console.progress(label, value, total); });
    // A song the player will not find (its path is too long).
    QObject::connect(&index, &Index::errorFromIndex, [&](const QString& message) {
        allDone = false;
        console.err(message);
    });

    if (action == QLatin1String("check"))
        return checkIndex(index, root);
    // A name the player cannot read does not stop the run.
    QObject::connect(&index, &Index::warningFromIndex, [&](const QString& message) { console.err(message); });

    const bool rebuild = action == QLatin1String("rebuild");
    const MemoryIndex::resultEnum result =
        MemoryIndex::run(index, root, rebuild ? MemoryIndex::ModeRebuild : MemoryIndex::ModeUpdate);
    switch (result) {
    case MemoryIndex::ResultDone:
        console.out(rebuild ? tr("indice di %1 ricostruito: %2 file di song").arg(root).arg(found)
                            : tr("indice di %1 aggiornato: %2 file di song").arg(root).arg(found));
        break;
    case MemoryIndex::ResultNoSongs:
    case MemoryIndex::ResultFailed:
        failed(indexProblem(index, root));
        break;
    case MemoryIndex::ResultBusy:
        failed(memoryBusy(root));
        break;
    }
    // Another run at work there keeps the memory in use.
    if (args.has(QStringLiteral("--eject")) && result != MemoryIndex::ResultBusy)
        eject(root);
    return status();
}

int CliCommands::checkIndex(Index& index, const QString& root)
{
    IndexReport report;
    if (MemoryIndex::check(index, root, report) == MemoryIndex::ResultBusy) {
        failed(memoryBusy(root));
        return status();
    }
    if (index.lastError() == Index::ErrorNoMemory) {
        failed(indexProblem(index, root));
        return status();
    }

    const QString base = root == QLatin1String("/") ? QString() : root;
    for (const QString& song : qAsConst(report.missingSongs))
        songFailed(base + song, tr("è nell'indice, ma il file non c'è più"));
    for (const QString& song : qAsConst(report.changedSongs))
        songFailed(base + song, tr("è cambiata dopo l'ultimo aggiornamento dell'indice"));
    // Without an index every song would be "not in the index": that is said once.
    if (report.complete) {
        for (const QString& song : qAsConst(report.newSongs))
            songFailed(base + song, tr("è sulla memoria, ma non nell'indice"));
    }
    for (const QString& song : qAsConst(report.unplayableSongs))
        songFailed(base + song, tr("il lettore non potrà aprirla: il suo nome contiene caratteri che non sa leggere"));

    if (!report.complete)
        failed(tr("%1: l'indice non è completo: %2 (index rebuild lo crea)").arg(root, report.reason));
    else if (report.damaged)
        failed(tr("%1: l'indice è danneggiato: %2 (index rebuild lo ricostruisce)").arg(root, report.reason));
    else if (!report.inStep())
        failed(tr("%1: l'indice non è al passo con le song (index update lo aggiorna)").arg(root));

    if (allDone)
        console.out(tr("indice di %1 in ordine: %2 file di song").arg(root).arg(report.songsFound));
    return status();
}

int CliCommands::list()
{
    const QString root = existingFolder(args.plain.at(0));
    if (root.isEmpty())
        return status();
    const SORT_MODE order = args.value(QStringLiteral("--by")) == QLatin1String("artist") ? SortArtist : SortTitle;
    const QString target = args.value(QStringLiteral("-o"));

    // Without a file the list goes through a scratch file to standard output.
    QTemporaryFile scratch;
    const bool toOutput = target.isEmpty() || target == QLatin1String("-");
    if (toOutput && !scratch.open()) {
        failed(tr("non si può creare un file temporaneo: %1").arg(scratch.errorString()));
        return status();
    }
    Index index;
    switch (index.saveSongsList(root, toOutput ? scratch.fileName() : target, order)) {
    case 1:
        if (toOutput && !console.outBytes(scratch.readAll()))
            failed(tr("la lista non si è potuta scrivere sullo standard output"));
        break;
    case -1:
        failed(tr("%1 non ha un indice completo: la memoria non è preparata per Orvalo (index rebuild lo crea)")
                   .arg(root));
        break;
    default:
        failed(toOutput ? tr("errore durante la creazione della lista: l'indice di %1 non si può leggere").arg(root)
                        : tr("errore durante la creazione del file %1: l'indice non si può leggere o il file non "
                             "si può scrivere")
                              .arg(target));
        break;
    }
    return status();
}
