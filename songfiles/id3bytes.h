#ifndef SONGFILES_ID3BYTES_H
#define SONGFILES_ID3BYTES_H

#include <QByteArray>

// Pieces of the ID3v2 layout shared by the tag reader and the v2.2 converter.
namespace Id3Bytes {

// A size field: four bytes, big-endian, of 7 bits each when synchsafe.
inline QByteArray sizeBytes(quint32 v, bool synchsafe)
{
    QByteArray b(4, '\0');
    const int shift = synchsafe ? 7 : 8;
    const quint32 mask = synchsafe ? 0x7F : 0xFF;
    for (int i = 3; i >= 0; --i) {
        b[i] = char(v & mask);
        v >>= shift;
    }
    return b;
}

// A character a frame id may hold.
inline bool isFrameIdChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

} // namespace Id3Bytes

#endif
