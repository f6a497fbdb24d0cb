#include "songfiles/metasong.h"

#include "platform/platform.h"
#include "songfiles/lzhuff.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

namespace {

const char* const kWriteProtected =
    "[MetaSong::saveToFile] Impossible to write to file. Maybe it's write protected? Aborting!";
const char* const kWriteFailed = "[MetaSong::saveToFile] Impossible to write to file.";

// Longest wait for the program that clears the immutable flag.
const int kChflagsTimeoutMs = 60000;
// Audio is copied from the old MP3 file in pieces of this size.
const qint64 kCopyChunk = 100000;

const QFileDevice::Permissions kModeBits = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup
    | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
    | QFileDevice::ExeOther;

bool isMfxType(SongInfo::fileTypeEnum type)
{
    return type == SongInfo::TypeMf3 || type == SongInfo::TypeMf4 || type == SongInfo::TypeMf5;
}

// "-" and "--" stand for an empty field in the maker's MFx headers.
bool isPlaceholder(const QString& text)
{
    return text == QLatin1String("-") || text == QLatin1String("--");
}

// Position just after the first track's length field, where an "_MF4" payload
// keeps three extra bytes; -1 when the image has no room for them.
int mf4ExtraBytesPos(const QByteArray& image)
{
    const int t = image.indexOf("MTrk");
    if (t < 0 || t + 8 > image.size())
        return -1;
    return t + 8;
}

// Artist written by an automatic update, given the artist the file holds
// (empty when it holds none). Returns false when the file's artist stays.
// With both an artist and an alternative artist, a file holding some third
// name gets the artist at one synchronisation and the alternative at the next.
bool automaticArtist(const QString& current, const SongInfo& info, QString& out)
{
    if (current.isEmpty()) {
        out = info.altArtist.isEmpty() ? info.artist : info.altArtist;
        return true;
    }
    if (current == info.altArtist)
        return false;
    if (info.altArtist.isEmpty()) {
        out = info.artist;
        return true;
    }
    out = current == info.artist ? info.altArtist : info.artist;
    return true;
}

// New content for a song file. QSaveFile writes it to a temporary file in
// the song's folder (created exclusively, so it never takes the name of a
// file already there) and commit() renames it over the song only when every
// write, the flush and the sync to disk succeeded. Until then the song is not
// touched; a replacement that is not committed removes its temporary file.
class SongReplacement
{
public:
    explicit SongReplacement(const QString& path)
        : target(path), out(path)
    {
        // A song that cannot be written to is replaced all the same, as the
        // user asked for the save; QSaveFile refuses a target it cannot write,
        // so lend it the owner's write permission for the time of the save.
        const QFileInfo info(path);
        if (info.exists()) {
            hadFile = true;
            original = info.permissions() & kModeBits;
            if (!(original & QFileDevice::WriteOwner))
                lent = QFile::setPermissions(path, original | QFileDevice::WriteOwner);
        }
        // Never write the song in place, whatever the folder allows.
        out.setDirectWriteFallback(false);
    }

    ~SongReplacement()
    {
        if (committed)
            return;
        out.cancelWriting();
        if (lent)
            QFile::setPermissions(target, original);
    }

    bool open() { return out.open(QIODevice::WriteOnly); }

    bool write(const QByteArray& data) { return out.write(data) == data.size(); }

    bool commit()
    {
        if (!out.flush()) {
            qDebug() << kWriteFailed;
            return false;
        }
        committed = out.commit();
        if (!committed) {
            qDebug() << "[MetaSong::saveToFile] Impossible to replace file, song left unchanged:"
                     << out.errorString();
            return false;
        }
        // The new file carries the song's own permissions.
        if (hadFile)
            QFile::setPermissions(target, original);
        return true;
    }

private:
    QString target;
    QSaveFile out;
    QFileDevice::Permissions original;
    bool hadFile = false;
    bool lent = false;
    bool committed = false;
};

}

MetaSong::MetaSong()
    : fileType(SongInfo::TypeUnknown)
{
}

QString MetaSong::getFormatString(SongInfo::fileTypeEnum type)
{
    switch (type) {
    case SongInfo::TypeMidi0:
    case SongInfo::TypeMidi1:
        return QStringLiteral("MIDI");
    case SongInfo::TypeMf3:
        return QStringLiteral("MF3");
    case SongInfo::TypeMf4:
        return QStringLiteral("MF4");
    case SongInfo::TypeMf5:
        return QStringLiteral("MF5");
    case SongInfo::TypeMp3:
        return QStringLiteral("MP3");
    case SongInfo::TypeUnknown:
        break;
    }
    return QStringLiteral("UNKNOWN");
}

