#include "songfiles/lzhuff.h"

#include <QDebug>

#include <array>
#include <cstring>

namespace {

// Fixed code of the upper 6 bits of a match position: code lengths 3 to 8 bits
// for the 64 values in order (1 of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7,
// 16 of 8), with the canonical code for those lengths. Codes are stored
// left-aligned in 8 bits.
struct PositionTables
{
    std::array<quint8, 64> p_len{};
    std::array<quint8, 64> p_code{};
    std::array<quint8, 256> d_code{};
    std::array<quint8, 256> d_len{};

    PositionTables()
    {
        static const int counts[][2] = {{3, 1}, {4, 3}, {5, 8}, {6, 12}, {7, 24}, {8, 16}};
        int u = 0;
        unsigned code = 0; // next code, left-aligned in 8 bits
        for (const auto& c : counts) {
            for (int n = 0; n < c[1]; ++n, ++u) {
                p_len[u] = quint8(c[0]);
                p_code[u] = quint8(code);
                code += 1u << (8 - c[0]);
            }
        }
        for (u = 0; u < 64; ++u) {
            const int span = 1 << (8 - p_len[u]);
            for (int i = 0; i < span; ++i) {
                d_code[p_code[u] + i] = quint8(u);
                d_len[p_code[u] + i] = p_len[u];
            }
        }
    }
};

const PositionTables& positionTables()
{
    static const PositionTables tables;
    return tables;
}

} // namespace

LzHuff::LzHuff()
    : freq(new quint16[T + 1])
    , prnt(new qint16[T + N_CHAR])
    , son(new qint16[T])
    , text_buf(new quint8[N + F - 1])
    , lson(new qint16[N + 1])
    , rson(new qint16[N + 257])
    , dad(new qint16[N + 1])
{
    positionTables();
}

LzHuff::~LzHuff() = default;

// ---------------------------------------------------------------------------
// Adaptive Huffman tree

