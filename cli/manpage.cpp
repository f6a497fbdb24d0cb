// Writes the manual page orvalo3soft-cli.1 from the command line's own help
// texts in their English translation, so the page says what --help says.
#include "cli/clihelp.h"
#include "resources/appresources.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

#include <cstdio>

namespace {

// Text for roff: backslashes and minus signs escaped, no line starting as a request.
QString roff(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\e")).replace(QLatin1Char('-'), QStringLiteral("\\-"));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.startsWith(QLatin1Char('.')) || line.startsWith(QLatin1Char('\'')))
            line.prepend(QStringLiteral("\\&"));
    }
    return lines.join(QLatin1Char('\n'));
}

void options(QString& page, const QList<CliHelp::Option>& list)
{
    for (const CliHelp::Option& o : list)
        page += QStringLiteral(".TP\n.B %1\n%2\n").arg(roff(o.syntax), roff(o.text));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: orvalo3_manpage OUTPUT\n", stderr);
        return 2;
    }
    initAppResources();
    QTranslator english;
    if (!english.load(QStringLiteral(":/trans/orvalo3soft_en")) || !QCoreApplication::installTranslator(&english)) {
        std::fputs("orvalo3_manpage: the English translation is missing\n", stderr);
        return 1;
    }

    // No hyphenation: option names and paths must stay whole.
    QString page = QStringLiteral(".TH ORVALO3SOFT\\-CLI 1 \"\" \"Orvalo3 Soft %1\" \"User Commands\"\n.nh\n.ad l\n")
                       .arg(roff(CliHelp::version().section(QLatin1Char(' '), 1)));
    page += QStringLiteral(".SH NAME\n%1 \\- %2\n").arg(roff(CliHelp::program()), roff(CliHelp::summary()));
    page += QStringLiteral(".SH SYNOPSIS\n");
    for (const CliHelp::Command& c : CliHelp::commands())
        page += QStringLiteral(".B %1\n%2\n.br\n").arg(roff(CliHelp::program()), roff(c.synopsis));
    page += QStringLiteral(".B %1\n\\-\\-help | \\-\\-version\n").arg(roff(CliHelp::program()));
    page += QStringLiteral(".SH DESCRIPTION\n%1\n.SH COMMANDS\n").arg(roff(CliHelp::description()));
    for (const CliHelp::Command& c : CliHelp::commands()) {
        page += QStringLiteral(".SS \"%1\"\n%2.\n.PP\n%3\n")
                    .arg(roff(c.synopsis), roff(c.summary), roff(c.description));
        options(page, c.options);
    }
    page += QStringLiteral(".SH OPTIONS\n");
    options(page, CliHelp::generalOptions());
    for (const CliHelp::Section& s : CliHelp::sections())
        page += QStringLiteral(".SH %1\n%2\n").arg(roff(s.title.toUpper()), roff(s.text));

    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(page.toUtf8()) < 0 || !out.flush()) {
        std::fprintf(stderr, "orvalo3_manpage: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
