// Helpers shared by the fuzz targets: a reader that takes small choices from
// the front of an input, a table of awkward texts and numbers for setters,
// a silent log and a checked condition that aborts (so the fuzzer keeps the
// input as a finding).
#ifndef FUZZ_FUZZINPUT_H
#define FUZZ_FUZZINPUT_H

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace Fuzz {

// Stops with a message naming the broken promise; libFuzzer and the replay
// driver both report the abort with the input that caused it.
#define FUZZ_CHECK(cond)                                                                \
    do {                                                                                \
        if (!(cond)) {                                                                  \
            std::fprintf(stderr, "FUZZ_CHECK failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                               \
        }                                                                               \
    } while (0)

// The parsers log freely; at hundreds of thousands of runs a second the log
// would cost more than the parsing.
inline void quietLog()
{
    static const bool done = [] {
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
            if (type == QtFatalMsg) {
                std::fprintf(stderr, "%s\n", qPrintable(msg));
                std::abort();
            }
        });
        return true;
    }();
    (void)done;
}

// Takes bytes from the front of an input; past its end every byte reads as 0.
class Input
{
public:
    Input(const uint8_t* data, size_t size)
        : bytes(reinterpret_cast<const char*>(data), int(qMin<size_t>(size, 0x7FFFFFFF)))
    {
    }

    quint8 byte() { return pos < bytes.size() ? quint8(bytes.at(pos++)) : 0; }

    // Everything not taken yet.
    QByteArray rest() const { return bytes.mid(qMin(pos, bytes.size())); }

private:
    QByteArray bytes;
    int pos = 0;
};

// The edits an input asks for: one byte with their number (low 4 bits), then
// two bytes per edit (what, which value).
class EditScript
{
public:
    explicit EditScript(Input& in) : count(in.byte() & 0x0F)
    {
        for (int i = 0; i < 2 * count; ++i)
            steps[i] = in.byte();
    }

    int size() const { return count; }
    quint8 what(int i) const { return steps[2 * i]; }
    quint8 which(int i) const { return steps[2 * i + 1]; }

private:
    int count;
    quint8 steps[32] = {};
};

// Texts that sit on the edges of the writers: empty, placeholders, lengths
// around the 32-byte header fields and the 127-byte event limit, multi-byte
// UTF-8 across a cut, a surrogate pair split by a character limit, zero
// bytes, Latin-1 and surrounding blanks.
inline QString text(quint8 choice)
{
    const QString e = QString::fromUtf8("\xc3\xa8");          // 2 bytes in UTF-8
    const QString euro = QString::fromUtf8("\xe2\x82\xac");   // 3 bytes
    const QString clef = QString::fromUtf8("\xf0\x9d\x84\x9e"); // surrogate pair, 4 bytes
    switch (choice % 16) {
    case 0: return QString();
    case 1: return QStringLiteral("-");
    case 2: return QStringLiteral("--");
    case 3: return QStringLiteral("Yesterday");
    case 4: return QString(31, QLatin1Char('a')) + e;
    case 5: return QString(32, QLatin1Char('b'));
    case 6: return QString(124, QLatin1Char('c')) + clef;
    case 7: return QString(200, QLatin1Char('d'));
    case 8: return QString(42, euro[0]);
    case 9: return QString(60, clef[0]) + clef;
    case 10: return QString(62, QChar(clef[0])).append(clef).repeated(2);
    case 11: return QStringLiteral("  Tavrel (C)  ");
    case 12: return QString::fromLatin1("Caff\xe8 Blu");
    case 13: return QString(QLatin1String("a\0b", 3));
    case 14: return QString(1, clef[0]); // a lone high surrogate
    default: return QString(126, QLatin1Char('x')) + e + euro;
    }
}

inline int number(quint8 choice)
{
    static const int values[] = {0, 1, -1, 97, 120, 499, 500, 65535, 65536, 0x7FFFFFFF, -2147483647 - 1,
                                 3600, 2147484, 255, 128, 32767};
    return values[choice % 16];
}

// A folder for the files of one process, under /dev/shm where it exists so
// the file system costs little. Never destroyed, so the exit handler can use it.
inline const QString& scratchRoot()
{
    static const QString* const path = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                        : QDir::tempPath();
        const QString* p = new QString(base + QStringLiteral("/orvalo3fuzz-") + QString::number(::getpid()));
        std::atexit([] { QDir(scratchRoot()).removeRecursively(); });
        return p;
    }();
    return *path;
}

// The scratch folder, emptied: every run starts from no files.
inline QString scratchDir()
{
    const QString& path = scratchRoot();
    QDir dir(path);
    if (dir.exists())
        dir.removeRecursively();
    QDir().mkpath(path);
    return path;
}

inline bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace Fuzz

#endif
