#include "songfiles/metasong.h"

#include "platform/platform.h"
#include "songfiles/lzhuff.h"
#include "songfiles/songreplacement.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QProcess>

namespace {

const char* const kWriteProtected =
    "[MetaSong::saveToFile] Impossible to write to file. Maybe it's write protected? Aborting!";
const char* const kWriteFailed = "[MetaSong::saveToFile] Impossible to write to file.";

// Longest wait for the program that clears the immutable flag.
const int kChflagsTimeoutMs = 60000;

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

// Why a save failed, in the user's words, translated when it happens.
QString reasonText(SongReplacement::Failure failure)
{
    switch (failure) {
    case SongReplacement::ChangedOnDisk:
        return QCoreApplication::translate("MetaSong", "Il file è stato modificato da un altro programma dopo la lettura");
    case SongReplacement::Deleted:
        return QCoreApplication::translate("MetaSong", "Il file è stato cancellato o spostato dopo la lettura");
    case SongReplacement::ReadOnly:
        return QCoreApplication::translate("MetaSong", "Il file, o la memoria che lo contiene, è protetto da scrittura");
    case SongReplacement::FolderNotWritable:
        return QCoreApplication::translate("MetaSong", "Non si può scrivere nella cartella del file");
    case SongReplacement::NoSpace:
        return QCoreApplication::translate("MetaSong", "Spazio esaurito: la memoria è piena o il file è troppo grande per essa");
    case SongReplacement::LeftoverInTheWay:
        return QCoreApplication::translate("MetaSong", "Nella cartella c'è ancora la copia nascosta lasciata da un salvataggio interrotto");
    case SongReplacement::CopyKept:
        return QCoreApplication::translate("MetaSong", "Salvataggio non riuscito e file non ripristinato: nella cartella ne resta una copia nascosta");
    case SongReplacement::NoSource:
        return QCoreApplication::translate("MetaSong", "Il file manca o è più corto di quando è stato letto");
    case SongReplacement::WriteFailed:
    case SongReplacement::NoFailure:
        break;
    }
    return QCoreApplication::translate("MetaSong", "Scrittura del file non riuscita");
}

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
    readState = SongFileState();
    saveError = SaveError();

    // Looked for first: when an interrupted save damaged the song, its copy
    // matters most.
    leftover = SongReplacement::leftoverCopyOf(path);
    if (!leftover.isEmpty())
        qDebug() << "[MetaSong::importFile] WARNING: copy left by an interrupted save:" << leftover;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray magic = file.read(4);
    if (!file.seek(0))
        return false;

    // What was read, so that a save can tell whether the file changed since.
    QByteArray data;
    bool loaded = false;
    if (magic == "_MF3" || magic == "_MF4" || magic == "_MF5") {
        data = file.readAll();
        loaded = importMfx(data, magic);
    } else if (magic == "MThd") {
        data = file.readAll();
        loaded = importMidi(data);
    } else {
        loaded = importMp3(file, path, magic, data);
    }
    if (!loaded)
        return false;
    readState = SongFileState::ofOpenFile(file.handle(), path, data);
    return true;
}

bool MetaSong::importMfx(const QByteArray& data, const QByteArray& magic)
{
    const int headerLength = MfxHeader::headerSize(magic == "_MF5" ? SongInfo::TypeMf5 : SongInfo::TypeMf3);
    if (!mfx.loadHeader(data.left(headerLength)))
        return false;
    const QByteArray packed = data.mid(headerLength);

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

bool MetaSong::importMidi(const QByteArray& data)
{
    if (!midi.loadData(data))
        return false;
    fileType = midi.fileType();
    return true;
}

bool MetaSong::importMp3(QFile& file, const QString& path, const QByteArray& magic, QByteArray& data)
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
    data = file.read(wanted);

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
    saveError = SaveError();
    QByteArray content; // the whole file, or an MP3's tag before its audio
    if (fileType == SongInfo::TypeMp3) {
        if (!mp3.isEditable()) {
            qDebug() << "[MetaSong::saveToFile] ID3 tag of a version or form this program cannot update, not saved";
            return failSave(ErrorUnsupportedTag,
                QCoreApplication::translate("MetaSong", "Il tag ID3 di questo MP3 è danneggiato, compresso o di una versione che non si può aggiornare"));
        }
        content = mp3.stream();
    } else if (!buildMidiOrMfx(content)) {
        return false;
    }

    removeReadOnlyFlag(path);
    return write(path, content);
}

