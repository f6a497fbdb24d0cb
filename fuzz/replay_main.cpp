// Replay driver: feeds every file named on the command line, and every file
// of every folder named there, to a fuzz target's LLVMFuzzerTestOneInput.
// Built without libFuzzer, so any compiler (with or without sanitizers) can
// run a corpus as a plain test. Fails when it finds nothing to replay.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int replay(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return -1;
    }
    const QByteArray bytes = file.readAll();
    // Named before running, so a crash report says which input it was.
    std::fprintf(stderr, "replay %s (%d bytes)\n", qPrintable(path), int(bytes.size()));
    std::fflush(stderr);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        QStringList paths;
        if (QFileInfo(arg).isDir()) {
            const QDir dir(arg);
            for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name))
                paths << dir.filePath(name);
        } else {
            paths << arg;
        }
        for (const QString& path : paths) {
            const int r = replay(path);
            if (r < 0)
                return 1;
            count += r;
        }
    }
    std::printf("%d inputs replayed without a finding\n", count);
    return count > 0 ? 0 : 1;
}
