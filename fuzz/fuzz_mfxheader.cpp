// MfxHeader: load, every getter, then edits chosen by the input. Input: one
// byte with the number of edits (low 4 bits), two bytes per edit (what, which
// value), then the header bytes.
//
// Checked: an edit changes no byte outside its field and keeps the header's
// size; plain texts, the tempo and the flag read back as set.
#include "fuzzinput.h"

#include "songfiles/mfxheader.h"

namespace {

void readAll(const MfxHeader& h)
{
    const QString all = h.copyright() + h.title() + h.editor() + h.author() + h.artist() + h.genre()
        + h.longName();
    (void)all;
    (void)(h.flags() + h.tempo() + h.hasTitle() + h.hasArtist() + h.hasAuthor() + h.hasGenre()
           + h.hasLongName() + h.hasValidTempo());
}

bool plain(const QString& t)
{
    for (QChar c : t)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

// Every byte outside [from, from + size) is as before.
bool onlyChanged(const QByteArray& before, const QByteArray& after, int from, int size)
{
    return before.size() == after.size() && before.left(from) == after.left(from)
        && before.mid(from + size) == after.mid(from + size);
}

void edit(MfxHeader& h, quint8 what, quint8 which)
{
    const QString t = Fuzz::text(which);
    const int n = Fuzz::number(which);
    const QByteArray before = h.header();
    const bool loaded = !before.isEmpty();
    switch (what % 8) {
    case 0:
        h.setTitle(t);
        FUZZ_CHECK(onlyChanged(before, h.header(), 122, 32));
        if (loaded && plain(t))
            FUZZ_CHECK(h.title() == t.left(32).trimmed());
        break;
    case 1:
        h.setAuthor(t);
        FUZZ_CHECK(onlyChanged(before, h.header(), 186, 32));
        if (loaded && plain(t))
            FUZZ_CHECK(h.author() == t.left(32).trimmed());
        break;
    case 2:
        h.setArtist(t);
        FUZZ_CHECK(onlyChanged(before, h.header(), 218, 32));
        if (loaded && plain(t))
            FUZZ_CHECK(h.artist() == t.left(32).trimmed());
        break;
    case 3:
        h.setGenre(t);
        FUZZ_CHECK(onlyChanged(before, h.header(), 250, 32));
        if (loaded && plain(t))
            FUZZ_CHECK(h.genre() == t.left(32).trimmed());
        break;
    case 4:
        h.setSize(uint(n));
        FUZZ_CHECK(onlyChanged(before, h.header(), 4, 4));
        break;
    case 5:
        h.setOrigSize(uint(n));
        FUZZ_CHECK(onlyChanged(before, h.header(), 12, 4));
        break;
    case 6:
        h.setTempo(n);
        FUZZ_CHECK(onlyChanged(before, h.header(), 38, 2));
        if (loaded)
            FUZZ_CHECK(h.tempo() == (n & 0xFFFF));
        break;
    default:
        h.setFlag(MfxHeader::MarkersFlag);
        FUZZ_CHECK(onlyChanged(before, h.header(), 185, 1));
        if (loaded)
            FUZZ_CHECK(h.flags() & MfxHeader::MarkersFlag);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::quietLog();
    Fuzz::Input in(data, size);
    const Fuzz::EditScript script(in);
    const QByteArray bytes = in.rest();

    MfxHeader h;
    const bool loaded = h.loadHeader(bytes);
    FUZZ_CHECK(loaded == !h.header().isEmpty());
    if (loaded) {
        FUZZ_CHECK(h.header() == bytes);
        FUZZ_CHECK(h.header().size() >= MfxHeader::headerSize(h.fileType()));
        FUZZ_CHECK(MfxHeader::headerSize(h.fileType()) > 0);
    }
    readAll(h);
    for (int i = 0; i < script.size(); ++i) {
        edit(h, script.what(i), script.which(i));
        readAll(h);
    }
    return 0;
}
