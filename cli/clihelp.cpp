#include "cli/clihelp.h"

#include "app/version.h"
#include "library/songedit.h"

#include <QStringList>

namespace {

const int kColumns = 80;

// Lines of `rows` as "  <left>  <right>", the right texts aligned and wrapped.
QString table(const QList<QPair<QString, QString>>& rows)
{
    int width = 0;
    for (const auto& row : rows)
        width = qMax(width, row.first.size());
    // A long left text gets a line of its own rather than a narrow column.
    width = qMin(width, 24);
    const int indent = 2 + width + 2;
    QString text;
    for (const auto& row : rows) {
        QString line = QStringLiteral("  ") + row.first;
        if (row.first.size() > width)
            line += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
        else
            line += QString(indent - line.size(), QLatin1Char(' '));
        text += line + CliHelp::wrapped(row.second, kColumns - indent, indent) + QLatin1Char('\n');
    }
    return text;
}

} // namespace

QString CliHelp::program()
{
    return QStringLiteral("orvalo3soft-cli");
}

QString CliHelp::version()
{
    return program() + QLatin1Char(' ') + QLatin1String(orvalo3Version);
}

QString CliHelp::summary()
{
    return tr("Prepara song e memorie di Orvalo3 dal terminale: i lavori del programma, senza la sua finestra");
}

QString CliHelp::description()
{
    return tr("orvalo3soft-cli fa dal terminale o da uno script quello che fa la finestra di Orvalo3 Soft: legge e "
              "modifica i dati delle song, le completa dal catalogo del produttore, ne fa il backup, le copia sulla "
              "memoria del lettore (Compact Flash o penna USB), ricostruisce, aggiorna o controlla l'indice di una "
              "memoria e ne scrive la lista delle song. Ogni lavoro è quello della finestra, con le stesse regole; "
              "non viene mai posta alcuna domanda: le risposte sono le opzioni.");
}

