#ifndef SONGFILES_TEXTCODEC_H
#define SONGFILES_TEXTCODEC_H

#include <QByteArray>
#include <QString>

// Decoding of texts found in song files written by many different programs.
namespace TextCodec {

// True when the bytes are well-formed UTF-8 (pure ASCII included).
bool isValidUtf8(const QByteArray& bytes);

// UTF-8 when the bytes are valid UTF-8 (what this program writes),
// otherwise Latin-1 (what older programs wrote).
QString decodeUtf8OrLatin1(const QByteArray& bytes);

}

#endif
