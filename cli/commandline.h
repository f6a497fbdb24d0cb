#ifndef CLI_COMMANDLINE_H
#define CLI_COMMANDLINE_H

#include <QCoreApplication>
#include <QStringList>

#include "cli/arguments.h"
#include "cli/clihelp.h"

class Console;

// Reads the command line, answers --help and --version, refuses wrong usage
// with a usage line (status 2) and runs the command.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum statusEnum { StatusDone = 0, StatusNotDone = 1, StatusUsage = 2 };

    explicit CommandLine(Console& console) : console(console) {}

    // `args` without the program's name; returns the exit status.
    int run(const QStringList& args);

private:
    // Splits `args` by the options the command takes (its help's); false
    // with `problem` set on wrong usage.
    bool parse(const QStringList& args, const QList<CliHelp::Option>& options, Arguments& parsed,
               QString& problem) const;
    // The checks of each command's arguments beyond their syntax.
    bool check(const Arguments& parsed, QString& problem) const;
    int usageError(const QString& problem, const QString& commandName);

    Console& console;
};

#endif
