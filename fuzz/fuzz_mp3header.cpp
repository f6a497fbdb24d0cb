// Mp3Header: load, every getter, then edits chosen by the input. Input: one
// byte with the number of edits (low 4 bits), two bytes per edit (what, which
// value), then the start of the MP3 file.
//
// Checked: the tag's size field always matches the tag image; a value set on
// an editable tag reads back at once (an uneditable tag stays byte for byte);
// the edited tag read again gives the same details.
#include "fuzzinput.h"

#include "songfiles/mp3header.h"
#include "songfiles/textcodec.h"

#include <climits>

namespace {

struct Details
{
    QString title, key, genre, artist, author;
    int length, userBpm;
    bool tavrel, hasTitle, hasKey, hasGenre, hasArtist, hasAuthor, hasLength, hasUserBpm, hasEdit;

    explicit Details(const Mp3Header& m)
        : title(m.title()), key(m.key()), genre(m.genre()), artist(m.artist()), author(m.author()),
          length(m.length()), userBpm(m.userBpm()), tavrel(m.isTavrel()), hasTitle(m.hasTitle()),
          hasKey(m.hasKey()), hasGenre(m.hasGenre()), hasArtist(m.hasArtist()), hasAuthor(m.hasAuthor()),
          hasLength(m.hasLength()), hasUserBpm(m.hasUserBpm()), hasEdit(m.hasTamselEditParam())
    {
    }

    bool operator==(const Details& o) const
    {
        return title == o.title && key == o.key && genre == o.genre && artist == o.artist
            && author == o.author && length == o.length && userBpm == o.userBpm && tavrel == o.tavrel
            && hasTitle == o.hasTitle && hasKey == o.hasKey && hasGenre == o.hasGenre
            && hasArtist == o.hasArtist && hasAuthor == o.hasAuthor && hasLength == o.hasLength
            && hasUserBpm == o.hasUserBpm && hasEdit == o.hasEdit;
    }
};

// A text setter's value as the getter gives it back.
QString readBack(const QString& t)
{
    QByteArray bytes = t.toUtf8();
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    return TextCodec::decodeUtf8OrLatin1(bytes).trimmed();
}

void edit(Mp3Header& m, quint8 what, quint8 which)
{
    const QString t = Fuzz::text(which);
    const int n = Fuzz::number(which);
    const QByteArray before = m.stream();
    // A value that differs from the one just set means the tag could not be
    // edited, so nothing may have changed. Clearing a detail removes only the
    // first of its frames, so a duplicate frame may then show: not checked.
    bool stays = false;
    const QString back = readBack(t);
    switch (what % 12) {
    case 0:
        m.setTitle(t);
        stays = !back.isEmpty() && m.title() != back;
        break;
    case 1:
        m.setKey(t);
        stays = !back.isEmpty() && m.key() != back;
        break;
    case 2:
        m.setGenre(t);
        stays = !back.isEmpty() && m.genre() != back;
        break;
    case 3:
        m.setArtist(t);
        stays = !back.isEmpty() && m.artist() != back;
        break;
    case 4:
        m.setAuthor(t);
        stays = !back.isEmpty() && m.author() != back;
        break;
    case 5:
        m.setLength(n);
        stays = n >= 1 && qint64(n) * 1000 <= INT_MAX && m.length() != n;
        break;
    case 6:
        m.setUserBpm(n);
        stays = n >= 1 && m.userBpm() != n;
        break;
    case 7:
        m.setTamselEditParam();
        stays = !m.hasTamselEditParam();
        break;
    case 8:
        m.removeId3Frame(t.left(4));
        break;
    case 9: {
        QByteArray content = t.toUtf8();
        m.insertId3Frame(content, QStringLiteral("TXXX"), n);
        break;
    }
    case 10: {
        QString text;
        m.extractId3Frame(text, t.left(4));
        m.getSingleFrameLength(n);
        break;
    }
    default:
        m.updateId3TagSize();
        break;
    }
    if (stays)
        FUZZ_CHECK(m.stream() == before);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::quietLog();
    Fuzz::Input in(data, size);
    const Fuzz::EditScript script(in);
    const QByteArray bytes = in.rest();

    Mp3Header mp3;
    mp3.getId3TagSize(bytes);
    if (!mp3.loadHeader(bytes))
        return 0;
    FUZZ_CHECK(mp3.stream().startsWith("ID3"));
    FUZZ_CHECK(mp3.getAudioDataStartPos() >= 0 && mp3.getAudioDataStartPos() <= bytes.size());
    const Details loaded(mp3);
    (void)loaded;

    for (int i = 0; i < script.size(); ++i) {
        edit(mp3, script.what(i), script.which(i));
        FUZZ_CHECK(mp3.getId3TagSize(mp3.stream()) == mp3.stream().size() - 10);
    }

    Mp3Header again;
    FUZZ_CHECK(again.loadHeader(mp3.stream()));
    FUZZ_CHECK(Details(again) == Details(mp3));
    return 0;
}
