// Builds and updates the index of a generated player memory and compares the
// rebuild with a plain pass that opens every song file and reads its head
// (medians of 5 interleaved rounds).
//
//   bench_index [songs] [folder]     (defaults: 10000 songs, a temporary folder)
//
// On Linux the song file opens are also watched from outside with inotify, so
// the figure "opens seen" does not depend on the index's own counting.
#include "index/index.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVector>

#include <algorithm>
#include <cstdio>

#ifdef Q_OS_LINUX
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace {
const QStringList SongFilters{"*.mid", "*.kar", "*.mf3", "*.mf4", "*.mf5", "*.mp3"};
const char *const Suffixes[6] = {"mid", "kar", "mf3", "mf4", "mf5", "mp3"};

QByteArray be(quint32 v, int width)
{
    QByteArray b;
    for (int k = width - 1; k >= 0; --k)
        b.append(char((v >> (8 * k)) & 0xFF));
    return b;
}

QByteArray meta(int type, const QByteArray &data)
{
    return QByteArray("\x00\xFF", 2) + char(type) + char(data.size()) + data;
}

// A song file image of about `size` bytes in the format `kind` (index into Suffixes).
QByteArray songImage(int kind, const QByteArray &title, const QByteArray &artist, int size)
{
    QByteArray body;
    if (kind <= 1) {
        QByteArray track = meta(0x51, be(500000, 3)) + meta(0x02, "(c) Orvalo3 bench");
        track += kind == 0 ? meta(0x03, title) : meta(0x01, "@T" + title);
        track += meta(0x4B, '\x02' + artist) + meta(0x4B, QByteArray("\x01Pop", 4)) + meta(0x06, "Intro");
        track += QByteArray(qMax(0, size - track.size() - 26), '\x00') + meta(0x2F, QByteArray());
        body = "MThd" + be(6, 4) + be(1, 2) + be(1, 2) + be(96, 2) + "MTrk" + be(quint32(track.size()), 4) + track;
    } else if (kind <= 4) {
        body = QByteArray(qMax(size, 400), '\x5A');
        body.replace(0, 4, kind == 2 ? "_MF3" : kind == 3 ? "_MF4" : "_MF5");
        body[38] = char(110);
        body.replace(138, 58, title.leftJustified(58, '\0', true));
        body[201] = 1;
        body.replace(234, 32, artist.leftJustified(32, '\0', true));
        body.replace(266, 58, QByteArray("Rock").leftJustified(58, '\0'));
    } else {
        QByteArray frames;
        const QByteArray ids[3] = {"TIT2", "TPE1", "TCON"};
        const QByteArray texts[3] = {title, artist, "Pop"};
        for (int f = 0; f < 3; ++f)
            frames += ids[f] + be(quint32(texts[f].size() + 1), 4) + QByteArray(3, '\0') + texts[f];
        body = "ID3" + QByteArray("\x03\x00\x00\x00\x00\x10\x00", 7) + frames;
        body += QByteArray(qMax(0, size - body.size()), '\x55');
    }
    return body;
}

// Nested folders: 20 artists, 10 albums each, songs spread over them.
int generate(const QString &root, int count, qint64 &bytes)
{
    bytes = 0;
    const QDateTime stamp = QDateTime::currentDateTime().addDays(-30);
    for (int k = 0; k < count; ++k) {
        const int artistNo = k % 20;
        const QByteArray artist = (artistNo % 7 == 0 ? QString::fromUtf8("Citt\u00e0 %1") : QString("Artist %1"))
                                      .arg(artistNo).toUtf8();
        const QByteArray title = (k % 11 == 0 ? QString::fromUtf8("Perch\u00e9 %1") : QString("Song %1")).arg(k).toUtf8();
        const int kind = k % 6;
        const QString dir = QString("%1/songs/%2/Album %3").arg(root, QString::fromUtf8(artist)).arg((k / 20) % 10);
        QDir().mkpath(dir);
        QFile f(QString("%1/%2 %3.%4").arg(dir).arg(k, 5, 10, QLatin1Char('0')).arg(QString::fromUtf8(title), Suffixes[kind]));
        const QByteArray image = songImage(kind, title, artist, 6000 + (k % 5) * 1500);
        if (!f.open(QIODevice::WriteOnly) || f.write(image) != image.size() || !f.flush()
            || !f.setFileTime(stamp.addSecs(k), QFileDevice::FileModificationTime))
            return -1;
        bytes += image.size();
    }
    return count;
}

// Walks the memory, opens every song file and reads its first 3072 bytes.
int plainPass(const QString &root, qint64 &checksum)
{
    int files = 0;
    QDirIterator it(root, SongFilters, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray head = f.read(3072);
        checksum += head.size() ? quint8(head.at(head.size() / 2)) : 0;
        ++files;
    }
    return files;
}

// Counts opens of song files under a folder tree, observed with inotify.
class OpenWatch
{
public:
    bool start(const QString &root)
    {
#ifdef Q_OS_LINUX
        fd = inotify_init1(IN_NONBLOCK);
        if (fd < 0)
            return false;
        QStringList dirs{root};
        QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            dirs << it.next();
        for (const QString &dir : dirs) {
            if (inotify_add_watch(fd, QFile::encodeName(dir).constData(), IN_OPEN) < 0)
                return false;
        }
        return true;
#else
        Q_UNUSED(root);
        return false;
#endif
    }
    // Song file opens since the last call; -1 when the event queue overflowed.
    int songOpens()
    {
        int opens = 0;
#ifdef Q_OS_LINUX
        alignas(inotify_event) char buffer[65536];
        for (;;) {
            const ssize_t got = read(fd, buffer, sizeof buffer);
            if (got <= 0)
                break;
            for (ssize_t at = 0; at < got;) {
                const inotify_event *e = reinterpret_cast<const inotify_event *>(buffer + at);
                if (e->mask & IN_Q_OVERFLOW)
                    opens = -1;
                else if (opens >= 0 && !(e->mask & IN_ISDIR) && e->len > 0
                         && QDir::match(SongFilters, QFile::decodeName(e->name)))
                    ++opens;
                at += ssize_t(sizeof(inotify_event)) + e->len;
            }
        }
#endif
        return opens;
    }
    ~OpenWatch()
    {
#ifdef Q_OS_LINUX
        if (fd >= 0)
            close(fd);
#endif
    }

private:
    int fd = -1;
};

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

qint64 median(QVector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

QTextStream out(stdout);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = args.size() > 1 ? args.at(1).toInt() : 10000;
    QTemporaryDir scratch(args.size() > 2 ? args.at(2) + "/orvalo3-bench-XXXXXX" : QString());
    if (count < 1 || !scratch.isValid()) {
        out << "usage: bench_index [songs] [folder]" << Qt::endl;
        return 1;
    }
    const QString root = scratch.path();
    qInstallMessageHandler(quiet);  // the per-song log lines are not what is measured

    QElapsedTimer timer;
    qint64 bytes = 0;
    timer.start();
    if (generate(root, count, bytes) != count) {
        out << "cannot write the song files in " << root << Qt::endl;
        return 1;
    }
    out << "memory: " << count << " songs (mid, kar, mf3, mf4, mf5, mp3 in turn), 20 x 10 folders, "
        << bytes / (1024 * 1024) << " MiB, written in " << timer.elapsed() << " ms (page cache warm)" << Qt::endl;

    OpenWatch watch;
    const bool watching = watch.start(root);
    auto opensSeen = [&]() { return watching ? QString::number(watch.songOpens()) : QString("n/a"); };

    // Five rounds, each a plain pass, a rebuild (commit flushes included) and
    // an update with nothing changed, interleaved so that a machine shared
    // with other work weighs on all alike; the medians count.
    const int rounds = 5;
    qint64 checksum = 0;
    QVector<qint64> plainMs, rebuildMs, updateMs;
    int plainFiles = 0, rebuildRead = 0, updateRead = 0;
    bool built = true, updated = true;
    QString plainOpens, rebuildOpens, updateOpens;
    for (int round = 0; round < rounds; ++round) {
        timer.restart();
        plainFiles = plainPass(root, checksum);
        plainMs.append(timer.elapsed());
        plainOpens = opensSeen();

        Index rebuild;
        timer.restart();
        built = rebuild.createIndex(root) && built;
        rebuildMs.append(timer.elapsed());
        rebuildRead = rebuild.songFilesRead();
        rebuildOpens = opensSeen();

        Index unchanged;
        timer.restart();
        updated = unchanged.updateIndex(root) && updated;
        updateMs.append(timer.elapsed());
        updateRead = qMax(updateRead, unchanged.songFilesRead());
        const QString seen = opensSeen();
        if (updateOpens.isEmpty() || seen != QLatin1String("0"))
            updateOpens = seen;
    }
    const qint64 plain = median(plainMs);
    out << "plain pass (walk, open, read 3072 bytes): " << plain << " ms for " << plainFiles
        << " files; song file opens seen " << plainOpens << Qt::endl;
    out << "rebuild (createIndex): " << median(rebuildMs) << " ms, "
        << QString::number(double(median(rebuildMs)) / qMax<qint64>(1, plain), 'f', 2)
        << " x the plain pass; result " << built << "; song files read " << rebuildRead << "; opens seen "
        << rebuildOpens << Qt::endl;
    out << "update, nothing changed: " << median(updateMs) << " ms; result " << updated << "; song files read "
        << updateRead << "; opens seen " << updateOpens << Qt::endl;
    out << "rounds (plain / rebuild / update ms):";
    for (int round = 0; round < rounds; ++round)
        out << " " << plainMs.at(round) << "/" << rebuildMs.at(round) << "/" << updateMs.at(round);
    out << Qt::endl;

    // 1 % of the songs touched, 10 added, 10 deleted.
    QDirIterator it(root, SongFilters, QDir::Files, QDirIterator::Subdirectories);
    int k = 0, touched = 0, deleted = 0;
    const QDateTime now = QDateTime::currentDateTime();
    while (it.hasNext()) {
        const QString path = it.next();
        if (k % 100 == 0) {
            QFile f(path);
            touched += f.open(QIODevice::Append) && f.setFileTime(now, QFileDevice::FileModificationTime);
        } else if (k % 997 == 1 && deleted < 10) {
            deleted += QFile::remove(path);
        }
        ++k;
    }
    for (int n = 0; n < 10; ++n) {
        QFile f(QString("%1/songs/new %2.mid").arg(root).arg(n));
        const QByteArray image = songImage(0, "New " + QByteArray::number(n), "Artist new", 6000);
        f.open(QIODevice::WriteOnly);
        f.write(image);
    }
    watch.songOpens();  // the edits above are not the update's
    Index changed;
    timer.restart();
    const bool updated2 = changed.updateIndex(root);
    out << "update, " << touched << " touched, 10 added, " << deleted << " deleted: " << timer.elapsed()
        << " ms; result " << updated2 << "; song files read " << changed.songFilesRead() << "; opens seen "
        << opensSeen() << Qt::endl;
    return built && updated && updated2 && updateRead == 0 && updateOpens != QLatin1String("-1") ? 0 : 2;
}
