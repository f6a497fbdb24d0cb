#ifndef CLI_CONSOLE_H
#define CLI_CONSOLE_H

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

// The command line's two outputs: results on standard output, problems and
// the progress line on standard error. The progress line is drawn only when
// standard error is a terminal, and is cleared before anything else is
// written there.
class Console
{
public:
    Console();

    // A line of text in the system's encoding; JSON always as UTF-8.
    void out(const QString& line);
    void outUtf8(const QByteArray& line);
    void err(const QString& line);
    // Raw bytes on standard output, as they are.
    bool outBytes(const QByteArray& bytes);

    // "<label> <done>/<total>", or "<label> <done>" while the total is unknown.
    void progress(const QString& label, int done, int total);
    void clearProgress();

private:
    bool terminal;     // standard error is a terminal
    bool outTerminal;  // so is standard output
    QString shown;     // the progress line on screen, empty when none
    QElapsedTimer sinceDrawn;
};

#endif