// ---------------------------------------------------------------- import

bool MetaSong::importFile(QString path)
{
    fileType = SongInfo::TypeUnknown;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray magic = file.read(4);
    if (!file.seek(0))
        return false;

    if (magic == "_MF3" || magic == "_MF4" || magic == "_MF5")
        return importMfx(file, magic);
    if (magic == "MThd")
        return importMidi(file);
    return importMp3(file, path, magic);
}

bool MetaSong::importMfx(QFile& file, const QByteArray& magic)
{
    const int headerLength = MfxHeader::headerSize(magic == "_MF5" ? SongInfo::TypeMf5 : SongInfo::TypeMf3);
    if (!mfx.loadHeader(file.read(headerLength)))
        return false;
    const QByteArray packed = file.readAll();
    file.close();

    QByteArray image;
    LzHuff codec;
    if (!codec.expand(packed, image)) {
        qDebug() << "[MetaSong::importFile] LzHuff Expand filed, skipping file";
        return false;
    }

    if (mfx.fileType() == SongInfo::TypeMf4) {
        const int pos = mf4ExtraBytesPos(image);
        if (pos < 0 || pos + 3 > image.size()) {
            qDebug() << "[MetaSong::importFile] MidiStream corrupted, skipping file";
            return false;
        }
        image.remove(pos, 3);
    }

    if (!midi.loadData(image)) {
        qDebug() << "[MetaSong::importFile] MidiStream corrupted, skipping file";
        return false;
    }
    fileType = mfx.fileType();
    return true;
}

bool MetaSong::importMidi(QFile& file)
{
    const QByteArray data = file.readAll();
    file.close();
    if (!midi.loadData(data))
        return false;
    fileType = midi.fileType();
    return true;
}

bool MetaSong::importMp3(QFile& file, const QString& path, const QByteArray& magic)
{
    const bool namedMp3 = path.toUpper().endsWith(QLatin1String("MP3"));
    const bool tagged = magic.startsWith("ID3");
    const bool zeros = magic.startsWith(QByteArray(2, '\0'));
    // A frame sync byte followed by a byte read as a signed number above -14.
    const bool frameSync = magic.size() >= 2 && quint8(magic.at(0)) == 0xFF
        && qint8(magic.at(1)) > -14;
    if (!namedMp3 || !(tagged || zeros || frameSync))
        return false;

    // The whole declared tag, however large (cover pictures of several
    // megabytes are common), plus room for a footer.
    const QByteArray head = file.read(10);
    qint64 wanted = head.size();
    if (head.size() == 10 && head.startsWith("ID3"))
        wanted = 10 + qint64(mp3.getId3TagSize(head)) + 10;
    wanted = qMin(wanted, file.size());
    if (!file.seek(0))
        return false;
    const QByteArray data = file.read(wanted);
    file.close();

    if (!mp3.loadHeader(data))
        return false;
    fileType = SongInfo::TypeMp3;
    return true;
}

// ---------------------------------------------------------------- details

void MetaSong::getSongInfo(SongInfo& info)
{
    info.clear();
    info.format = getFormatString(fileType);

    switch (fileType) {
    case SongInfo::TypeMidi0:
    case SongInfo::TypeMidi1:
        info.title = midi.title();
        info.artist = midi.artist();
        info.author = midi.author();
        info.genre = midi.genre();
        info.key = midi.key();
        info.markers = midi.markersList();
        info.isTavrel = midi.isTavrel();
        info.length = midi.length();
        info.userBpm = midi.userBpm();
        break;
    case SongInfo::TypeMf3:
    case SongInfo::TypeMf4:
    case SongInfo::TypeMf5:
        info.title = mfx.title();
        info.artist = mfx.artist();
        info.author = mfx.author();
        info.genre = mfx.genre();
        info.key = midi.key();
        info.markers = midi.markersList();
        info.isTavrel = true;
        info.length = midi.length();
        info.userBpm = mfx.tempo();
        info.mfxLongName = mfx.longName();
        info.mfxFlags = qint8(mfx.flags());
        break;
    case SongInfo::TypeMp3:
        info.title = mp3.title();
        info.artist = mp3.artist();
        info.author = mp3.author();
        info.genre = mp3.genre();
        info.key = mp3.key();
        info.isTavrel = mp3.isTavrel();
        info.length = mp3.length();
        info.userBpm = mp3.userBpm();
        break;
    default:
        break;
    }
}

