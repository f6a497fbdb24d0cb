#include "cli/console.h"

#include <cstdio>

#include <unistd.h>

namespace {

// A terminal keeps up with ten redraws a second; more only costs time.
const int kRedrawMs = 100;

} // namespace

Console::Console() : terminal(isatty(fileno(stderr)) == 1), outTerminal(isatty(fileno(stdout)) == 1)
{
    sinceDrawn.start();
}

void Console::out(const QString& line)
{
    outBytes(line.toLocal8Bit() + '\n');
}

void Console::outUtf8(const QByteArray& line)
{
    outBytes(line + '\n');
}

bool Console::outBytes(const QByteArray& bytes)
{
    // Results going elsewhere leave the progress line where it is.
    if (outTerminal)
        clearProgress();
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    // A reader of a pipe sees each result as soon as it is known.
    return std::fflush(stdout) == 0 && written;
}

void Console::err(const QString& line)
{
    clearProgress();
    std::fflush(stdout);
    std::fputs((line.toLocal8Bit() + '\n').constData(), stderr);
    std::fflush(stderr);
}

void Console::progress(const QString& label, int done, int total)
{
    if (!terminal)
        return;
    const QString line = total > 0 ? QStringLiteral("%1 %2/%3").arg(label).arg(done).arg(total)
                                   : QStringLiteral("%1 %2").arg(label).arg(done);
    const bool last = total > 0 && done >= total;
    if (line == shown || (!last && !shown.isEmpty() && sinceDrawn.elapsed() < kRedrawMs))
        return;
    // Padded over the longer line before it.
    const QString padded = line.leftJustified(shown.size());
    std::fputs(('\r' + padded).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    shown = line;
    sinceDrawn.restart();
}

void Console::clearProgress()
{
    if (shown.isEmpty())
        return;
    std::fputs(('\r' + QString(shown.size(), QLatin1Char(' ')) + '\r').toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    shown.clear();
}
