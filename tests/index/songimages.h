// Song file images beyond the MIDI ones and a scratch player memory for the index tests.
#ifndef SONGIMAGES_H
#define SONGIMAGES_H

#include "../songfiles/midiimage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

namespace images {

using namespace MidiImage;

inline QByteArray midi(const QByteArray &events) { return smf(0, {events}); }

// MFx container head with the fields at the offsets the index reads.
inline QByteArray mfx(const char *magic, int bpm, const QByteArray &title, bool markers,
                      const QByteArray &artist, const QByteArray &genre)
{
    QByteArray b(400, '\0');
    b.replace(0, 4, magic);
    b[38] = char(bpm);
    b.replace(138, title.size(), title);
    b[201] = markers ? 1 : 0;
    b.replace(234, artist.size(), artist);
    b.replace(266, genre.size(), genre);
    return b;
}

inline QByteArray id3Frame(const char *id, const QByteArray &text)
{
    return QByteArray(id) + be32(quint32(text.size() + 1)) + bytes({0, 0, 0}) + text;
}

inline QByteArray mp3(const QByteArray &frames)
{
    return "ID3" + bytes({3, 0, 0, 0, 0, 0x10, 0}) + frames + QByteArray(600, '\0') + bytes({0xFF, 0xFB, 0x90, 0});
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const char *const indexFiles[7] = {"index.id3", "ordfile.id3", "title.id3", "atitle.id3",
                                   "artist.id3", "aartist.id3", "fsinfos.id3"};

// A player memory in a temporary folder.
struct Memory
{
    QTemporaryDir dir;
    QString root() const { return dir.path(); }
    QString file(const QString &rel) const { return dir.path() + rel; }

    bool add(const QString &rel, const QByteArray &content,
             const QDateTime &modified = QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)))
    {
        QDir().mkpath(QFileInfo(file(rel)).absolutePath());
        QFile f(file(rel));
        return f.open(QIODevice::WriteOnly) && f.write(content) == content.size() && f.flush()
            && f.setFileTime(modified, QFileDevice::FileModificationTime);
    }

    QMap<QString, QByteArray> index() const
    {
        QMap<QString, QByteArray> files;
        for (const char *name : indexFiles) {
            if (QFile::exists(file(QStringLiteral("/") + name)))
                files.insert(name, readFile(file(QStringLiteral("/") + name)));
        }
        return files;
    }
};

} // namespace images

#endif // SONGIMAGES_H