QList<CliHelp::Command> CliHelp::commands()
{
    QList<Command> list;
    list.append({QStringLiteral("info"), QStringLiteral("info [--json] FILE..."), tr("Mostra i dati delle song"),
                 tr("Legge ogni file di song e ne mostra i dati come testo allineato, oppure, con --json, un "
                    "oggetto JSON per riga con le chiavi file, format, title, artist, genre, author, length "
                    "(secondi), bpm, key, markers (una lista di {\"bar\", \"text\"}) e maker (true per le song del "
                    "produttore). Un file che non si può leggere dà {\"file\", \"error\"}."),
                 {{QStringLiteral("--json"), tr("un oggetto JSON per riga")}}});
    list.append({QStringLiteral("set"),
                 QStringLiteral("set FILE... [--title T] [--artist A] [--genre G] [--author A] [--length mm:ss] "
                                "[--bpm N] [--key K]"),
                 tr("Modifica a mano i dati delle song"),
                 tr("Scrive i dati indicati in ogni file di song con le regole dell'editor delle song della "
                    "finestra. Un'opzione data come \"\" cancella il suo dato; un dato senza la sua opzione resta "
                    "com'è."),
                 {{QStringLiteral("--title T"), tr("titolo")},
                  {QStringLiteral("--artist A"), tr("interprete")},
                  {QStringLiteral("--genre G"), tr("genere musicale")},
                  {QStringLiteral("--author A"), tr("autore")},
                  {QStringLiteral("--length mm:ss"),
                   tr("durata: fino a due cifre di minuti e due di secondi (3:75 vale 4:15)")},
                  {QStringLiteral("--bpm N"), tr("tempo in battiti al minuto, fino a tre cifre")},
                  {QStringLiteral("--key K"),
                   tr("tonalità, una di: %1 (il segno - indica le tonalità minori)")
                       .arg(SongEdit::keyNames().join(QStringLiteral(", ")))}}});
    list.append({QStringLiteral("sync"), QStringLiteral("sync FILE... [--dry-run] [--all]"),
                 tr("Completa le song dal catalogo"),
                 tr("Cerca ogni song nel catalogo del produttore per nome del file, nome lungo MFx o titolo e ne "
                    "scrive i dati nel file, come la sincronizzazione della finestra. Le song che non sono del "
                    "produttore restano invariate se non si dà --all; una song che non è nel catalogo resta com'è."),
                 {{QStringLiteral("--dry-run"),
                   tr("mostra cosa cambierebbe in ogni song (valore vecchio e nuovo di ogni dato) e non scrive "
                      "nulla")},
                  {QStringLiteral("--all"), tr("completa anche le song che non sono del produttore")}}});
    list.append({QStringLiteral("backup"), QStringLiteral("backup FILE... --to FOLDER"),
                 tr("Fa il backup delle song in una nuova cartella"),
                 tr("Copia le song in una nuova cartella backup_tavrel_<data>_<ora> creata in FOLDER, come il "
                    "backup della finestra, e ne scrive il percorso."),
                 {{QStringLiteral("--to FOLDER"), tr("la cartella in cui creare la cartella del backup")}}});
    list.append(
        {QStringLiteral("transfer"),
         QStringLiteral("transfer FILE... --to DESTINATION [--replace | --keep] [--memory ROOT] [--eject]"),
         tr("Copia le song su una memoria del lettore e ne aggiorna l'indice"),
         tr("Copia le song nella cartella DESTINATION di una memoria del lettore, poi ne aggiorna l'indice, come il "
            "trasferimento della finestra. Se DESTINATION è la cartella principale della memoria, le song vanno "
            "nella sua cartella \"songs\"; le cartelle BRIDGE, SFX e PLAYLIST sono rifiutate, e così una cartella "
            "il cui nome il lettore non sa leggere. La cartella principale della memoria è ROOT se si dà --memory; "
            "altrimenti quella della memoria rimovibile che contiene DESTINATION; altrimenti il punto di montaggio "
            "di DESTINATION, purché non sia la radice \"/\" del sistema. Ogni song prende sulla memoria un nome che "
            "la memoria (FAT32) e l'indice del lettore sanno tenere: i caratteri rifiutati diventano \"_\", le "
            "lettere di altri alfabeti lettere latine; due song che avrebbero lo stesso nome, maiuscole e minuscole "
            "a parte, sono numerate (\"nome (2).mid\"); il file sul computer resta com'è. Resta sempre libero lo "
            "spazio per l'indice: quando la memoria è piena il trasferimento si ferma, senza lasciare song copiate "
            "a metà, e l'indice viene aggiornato con le song copiate. Non viene chiesto nulla: un file di song con "
            "lo stesso nome già presente viene mantenuto se non si dà --replace."),
         {{QStringLiteral("--to DESTINATION"), tr("la cartella della memoria in cui copiare le song")},
          {QStringLiteral("--replace"), tr("sostituisce i file con lo stesso nome già presenti")},
          {QStringLiteral("--keep"), tr("mantiene i file con lo stesso nome già presenti (predefinito)")},
          {QStringLiteral("--memory ROOT"), tr("la cartella principale della memoria, dove si trova il suo indice")},
          {QStringLiteral("--eject"), tr("alla fine espelle la memoria rimovibile, che si può poi togliere")}}});
    list.append({QStringLiteral("index"), QStringLiteral("index rebuild|update|check MEMORY [--eject]"),
                 tr("Ricostruisce, aggiorna o controlla l'indice di una memoria"),
                 tr("Lavora sui file dell'indice nella cartella principale MEMORY di una memoria del lettore. "
                    "rebuild riscrive l'indice da tutti i file di song; update rilegge solo le song nuove o "
                    "modificate e toglie quelle sparite; check non scrive nulla e dice se i sette file dell'indice "
                    "concordano tra loro e con le song sulla memoria (song mancanti, nuove o modificate, indice "
                    "danneggiato, song che il lettore non può aprire)."),
                 {{QStringLiteral("--eject"), tr("dopo rebuild o update espelle la memoria rimovibile, che si può poi "
                                                "togliere")}}});
    list.append({QStringLiteral("list"), QStringLiteral("list MEMORY [--by title|artist] [-o FILE]"),
                 tr("Scrive la lista delle song di una memoria"),
                 tr("Scrive la lista delle song dell'indice di MEMORY, una riga per song con titolo, interprete e "
                    "percorso separati da \";\", come la lista delle song della finestra, sullo standard output o "
                    "in FILE."),
                 {{QStringLiteral("--by title|artist"), tr("ordina per titolo (predefinito) o per interprete")},
                  {QStringLiteral("-o FILE"), tr("scrive in FILE invece che sullo standard output")}}});
    return list;
}

bool CliHelp::command(const QString& name, Command& found)
{
    for (const Command& c : commands()) {
        if (c.name == name) {
            found = c;
            return true;
        }
    }
    return false;
}

QList<CliHelp::Option> CliHelp::generalOptions()
{
    return {{QStringLiteral("--help"), tr("mostra questo aiuto; dopo un comando, l'aiuto del comando")},
            {QStringLiteral("--version"), tr("mostra la versione del programma")}};
}