void MetaSong::setSongInfo(const SongInfo& info, bool manual)
{
    qDebug() << "[MetaSong] setSongInfo," << "manual: " << manual;

    switch (fileType) {
    case SongInfo::TypeMidi0:
    case SongInfo::TypeMidi1:
        mergeMidiImage(info, manual);
        mergeMidi(info, manual);
        break;
    case SongInfo::TypeMf3:
    case SongInfo::TypeMf4:
    case SongInfo::TypeMf5:
        mergeMidiImage(info, manual);
        mergeMfx(info, manual);
        break;
    case SongInfo::TypeMp3:
        mergeMp3(info, manual);
        break;
    default:
        break;
    }

    qDebug();
}

// Markers, key and length live in the MIDI image of both MIDI and MFx songs.
void MetaSong::mergeMidiImage(const SongInfo& info, bool manual)
{
    if (!manual && !midi.hasMarkers())
        midi.setMarkersList(info.markers);

    if (manual || (!midi.hasKey() && info.isTavrel))
        midi.setKey(info.key);

    if (manual || (!midi.hasLength() && info.length >= 0 && info.isTavrel))
        midi.setLength(info.length);
}

void MetaSong::mergeMidi(const SongInfo& info, bool manual)
{
    if (manual || !midi.hasTitle()) {
        midi.setTitle(info.title);
    } else if (info.title.toUpper().startsWith(midi.title().toUpper())) {
        // "YESTERDAY" becomes "Yesterday (Live)", "Let It Be" stays.
        midi.setTitle(info.title);
    }

    if (manual || !midi.hasAuthor())
        midi.setAuthor(info.author);

    if (manual || (!midi.hasUserBpm() && info.userBpm >= 0 && info.isTavrel))
        midi.setUserBpm(info.userBpm);

    if (manual) {
        midi.setArtist(info.artist);
    } else {
        QString artist;
        if (automaticArtist(midi.hasArtist() ? midi.artist() : QString(), info, artist))
            midi.setArtist(artist);
    }

    if (manual || !midi.hasGenre())
        midi.setGenre(info.genre);
}

void MetaSong::mergeMfx(const SongInfo& info, bool manual)
{
    if (manual || !mfx.hasTitle() || isPlaceholder(mfx.title()))
        mfx.setTitle(info.title);

    if (manual || !mfx.hasAuthor() || isPlaceholder(mfx.author()))
        mfx.setAuthor(info.author);

    // The maker flag is not consulted: every MFx song is the maker's.
    if (manual || (!mfx.hasValidTempo() && info.userBpm >= 0))
        mfx.setTempo(info.userBpm);

    if (manual) {
        mfx.setArtist(info.artist);
    } else {
        const QString current = isPlaceholder(mfx.artist()) ? QString() : mfx.artist();
        QString artist;
        if (automaticArtist(current, info, artist))
            mfx.setArtist(artist);
    }

    if (manual || !mfx.hasGenre() || isPlaceholder(mfx.genre()))
        mfx.setGenre(info.genre);

    if (!info.markers.isEmpty())
        mfx.setFlag(MfxHeader::MarkersFlag);
}

void MetaSong::mergeMp3(const SongInfo& info, bool manual)
{
    if (manual || !mp3.hasTitle())
        mp3.setTitle(info.title);
    if (manual || !mp3.hasAuthor())
        mp3.setAuthor(info.author);

    if (manual || (!mp3.hasUserBpm() && info.userBpm >= 0 && info.isTavrel))
        mp3.setUserBpm(info.userBpm);

    if (manual || (!mp3.hasKey() && info.isTavrel))
        mp3.setKey(info.key);

    if (manual || (!mp3.hasLength() && info.length >= 0 && info.isTavrel))
        mp3.setLength(info.length);

    if (manual) {
        mp3.setArtist(info.artist);
    } else {
        QString artist;
        if (automaticArtist(mp3.hasArtist() ? mp3.artist() : QString(), info, artist))
            mp3.setArtist(artist);
    }

    if (manual || !mp3.hasGenre())
        mp3.setGenre(info.genre);

    // The maker's other player looks for this frame.
    if (!mp3.hasTamselEditParam())
        mp3.setTamselEditParam();
}

