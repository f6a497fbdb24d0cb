// Minimal song file images and a scratch player memory for the index tests.
#ifndef SONGIMAGES_H
#define SONGIMAGES_H

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

namespace images {

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

// A meta-event with delta time 0.
inline QByteArray meta(int type, const QByteArray &data)
{
    return bytes({0x00, 0xFF, type, data.size()}) + data;
}

inline QByteArray tempo(quint32 usPerQuarter)
{
    return meta(0x51, bytes({int(usPerQuarter >> 16) & 0xFF, int(usPerQuarter >> 8) & 0xFF, int(usPerQuarter) & 0xFF}));
}

// The maker's tag event: 1 genre, 2 artist.
inline QByteArray tag(int tagType, const QByteArray &text)
{
    return meta(0x4B, bytes({tagType}) + text);
}

// System-exclusive second text line carrying `text`.
inline QByteArray sysexLine(const QByteArray &text)
{
    return bytes({0x00, 0xF0, text.size() + 8, 0x00, 0x20, 0x24, 0x00, 0x05}) + text + bytes({0xF7});
}

inline QByteArray midi(const QByteArray &events)
{
    const QByteArray track = events + meta(0x2F, QByteArray());
    const int n = track.size();
    return QByteArray("MThd") + bytes({0, 0, 0, 6, 0, 0, 0, 1, 0, 0x60}) + QByteArray("MTrk")
         + bytes({n >> 24, (n >> 16) & 0xFF, (n >> 8) & 0xFF, n & 0xFF}) + track;
}

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
    const int size = text.size() + 1;
    return QByteArray(id) + bytes({size >> 24, (size >> 16) & 0xFF, (size >> 8) & 0xFF, size & 0xFF, 0, 0, 0})
         + text;
}

inline QByteArray mp3(const QByteArray &frames)
{
    return QByteArray("ID3") + bytes({3, 0, 0, 0, 0, 0x10, 0}) + frames + QByteArray(600, '\0')
         + bytes({0xFF, 0xFB, 0x90, 0x00});
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
        const QString path = file(rel);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size() || !f.flush())
            return false;
        return f.setFileTime(modified, QFileDevice::FileModificationTime);
    }

    // The seven index files, by name.
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
