// RawMidiFile: load, every getter, then a sequence of edits chosen by the
// input. Input: one byte with the number of edits (low 4 bits), two bytes per
// edit (what, which value), then the MIDI image.
//
// Checked: each setter's value reads back at once (its event is the first of
// the first track), and the edited image read again gives the same details.
#include "fuzzinput.h"

#include "songfiles/rawmidifile.h"

namespace {

struct Details
{
    QString title, key, genre, artist, author;
    int length, userBpm;
    QList<Marker> markers;
    bool tavrel, hasTitle, hasKey, hasMarkers, hasGenre, hasArtist, hasAuthor, hasLength, hasUserBpm;

    explicit Details(const RawMidiFile& m)
        : title(m.title()), key(m.key()), genre(m.genre()), artist(m.artist()), author(m.author()),
          length(m.length()), userBpm(m.userBpm()), markers(m.markersList()), tavrel(m.isTavrel()),
          hasTitle(m.hasTitle()), hasKey(m.hasKey()), hasMarkers(m.hasMarkers()), hasGenre(m.hasGenre()),
          hasArtist(m.hasArtist()), hasAuthor(m.hasAuthor()), hasLength(m.hasLength()),
          hasUserBpm(m.hasUserBpm())
    {
    }

    bool operator==(const Details& o) const
    {
        return title == o.title && key == o.key && genre == o.genre && artist == o.artist
            && author == o.author && length == o.length && userBpm == o.userBpm && markers == o.markers
            && tavrel == o.tavrel && hasTitle == o.hasTitle && hasKey == o.hasKey
            && hasMarkers == o.hasMarkers && hasGenre == o.hasGenre && hasArtist == o.hasArtist
            && hasAuthor == o.hasAuthor && hasLength == o.hasLength && hasUserBpm == o.hasUserBpm;
    }
};

// What a text tag reads back as after its setter.
QString tagReadBack(const QString& t)
{
    return RawMidiFile::decodeText(RawMidiFile::encodeText(t, RawMidiFile::MaxTextChars, 126));
}

void edit(RawMidiFile& midi, quint8 what, quint8 which)
{
    const QString t = Fuzz::text(which);
    const int n = Fuzz::number(which);
    switch (what % 12) {
    case 0:
        midi.setTitle(t);
        FUZZ_CHECK(midi.title() == RawMidiFile::decodeText(RawMidiFile::encodeText(t, RawMidiFile::MaxTextChars, 127)));
        break;
    case 1: {
        const QStringList keys = midi.getKeysList();
        const QString name = which < 128 ? keys.value(which % keys.size()) : t;
        midi.setKey(name);
        if (which < 128)
            FUZZ_CHECK(midi.key() == name);
        break;
    }
    case 2:
        midi.setGenre(t);
        FUZZ_CHECK(midi.genre() == tagReadBack(t));
        break;
    case 3:
        midi.setArtist(t);
        FUZZ_CHECK(midi.artist() == tagReadBack(t));
        break;
    case 4:
        midi.setAuthor(t);
        FUZZ_CHECK(midi.author() == tagReadBack(t));
        break;
    case 5:
        midi.setLength(n);
        FUZZ_CHECK(midi.length() == qMax(n, 0));
        break;
    case 6:
        midi.setUserBpm(n);
        FUZZ_CHECK(midi.userBpm() == qMax(n, 0));
        break;
    case 7: {
        QList<Marker> markers;
        for (int i = 0; i < which % 5; ++i)
            markers.append(Marker{Fuzz::text(quint8(which + i)), Fuzz::number(quint8(which * 3 + i))});
        midi.setMarkersList(markers);
        const QList<Marker> back = midi.markersList();
        FUZZ_CHECK(back.size() >= markers.size());
        for (int i = 0; i < markers.size(); ++i)
            FUZZ_CHECK(back.at(i).bar == int(quint16(markers.at(i).bar)));
        break;
    }
    case 8:
        midi.removeHeadMetaevent(RawMidiFile::tavrelMetaTypeEnum(which % 8), which & 0x80);
        break;
    case 9:
        midi.removeHeadMetaevent(char(which & 0x7F), which & 0x80);
        break;
    case 10:
        // An event anywhere: only a place inside the first track is taken.
        midi.insertMetaevent(t.toUtf8(), char(which), n);
        break;
    default:
        midi.dbgInsertMarker(t, quint16(n));
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::quietLog();
    Fuzz::Input in(data, size);
    const Fuzz::EditScript script(in);

    RawMidiFile midi;
    if (!midi.loadData(in.rest())) {
        const Details none(midi); // every getter on an empty object
        FUZZ_CHECK(none.title.isEmpty() && !none.hasTitle && none.markers.isEmpty());
        return 0;
    }
    const Details loaded(midi);
    (void)loaded;

    for (int i = 0; i < script.size(); ++i)
        edit(midi, script.what(i), script.which(i));

    RawMidiFile again;
    FUZZ_CHECK(again.loadData(midi.stream()));
    FUZZ_CHECK(again.fileType() == midi.fileType());
    FUZZ_CHECK(Details(again) == Details(midi));
    return 0;
}
