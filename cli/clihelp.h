#ifndef CLI_CLIHELP_H
#define CLI_CLIHELP_H

#include <QCoreApplication>
#include <QList>
#include <QString>

// Every text that describes the command line: its --help output and, through
// the man page generator, its manual page. The texts are translated, so the
// help follows the settings' language and the manual page is the English
// rendering of the same texts.
class CliHelp
{
    Q_DECLARE_TR_FUNCTIONS(CliHelp)

public:
    struct Option
    {
        QString syntax;  // "--to FOLDER"
        QString text;
    };
    struct Command
    {
        QString name;
        QString synopsis;  // after the program's name
        QString summary;   // one line
        QString description;
        QList<Option> options;
    };
    // A section of the tool's help after its commands (exit status, ...).
    struct Section
    {
        QString title;
        QString text;
    };

    static QString program();
    static QString version();
    static QString summary();
    static QString description();
    static QList<Command> commands();
    // The command named `name`; false when there is none.
    static bool command(const QString& name, Command& found);
    static QList<Option> generalOptions();
    static QList<Section> sections();

    // The texts laid out for a terminal of 80 columns.
    static QString toolHelp();
    static QString commandHelp(const Command& command);
    static QString usage(const QString& synopsis);
    static QString tryHelp(const QString& commandName);

    // `text` broken into lines of at most `width` characters, each line
    // after the first starting with `indent` spaces.
    static QString wrapped(const QString& text, int width, int indent);
};

#endif
