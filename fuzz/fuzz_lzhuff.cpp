// LzHuff: expand of any packed stream, and the compress/expand round trip of
// any text, with one codec object reused across calls as MetaSong may.
//
// Checked: a successful expand yields exactly the stored size; compress then
// expand gives the text back; the same text always packs to the same bytes.
#include "fuzzinput.h"

#include "songfiles/lzhuff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::quietLog();
    const QByteArray in(reinterpret_cast<const char*>(data), int(size));
    static LzHuff shared; // state left by earlier inputs must not matter

    QByteArray out;
    if (shared.expand(in, out)) {
        FUZZ_CHECK(in.size() >= 4);
        const quint32 stored = quint32(quint8(in.at(0))) | quint32(quint8(in.at(1))) << 8
            | quint32(quint8(in.at(2))) << 16 | quint32(quint8(in.at(3))) << 24;
        FUZZ_CHECK(quint32(out.size()) == stored);
        FUZZ_CHECK(stored > 0 && stored <= LzHuff::MAX_TEXT_SIZE);
    } else {
        FUZZ_CHECK(out.isEmpty());
    }

    if (in.isEmpty())
        return 0;
    QByteArray packed, back, again;
    shared.compress(in, packed);
    FUZZ_CHECK(shared.expand(packed, back));
    FUZZ_CHECK(back == in);
    LzHuff fresh;
    fresh.compress(in, again);
    FUZZ_CHECK(again == packed);
    return 0;
}
