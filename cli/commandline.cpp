#include "cli/commandline.h"

#include "cli/clicommands.h"
#include "cli/clihelp.h"
#include "cli/clihost.h"
#include "cli/console.h"
#include "library/songedit.h"

#include <algorithm>

int CommandLine::run(const QStringList& args)
{
    if (args.isEmpty())
        return usageError(tr("manca il comando"), QString());
    const QString& first = args.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        console.out(CliHelp::toolHelp());
        return StatusDone;
    }
    if (first == QLatin1String("--version")) {
        console.out(CliHelp::version());
        return StatusDone;
    }

    CliHelp::Command help;
    if (first == QLatin1String("help")) {
        if (args.size() == 1) {
            console.out(CliHelp::toolHelp());
            return StatusDone;
        }
        if (args.size() > 2 || !CliHelp::command(args.at(1), help))
            return usageError(tr("comando sconosciuto: %1").arg(args.mid(1).join(QLatin1Char(' '))), QString());
        console.out(CliHelp::commandHelp(help));
        return StatusDone;
    }
    if (!CliHelp::command(first, help))
        return usageError(tr("comando sconosciuto: %1").arg(first), QString());

    const QStringList rest = args.mid(1);
    const int endOfOptions = rest.indexOf(QStringLiteral("--"));
    const int helpAt = rest.indexOf(QStringLiteral("--help"));
    if (helpAt >= 0 && (endOfOptions < 0 || helpAt < endOfOptions)) {
        console.out(CliHelp::commandHelp(help));
        return StatusDone;
    }

    Arguments parsed;
    parsed.command = first;
    QString problem;
    if (!parse(rest, help.options, parsed, problem) || !check(parsed, problem))
        return usageError(problem, first);

    CliHost::catchInterrupt();
    CliCommands commands(console, parsed);
    return commands.run();
}

int CommandLine::usageError(const QString& problem, const QString& commandName)
{
    CliHelp::Command help;
    const QString synopsis = CliHelp::command(commandName, help) ? help.synopsis
                                                                  : tr("COMANDO [OPZIONE]... ARGOMENTO...");
    console.err(CliHelp::program() + QStringLiteral(": ") + problem);
    console.err(CliHelp::wrapped(CliHelp::usage(synopsis), 80, 4));
    console.err(CliHelp::tryHelp(commandName));
    return StatusUsage;
}

bool CommandLine::parse(const QStringList& args, const QList<CliHelp::Option>& options, Arguments& parsed,
                        QString& problem) const
{
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            parsed.plain << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }

        // "--to FOLDER" or "--to=FOLDER".
        const int equals = arg.startsWith(QLatin1String("--")) ? arg.indexOf(QLatin1Char('=')) : -1;
        const QString name = equals < 0 ? arg : arg.left(equals);
        // An option's help gives its syntax: "--json", or "--to FOLDER" for one that takes a value.
        const auto rule = std::find_if(options.begin(), options.end(), [&name](const CliHelp::Option& o) {
            return o.syntax.section(QLatin1Char(' '), 0, 0) == name;
        });
        if (rule == options.end()) {
            problem = tr("opzione sconosciuta: %1").arg(name);
            return false;
        }
        if (parsed.has(name)) {
            problem = tr("opzione data due volte: %1").arg(name);
            return false;
        }
        if (!rule->syntax.contains(QLatin1Char(' '))) {
            if (equals >= 0) {
                problem = tr("l'opzione %1 non vuole un valore").arg(name);
                return false;
            }
            parsed.flags.insert(name);
            continue;
        }
        if (equals >= 0) {
            parsed.values.insert(name, arg.mid(equals + 1));
        } else if (i + 1 < args.size()) {
            parsed.values.insert(name, args.at(++i));
        } else {
            problem = tr("l'opzione %1 vuole un valore").arg(name);
            return false;
        }
    }
    return true;
}

bool CommandLine::check(const Arguments& parsed, QString& problem) const
{
    const QString& command = parsed.command;
    if (command == QLatin1String("index")) {
        static const QStringList actions = {QStringLiteral("rebuild"), QStringLiteral("update"),
                                            QStringLiteral("check")};
        if (parsed.plain.isEmpty() || !actions.contains(parsed.plain.first()))
            problem = tr("index vuole rebuild, update o check");
        else if (parsed.plain.size() != 2)
            problem = tr("index %1 vuole una sola memoria").arg(parsed.plain.first());
        else if (parsed.plain.first() == QLatin1String("check") && parsed.has(QStringLiteral("--eject")))
            problem = tr("--eject vale solo con rebuild e update");
        return problem.isEmpty();
    }
    if (command == QLatin1String("list")) {
        if (parsed.plain.size() != 1)
            problem = tr("list vuole una sola memoria");
        else if (parsed.has(QStringLiteral("--by")) && parsed.value(QStringLiteral("--by")) != QLatin1String("title")
                 && parsed.value(QStringLiteral("--by")) != QLatin1String("artist"))
            problem = tr("--by vuole title o artist, non \"%1\"").arg(parsed.value(QStringLiteral("--by")));
        else if (parsed.has(QStringLiteral("-o")) && parsed.value(QStringLiteral("-o")).isEmpty())
            problem = tr("-o vuole un nome di file");
        return problem.isEmpty();
    }

    if (parsed.plain.isEmpty()) {
        problem = tr("nessun file di song indicato");
        return false;
    }
    if ((command == QLatin1String("backup") || command == QLatin1String("transfer"))
        && parsed.value(QStringLiteral("--to")).isEmpty()) {
        problem = tr("manca l'opzione %1").arg(QStringLiteral("--to"));
        return false;
    }
    if (parsed.flags.contains(QStringLiteral("--replace")) && parsed.flags.contains(QStringLiteral("--keep"))) {
        problem = tr("--replace e --keep si escludono a vicenda");
        return false;
    }
    if (parsed.has(QStringLiteral("--memory")) && parsed.value(QStringLiteral("--memory")).isEmpty()) {
        problem = tr("--memory vuole una cartella");
        return false;
    }
    if (command != QLatin1String("set"))
        return true;

    if (parsed.values.isEmpty()) {
        problem = tr("nessun dato da scrivere: indicare almeno una tra --title, --artist, --genre, --author, "
                     "--length, --bpm e --key");
        return false;
    }
    int seconds = 0;
    const QString length = parsed.value(QStringLiteral("--length"));
    if (!length.isEmpty() && !SongEdit::lengthFromText(length, seconds)) {
        problem = tr("durata non valida: \"%1\" (mm:ss, fino a due cifre per parte)").arg(length);
        return false;
    }
    const QString bpm = parsed.value(QStringLiteral("--bpm"));
    if (!SongEdit::fitsField(bpm, SongEdit::TempoDigits)) {
        problem = tr("tempo non valido: \"%1\" (fino a tre cifre)").arg(bpm);
        return false;
    }
    const QString key = parsed.value(QStringLiteral("--key"));
    if (!key.isEmpty() && !SongEdit::keyNames().contains(key)) {
        problem = tr("tonalità sconosciuta: \"%1\" (una di: %2)")
                      .arg(key, SongEdit::keyNames().join(QStringLiteral(", ")));
        return false;
    }
    return true;
}
