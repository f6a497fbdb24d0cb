#ifndef SONGFILES_LZHUFF_H
#define SONGFILES_LZHUFF_H

#include <QByteArray>
#include <QtGlobal>

#include <memory>

// LZHUF codec of the MFx song payload: LZSS over a 4 KiB ring buffer, literals
// and match lengths coded with one adaptive Huffman tree, match positions with
// a fixed code for their upper 6 bits. The packed stream is the 4-byte
// little-endian unpacked size followed by the bit stream (most significant bit
// first, last byte padded with zero bits). Every parameter is part of the file
// format the player reads.
//
// The working tables are allocated once per object; an object may be used for
// any number of calls, one at a time, and every call starts from the same state.
class LzHuff
{
public:
    static constexpr int N = 4096;                     // ring buffer size
    static constexpr int F = 29;                       // look-ahead = longest match
    static constexpr int THRESHOLD = 2;                // longer matches are coded as matches
    static constexpr int N_CHAR = 256 - THRESHOLD + F; // literals + match lengths 3..F
    static constexpr int T = N_CHAR * 2 - 1;           // Huffman tree nodes
    static constexpr int R = T - 1;                    // root node
    static constexpr unsigned MAX_FREQ = 0x8000;       // root frequency that triggers a rebuild
    static constexpr int NIL = N;                      // no node in the match-search tree
    static constexpr quint32 MAX_TEXT_SIZE = 500000;   // largest unpacked size expand accepts

    LzHuff();
    ~LzHuff();
    LzHuff(const LzHuff&) = delete;
    LzHuff& operator=(const LzHuff&) = delete;

    // Empties out and decodes the packed stream in into it. Fails on a stored
    // size of 0 or above MAX_TEXT_SIZE. A damaged or truncated bit stream still
    // yields exactly the stored number of bytes (missing bits read as zero).
    bool expand(const QByteArray& in, QByteArray& out);

    // Empties out and writes the packed stream of in into it.
    void compress(const QByteArray& in, QByteArray& out);

private:
    // Adaptive Huffman tree
    void startHuff();
    void reconst();
    void update(int c);

    // Match-search binary trees
    void initTree();
    void insertNode(int r);
    void deleteNode(int p);

    // Bit stream
    void putCode(int len, quint32 code);
    void flushBits();
    int getBit();
    int getByte();

    void encodeChar(int c);
    void encodePosition(unsigned c);
    int decodeChar();
    int decodePosition();

    void resetRing();

    std::unique_ptr<quint16[]> freq; // T + 1, freq[T] is a sentinel
    std::unique_ptr<qint16[]> prnt;  // T + N_CHAR, entries from T on point from leaves to nodes
    std::unique_ptr<qint16[]> son;   // T, a value >= T is a leaf
    std::unique_ptr<quint8[]> text_buf; // N + F - 1, the tail mirrors the first F - 1 bytes
    std::unique_ptr<qint16[]> lson;  // N + 1
    std::unique_ptr<qint16[]> rson;  // N + 257, entries N + 1 .. N + 256 are the tree roots
    std::unique_ptr<qint16[]> dad;   // N + 1

    // Per call
    const quint8* inData = nullptr;
    int inSize = 0;
    int inPos = 0;
    QByteArray* outBytes = nullptr;
    quint32 getbuf = 0;
    int getlen = 0;
    quint32 putbuf = 0;
    int putlen = 0;
    quint32 textsize = 0;
    quint32 codesize = 0;
    int match_position = 0;
    int match_length = 0;
};

#endif
