// The songs list export of Index: the songs of a memory's index files as a
// ";"-separated text file.
#include "index/index.h"

#include <QDebug>
#include <QFile>
#include <QTextStream>

#include <algorithm>

int Index::saveSongsList(QString root, QString fileName, SORT_MODE mode)
{
    startRun(root);
    // No index: -1; one that cannot be read: 0.
    if (loadAllIndexFile() < 0)
        return lastError() == ErrorNoIndex ? -1 : 0;
    std::sort(songs.begin(), songs.end(), compareForSortMode(mode));

    // Binary mode: every line ends with a single line feed on every system.
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        qDebug() << "[Index::saveSongsList] cannot open" << fileName;
        return 0;
    }
    QTextStream out(&file);
    out << tr("TITOLO") << ';' << tr("ARTISTA") << ';' << tr("FILE") << ';' << '\n';
    emit progressMaxSetup(songs.size());
    int k = 0;
    for (const SongInfoIndex &song : qAsConst(songs)) {
        out << song.title << ';' << song.artist << ';' << song.path << ';' << '\n';
        out.flush();
        if (out.status() != QTextStream::Ok)
            break;
        emit currentPathChanged(song.path);
        emit progressValueChanged(++k);
    }
    out.flush();
    // A full or vanished memory must not pass for a complete list.
    const bool written = out.status() == QTextStream::Ok && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        qDebug() << "[Index::saveSongsList] write failed" << fileName;
        return 0;
    }
    return 1;
}