// ---------------------------------------------------------------- saving

bool MetaSong::saveToFile(QString path)
{
    if (fileType == SongInfo::TypeMp3)
        return saveMp3(path);
    return saveMidiOrMfx(path);
}

bool MetaSong::saveMidiOrMfx(const QString& path)
{
    const bool isMfx = isMfxType(fileType);
    if (midi.stream().isEmpty() || fileType == SongInfo::TypeUnknown
        || (isMfx && mfx.header().size() != MfxHeader::headerSize(fileType))) {
        qDebug() << "[MetaSong::saveToFile] UNKNOWN format (or data corrupted) in memory, aborting";
        return false;
    }

    removeReadOnlyFlag(path);

    SongReplacement out(path);
    if (!out.open()) {
        qDebug() << kWriteProtected;
        return false;
    }

    QByteArray content;
    if (!isMfx) {
        qDebug() << "[MetaSong::saveToFile] MIDI";
        content = midi.stream();
    } else {
        qDebug() << "[MetaSong::saveToFile] MFx";
        QByteArray image = midi.stream();
        if (fileType == SongInfo::TypeMf4) {
            // A loaded image always has room here: "MTrk" and its length field.
            const int pos = mf4ExtraBytesPos(image);
            if (pos < 0) {
                qDebug() << "[MetaSong::saveToFile] UNKNOWN format (or data corrupted) in memory, aborting";
                return false;
            }
            image.insert(pos, QByteArray("\xFF\x00\xFF", 3));
        }
        QByteArray packed;
        LzHuff codec;
        codec.compress(image, packed);
        mfx.setSize(uint(mfx.header().size() + packed.size()));
        mfx.setOrigSize(uint(image.size()));
        content = mfx.header() + packed;
    }

    if (!out.write(content)) {
        qDebug() << kWriteFailed;
        return false;
    }
    return out.commit();
}

bool MetaSong::saveMp3(const QString& path)
{
    removeReadOnlyFlag(path);

    QFile song(path);
    if (!song.open(QIODevice::ReadOnly)) {
        qDebug() << "[MetaSong::saveToFile] Impossible to read from file.";
        return false;
    }

    SongReplacement out(path);
    if (!out.open()) {
        qDebug() << kWriteProtected;
        return false;
    }

    if (!out.write(mp3.stream())) {
        qDebug() << kWriteFailed;
        return false;
    }

    // A file shorter than the tag it was read with has changed since: its
    // audio is not where the tag said, so nothing is written.
    const qint64 audioStart = mp3.getAudioDataStartPos();
    if (audioStart > song.size() || !song.seek(audioStart)) {
        qDebug() << "[MetaSong::saveToFile] Impossible to seek file.";
        return false;
    }

    while (!song.atEnd()) {
        const QByteArray chunk = song.read(kCopyChunk);
        if (chunk.isEmpty() || !out.write(chunk)) {
            qDebug() << "[MetaSong::saveToFile] Impossible to copy part of file.";
            return false;
        }
    }
    song.close();

    return out.commit();
}

void MetaSong::removeReadOnlyFlag(QString path)
{
    const QString program = Platform::chflagsProgram();
    if (program.isEmpty()) {
        // Systems without chflags have no user-immutable flag to clear.
        qDebug() << "remove read only flag: no chflags command, nothing to clear";
        return;
    }

    QProcess process;
    process.start(program, QStringList() << QStringLiteral("nouchg") << path);
    if (process.waitForFinished(kChflagsTimeoutMs)) {
        qDebug() << "remove read only flag: OK";
        return;
    }
    qDebug() << "remove read only flag: ERROR";
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
    }
}

// ---------------------------------------------------------------- misc

QStringList MetaSong::getKeysList()
{
    return midi.getKeysList();
}

int MetaSong::dbgAddMarker(const QString& text, unsigned short bar)
{
    qDebug() << "[MetaSong] addMarker";
    const int inserted = midi.dbgInsertMarker(text, bar);
    qDebug() << "Marker added, len= " << inserted;
    qDebug() << "-----------------------------------";
    qDebug();
    return inserted;
}