bool MetaSong::buildMidiOrMfx(QByteArray& content)
{
    const bool isMfx = isMfxType(fileType);
    if (midi.stream().isEmpty() || fileType == SongInfo::TypeUnknown
        || (isMfx && mfx.header().size() != MfxHeader::headerSize(fileType))) {
        qDebug() << "[MetaSong::saveToFile] UNKNOWN format (or data corrupted) in memory, aborting";
        return failSave(ErrorWriteFailed, QCoreApplication::translate("MetaSong", "Nessuna song letta da salvare"));
    }
    if (!isMfx) {
        qDebug() << "[MetaSong::saveToFile] MIDI";
        content = midi.stream();
        return true;
    }

    qDebug() << "[MetaSong::saveToFile] MFx";
    QByteArray image = midi.stream();
    if (fileType == SongInfo::TypeMf4) {
        // A loaded image always has room here: "MTrk" and its length field.
        const int pos = mf4ExtraBytesPos(image);
        if (pos < 0) {
            qDebug() << "[MetaSong::saveToFile] UNKNOWN format (or data corrupted) in memory, aborting";
            return failSave(ErrorWriteFailed, QCoreApplication::translate("MetaSong", "Nessuna song letta da salvare"));
        }
        image.insert(pos, QByteArray("\xFF\x00\xFF", 3));
    }
    // The player, and this program, read no larger MFx song: it would be lost.
    if (quint32(image.size()) > LzHuff::MAX_TEXT_SIZE) {
        qDebug() << "[MetaSong::saveToFile] unpacked song of" << image.size() << "bytes, more than the"
                 << LzHuff::MAX_TEXT_SIZE << "an MFx file holds, not saved";
        return failSave(ErrorTooLarge,
            QCoreApplication::translate("MetaSong", "Con i nuovi dati la song supera la dimensione massima di un file MFx"));
    }
    QByteArray packed;
    LzHuff codec;
    codec.compress(image, packed);
    mfx.setSize(uint(mfx.header().size() + packed.size()));
    mfx.setOrigSize(uint(image.size()));
    content = mfx.header() + packed;
    return true;
}

bool MetaSong::write(const QString& path, const QByteArray& content)
{
    const bool isMp3 = fileType == SongInfo::TypeMp3;
    SongReplacement out(path, &readState);
    if (!out.begin())
        return failSave(out);
    if (isMp3 && !out.hasOriginal()) {
        qDebug() << "[MetaSong::saveToFile] Impossible to read from file.";
        return failSave(ErrorWriteFailed, reasonText(SongReplacement::NoSource));
    }
    if (!out.write(content) || (isMp3 && !out.appendOriginalFrom(mp3.getAudioDataStartPos())) || !out.commit())
        return failSave(out);

    // The song read is now what was written: a later save checks against it
    // and takes an MP3's audio from where it now begins.
    SongFileState written = out.writtenState();
    if (written.path == readState.path) {
        written.head = content;
        readState = written;
        if (isMp3)
            mp3.loadHeader(content);
    }
    return true;
}

bool MetaSong::failSave(errorEnum code, const QString& text)
{
    saveError.code = code;
    saveError.text = text;
    return false;
}

bool MetaSong::failSave(const SongReplacement& out)
{
    switch (out.failure()) {
    case SongReplacement::ChangedOnDisk:
    case SongReplacement::Deleted:
        return failSave(ErrorChangedOnDisk, reasonText(out.failure()));
    case SongReplacement::ReadOnly:
        qDebug() << kWriteProtected;
        return failSave(ErrorReadOnly, reasonText(out.failure()));
    case SongReplacement::FolderNotWritable:
        qDebug() << kWriteProtected;
        return failSave(ErrorFolderNotWritable, reasonText(out.failure()));
    case SongReplacement::NoSource:
        qDebug() << "[MetaSong::saveToFile] Impossible to seek file.";
        return failSave(ErrorWriteFailed, reasonText(out.failure()));
    default:
        qDebug() << kWriteFailed;
        return failSave(ErrorWriteFailed, reasonText(out.failure()));
    }
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