QList<CliHelp::Section> CliHelp::sections()
{
    return {
        {tr("Stato di uscita"),
         tr("0 quando tutto il lavoro richiesto è stato fatto (una song che non è nel catalogo, o lasciata "
            "invariata dalle opzioni, conta come fatta); 1 quando una parte non è stata fatta, con ogni song "
            "interessata nominata sullo standard error insieme al motivo, e quando index check trova un problema; "
            "2 per un uso sbagliato del comando.")},
        {tr("Memorie"),
         tr("Durante un trasferimento o un lavoro sull'indice la memoria è bloccata da un file nascosto "
            ".orvalo3soft.lock nella sua cartella principale, dalla finestra come dal terminale: un secondo lavoro "
            "sulla stessa memoria termina con \"memoria occupata\" (stato 1). Il blocco lasciato da un processo "
            "terminato non ferma i lavori successivi. Le memorie rimovibili sono le cartelle di /media/<utente> o "
            "/run/media/<utente> (/Volumes su macOS), o della cartella indicata dalla variabile d'ambiente "
            "ORVALO3_VOLUMES_DIR, e i dischi rimovibili montati altrove. --eject le smonta e le spegne con "
            "udisksctl (diskutil su macOS); senza questi programmi vanno espulse dal desktop.")},
        {tr("Lingua e avanzamento"),
         tr("I messaggi sono nella lingua scelta nelle preferenze del programma (menu Preferenze > Lingua della "
            "finestra) o, se non ne è stata scelta nessuna, in quella del sistema. Mentre lavora, il programma "
            "mostra una riga di avanzamento sullo standard error quando questo è un terminale. Ctrl+C ferma il "
            "lavoro dopo la song in corso; un lavoro sull'indice va fino in fondo.")},
        {tr("File e preferenze"),
         tr("Le preferenze sono in ~/.config/tavrel/orvalo3soft.conf (su macOS "
            "~/Library/Preferences/com.tavrel.orvalo3soft.plist); con logenabled=true il programma aggiunge il "
            "suo log al file log.txt della cartella corrente.")},
    };
}

QString CliHelp::wrapped(const QString& text, int width, int indent)
{
    // A group in square brackets ("[--author A]") is kept on one line.
    QStringList words;
    int depth = 0;
    for (const QString& piece : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (depth > 0)
            words.last() += QLatin1Char(' ') + piece;
        else
            words << piece;
        depth = qMax(0, depth + int(piece.count(QLatin1Char('['))) - int(piece.count(QLatin1Char(']'))));
    }
    QString result;
    int lineLength = 0;
    for (const QString& word : qAsConst(words)) {
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            result += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            lineLength = 0;
        } else if (lineLength > 0) {
            result += QLatin1Char(' ');
            ++lineLength;
        }
        result += word;
        lineLength += word.size();
    }
    return result;
}

QString CliHelp::usage(const QString& synopsis)
{
    return tr("Uso: %1 %2").arg(program(), synopsis);
}

QString CliHelp::tryHelp(const QString& commandName)
{
    const QString call = commandName.isEmpty() ? program() : program() + QLatin1Char(' ') + commandName;
    return tr("Per saperne di più: %1 --help").arg(call);
}

QString CliHelp::toolHelp()
{
    QString text = wrapped(usage(tr("COMANDO [OPZIONE]... ARGOMENTO...")), kColumns, 4) + QLatin1Char('\n')
        + wrapped(summary(), kColumns, 0) + QStringLiteral("\n\n") + wrapped(description(), kColumns, 0)
        + QStringLiteral("\n\n") + tr("Comandi:") + QLatin1Char('\n');
    QList<QPair<QString, QString>> rows;
    for (const Command& c : commands())
        rows.append({c.name, c.summary});
    text += table(rows) + QLatin1Char('\n') + tr("Opzioni:") + QLatin1Char('\n');
    rows.clear();
    for (const Option& o : generalOptions())
        rows.append({o.syntax, o.text});
    text += table(rows);
    for (const Section& s : sections())
        text += QLatin1Char('\n') + s.title + QStringLiteral(":\n  ") + wrapped(s.text, kColumns - 2, 2)
            + QLatin1Char('\n');
    return text;
}

QString CliHelp::commandHelp(const Command& command)
{
    QString text = wrapped(usage(command.synopsis), kColumns, 4) + QLatin1Char('\n') + command.summary
        + QStringLiteral(".\n\n") + wrapped(command.description, kColumns, 0) + QLatin1Char('\n');
    QList<QPair<QString, QString>> rows;
    for (const Option& o : command.options)
        rows.append({o.syntax, o.text});
    for (const Option& o : generalOptions().mid(0, 1))
        rows.append({o.syntax, o.text});
    return text + QLatin1Char('\n') + tr("Opzioni:") + QLatin1Char('\n') + table(rows);
}
