#include "cli/clicommands.h"

#include "cli/clihelp.h"
#include "cli/clihost.h"
#include "cli/console.h"
#include "library/libraryimport.h"

#include <QFileInfo>

int CliCommands::run()
{
    const QString& command = args.command;
    if (command == QLatin1String("info"))
        return info();
    if (command == QLatin1String("set"))
        return set();
    if (command == QLatin1String("sync"))
        return sync();
    if (command == QLatin1String("backup"))
        return backup();
    if (command == QLatin1String("transfer"))
        return transfer();
    if (command == QLatin1String("index"))
        return index();
    return list();
}

SongRefs CliCommands::songs() const
{
    SongRefs refs;
    for (const QString& path : args.plain)
        refs.append({refs.size(), path, LibraryImport::shortNameOf(path)});
    return refs;
}

void CliCommands::reportNotReached()
{
    const QStringList& paths = args.plain;
    for (int i = songsReached; i < paths.size(); ++i)
        songFailed(paths.at(i), tr("non fatto: lavoro interrotto"));
    songsReached = paths.size();
}

void CliCommands::songFailed(const QString& path, const QString& reason)
{
    allDone = false;
    console.err(QStringLiteral("%1: %2").arg(path, reason));
}

void CliCommands::failed(const QString& message)
{
    allDone = false;
    console.err(CliHelp::program() + QStringLiteral(": ") + message);
}

void CliCommands::warnLeftoverCopy(const QString& copy)
{
    if (!copy.isEmpty())
        console.err(tr("attenzione: un salvataggio interrotto ha lasciato la copia %1, che contiene la sua song "
                       "com'era prima; se la song è a posto, eliminala")
                        .arg(copy));
}

QString CliCommands::existingFolder(const QString& path)
{
    const QFileInfo folder(path);
    if (!folder.isDir()) {
        failed(folder.exists() ? tr("%1 non è una cartella").arg(path) : tr("la cartella %1 non esiste").arg(path));
        return QString();
    }
    return folder.absoluteFilePath();
}

QString CliCommands::memoryBusy(const QString& root) const
{
    return tr("memoria occupata: un trasferimento o un aggiornamento dell'indice è già in corso su %1; riprovare "
              "quando è terminato")
        .arg(root);
}
