#ifndef SONGFILES_ID3V22CONVERTER_H
#define SONGFILES_ID3V22CONVERTER_H

#include <QByteArray>

// Turns an ID3v2.2 tag into the ID3v2.3 tag holding the same frames, so that
// reading, editing and saving only ever meet the v2.3 and v2.4 layouts. The
// three-letter frames become their four-letter counterparts (a picture's
// image format becomes a MIME type); a frame without one is dropped, with a
// log line.
class Id3v22Converter
{
public:
    // tag: a whole uncompressed v2.2 tag, unsynchronisation already undone.
    // Returns the v2.3 tag (same padding), or an empty array when the frames
    // do not line up.
    static QByteArray toV23(const QByteArray& tag);
};

#endif