void LzHuff::startHuff()
{
    for (int i = 0; i < N_CHAR; ++i) {
        freq[i] = 1;
        son[i] = qint16(i + T);
        prnt[i + T] = qint16(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
        freq[j] = quint16(freq[i] + freq[i + 1]);
        son[j] = qint16(i);
        prnt[i] = prnt[i + 1] = qint16(j);
    }
    freq[T] = 0xffff;
    prnt[R] = 0;
}

void LzHuff::reconst()
{
    // Leaves to the front, in their current order, with halved frequencies.
    int j = 0;
    for (int i = 0; i < T; ++i) {
        if (son[i] >= T) {
            freq[j] = quint16((freq[i] + 1) / 2);
            son[j] = son[i];
            ++j;
        }
    }
    // Pair the nodes again, keeping frequencies in non-decreasing order.
    for (int i = 0, j = N_CHAR; j < T; i += 2, ++j) {
        const unsigned f = unsigned(freq[i]) + freq[i + 1];
        freq[j] = quint16(f);
        int k = j - 1;
        while (f < freq[k])
            --k;
        ++k;
        const size_t moved = size_t(j - k);
        std::memmove(&freq[k + 1], &freq[k], moved * sizeof(quint16));
        freq[k] = quint16(f);
        std::memmove(&son[k + 1], &son[k], moved * sizeof(qint16));
        son[k] = qint16(i);
    }
    for (int i = 0; i < T; ++i) {
        const int k = son[i];
        if (k >= T)
            prnt[k] = qint16(i);
        else
            prnt[k] = prnt[k + 1] = qint16(i);
    }
}

void LzHuff::update(int c)
{
    if (freq[R] == MAX_FREQ)
        reconst();
    c = prnt[c + T];
    do {
        const unsigned k = ++freq[c];
        // Keep the sibling order: move the node after the last one of smaller frequency.
        int l = c + 1;
        if (k > freq[l]) {
            while (k > freq[++l]) {
            }
            --l;
            freq[c] = freq[l];
            freq[l] = quint16(k);

            const int i = son[c];
            prnt[i] = qint16(l);
            if (i < T)
                prnt[i + 1] = qint16(l);

            const int j = son[l];
            son[l] = qint16(i);

            prnt[j] = qint16(c);
            if (j < T)
                prnt[j + 1] = qint16(c);
            son[c] = qint16(j);

            c = l;
        }
    } while ((c = prnt[c]) != 0);
}

// ---------------------------------------------------------------------------
// Match search: one binary tree per first byte over the strings in the window

void LzHuff::initTree()
{
    for (int i = N + 1; i <= N + 256; ++i)
        rson[i] = NIL;
    for (int i = 0; i < N; ++i)
        dad[i] = NIL;
}

void LzHuff::insertNode(int r)
{
    const quint8* key = &text_buf[r];
    int cmp = 1;
    int p = N + 1 + key[0];
    rson[r] = lson[r] = NIL;
    match_length = 0;
    for (;;) {
        if (cmp >= 0) {
            if (rson[p] != NIL) {
                p = rson[p];
            } else {
                rson[p] = qint16(r);
                dad[r] = qint16(p);
                return;
            }
        } else {
            if (lson[p] != NIL) {
                p = lson[p];
            } else {
                lson[p] = qint16(r);
                dad[r] = qint16(p);
                return;
            }
        }
        const quint8* other = &text_buf[p];
        int i = 1;
        for (; i < F; ++i) {
            if ((cmp = int(key[i]) - int(other[i])) != 0)
                break;
        }
        if (i > THRESHOLD) {
            const int pos = ((r - p) & (N - 1)) - 1;
            if (i > match_length) {
                match_position = pos;
                if ((match_length = i) >= F)
                    break;
            } else if (i == match_length && pos < match_position) {
                match_position = pos;
            }
        }
    }
    // Full-length match: r takes the place of p.
    dad[r] = dad[p];
    lson[r] = lson[p];
    rson[r] = rson[p];
    dad[lson[p]] = qint16(r);
    dad[rson[p]] = qint16(r);
    if (rson[dad[p]] == p)
        rson[dad[p]] = qint16(r);
    else
        lson[dad[p]] = qint16(r);
    dad[p] = NIL;
}

void LzHuff::deleteNode(int p)
{
    if (dad[p] == NIL)
        return;
    int q;
    if (rson[p] == NIL) {
        q = lson[p];
    } else if (lson[p] == NIL) {
        q = rson[p];
    } else {
        q = lson[p];
        if (rson[q] != NIL) {
            do {
                q = rson[q];
            } while (rson[q] != NIL);
            rson[dad[q]] = lson[q];
            dad[lson[q]] = dad[q];
            lson[q] = lson[p];
            dad[lson[p]] = qint16(q);
        }
        rson[q] = rson[p];
        dad[rson[p]] = qint16(q);
    }
    dad[q] = dad[p];
    if (rson[dad[p]] == p)
        rson[dad[p]] = qint16(q);
    else
        lson[dad[p]] = qint16(q);
    dad[p] = NIL;
}

// ---------------------------------------------------------------------------
// Bit stream

void LzHuff::putCode(int len, quint32 code)
{
    // len <= 16 and fewer than 8 bits pending: the buffer never exceeds 24 bits.
    putbuf = (putbuf << len) | code;
    putlen += len;
    while (putlen >= 8) {
        putlen -= 8;
        outBytes->append(char(putbuf >> putlen));
        ++codesize;
    }
    putbuf &= (1u << putlen) - 1;
}

void LzHuff::flushBits()
{
    if (putlen > 0) {
        outBytes->append(char(putbuf << (8 - putlen)));
        ++codesize;
        putlen = 0;
        putbuf = 0;
    }
}

// The read buffer holds its bits left-aligned; past the end of the input it
// is fed zero bytes.
int LzHuff::getBit()
{
    if (getlen <= 8) {
        while (getlen <= 24) {
            const quint32 b = inPos < inSize ? inData[inPos++] : 0u;
            getbuf |= b << (24 - getlen);
            getlen += 8;
        }
    }
    const int bit = int(getbuf >> 31);
    getbuf <<= 1;
    --getlen;
    return bit;
}

int LzHuff::getByte()
{
    if (getlen <= 8) {
        while (getlen <= 24) {
            const quint32 b = inPos < inSize ? inData[inPos++] : 0u;
            getbuf |= b << (24 - getlen);
            getlen += 8;
        }
    }
    const int byte = int(getbuf >> 24);
    getbuf <<= 8;
    getlen -= 8;
    return byte;
}

// ---------------------------------------------------------------------------
// Symbols and positions

void LzHuff::encodeChar(int c)
{
    // Collect the path from the leaf up; it can be longer than 16 bits after
    // many updates, so it is sent in pieces, the bit nearest the root first.
    quint8 path[T];
    int depth = 0;
    int k = prnt[c + T];
    do {
        path[depth++] = quint8(k & 1);
    } while ((k = prnt[k]) != R);

    while (depth > 0) {
        const int piece = depth > 16 ? 16 : depth;
        quint32 code = 0;
        for (int n = 0; n < piece; ++n)
            code = (code << 1) | path[--depth];
        putCode(piece, code);
    }
    update(c);
}

void LzHuff::encodePosition(unsigned c)
{
    const PositionTables& t = positionTables();
    const unsigned u = c >> 6;
    putCode(t.p_len[u], quint32(t.p_code[u]) >> (8 - t.p_len[u]));
    putCode(6, c & 0x3f);
}

int LzHuff::decodeChar()
{
    int c = son[R];
    while (c < T) {
        c += getBit();
        c = son[c];
    }
    c -= T;
    update(c);
    return c;
}

int LzHuff::decodePosition()
{
    const PositionTables& t = positionTables();
    unsigned i = unsigned(getByte());
    const unsigned c = unsigned(t.d_code[i]) << 6;
    for (int j = t.d_len[i] - 2; j > 0; --j)
        i = (i << 1) + unsigned(getBit());
    return int(c | (i & 0x3f));
}

// Spaces before the first written position, zero bytes everywhere else
// (including the mirror after position N): the packed format depends on it.
void LzHuff::resetRing()
{
    std::memset(text_buf.get(), 0, N + F - 1);
    std::memset(text_buf.get(), ' ', N - F);
}

// ---------------------------------------------------------------------------

bool LzHuff::expand(const QByteArray& packed, QByteArray& out)
{
    const QByteArray in = packed; // shared copy: out may be the same object
    out.clear();

    // Stored size, little-endian; a missing byte reads as 0xFF.
    textsize = 0;
    for (int b = 0; b < 4; ++b) {
        const quint32 byte = b < in.size() ? quint8(in.at(b)) : 0xffu;
        textsize |= byte << (8 * b);
    }
    if (textsize > MAX_TEXT_SIZE) {
        qDebug() << "=====================================================================";
        qDebug() << "WARNING: skipping file, compressed stream corrupted/wrong size !!!";
        qDebug() << "Text size:" << textsize;
        qDebug() << "=====================================================================";
        qDebug() << "Expand: ERROR";
        return false;
    }
    if (textsize == 0) {
        qDebug() << "Expand: ERROR";
        return false;
    }

    inData = reinterpret_cast<const quint8*>(in.constData());
    inSize = in.size();
    inPos = 4;
    getbuf = 0;
    getlen = 0;

    startHuff();
    resetRing();

    out.resize(int(textsize));
    char* o = out.data();
    quint32 count = 0;
    int r = N - F;
    while (count < textsize) {
        const int c = decodeChar();
        if (c < 256) {
            o[count++] = char(c);
            text_buf[r] = quint8(c);
            r = (r + 1) & (N - 1);
        } else {
            const int from = (r - decodePosition() - 1) & (N - 1);
            const int len = c - 255 + THRESHOLD;
            // A last match running past the stored size is cut there.
            for (int k = 0; k < len && count < textsize; ++k) {
                const quint8 b = text_buf[(from + k) & (N - 1)];
                o[count++] = char(b);
                text_buf[r] = b;
                r = (r + 1) & (N - 1);
            }
        }
    }

    inData = nullptr;
    inSize = 0;
    qDebug() << "Expand:" << in.size() << "-->" << out.size();
    return true;
}

void LzHuff::compress(const QByteArray& plain, QByteArray& out)
{
    const QByteArray in = plain; // shared copy: out may be the same object
    out.clear();
    out.reserve(in.size() / 2 + 64);
    outBytes = &out;
    putbuf = 0;
    putlen = 0;
    getbuf = 0;
    getlen = 0;
    codesize = 0;

    const quint32 size = quint32(in.size());
    for (int b = 0; b < 4; ++b)
        out.append(char((size >> (8 * b)) & 0xff));

    if (size > 0) {
        inData = reinterpret_cast<const quint8*>(in.constData());
        inSize = in.size();
        inPos = 0;

        startHuff();
        initTree();
        resetRing();

        int s = 0;
        int r = N - F;
        int len = 0;
        while (len < F && inPos < inSize)
            text_buf[r + len++] = inData[inPos++];
        textsize = quint32(len);
        for (int i = 1; i <= F; ++i)
            insertNode(r - i);
        insertNode(r);

        do {
            if (match_length > len)
                match_length = len;
            if (match_length <= THRESHOLD) {
                match_length = 1;
                encodeChar(text_buf[r]);
            } else {
                encodeChar(255 - THRESHOLD + match_length);
                encodePosition(unsigned(match_position));
            }
            const int last_match_length = match_length;
            int i = 0;
            for (; i < last_match_length && inPos < inSize; ++i) {
                const quint8 c = inData[inPos++];
                deleteNode(s);
                text_buf[s] = c;
                if (s < F - 1)
                    text_buf[s + N] = c;
                s = (s + 1) & (N - 1);
                r = (r + 1) & (N - 1);
                insertNode(r);
            }
            textsize += quint32(i);
            while (i++ < last_match_length) {
                deleteNode(s);
                s = (s + 1) & (N - 1);
                r = (r + 1) & (N - 1);
                if (--len)
                    insertNode(r);
            }
        } while (len > 0);
        flushBits();

        inData = nullptr;
        inSize = 0;
    }

    outBytes = nullptr;
    qDebug() << "Compress:" << in.size() << "-->" << out.size();
}
