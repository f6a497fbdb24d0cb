#include "songfiles/textcodec.h"

namespace TextCodec {

bool isValidUtf8(const QByteArray& bytes)
{
    const int n = bytes.size();
    int i = 0;
    while (i < n) {
        const uchar c = uchar(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int follow;
        uint cp;
        uint min;
        if ((c & 0xE0) == 0xC0) {
            follow = 1; cp = c & 0x1F; min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            follow = 2; cp = c & 0x0F; min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            follow = 3; cp = c & 0x07; min = 0x10000;
        } else {
            return false;
        }
        if (n - i - 1 < follow)
            return false;
        for (int k = 1; k <= follow; ++k) {
            const uchar d = uchar(bytes[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        // Overlong forms, UTF-16 surrogates and values beyond Unicode are not UTF-8.
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += follow + 1;
    }
    return true;
}

QString decodeUtf8OrLatin1(const QByteArray& bytes)
{
    return isValidUtf8(bytes) ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

}
