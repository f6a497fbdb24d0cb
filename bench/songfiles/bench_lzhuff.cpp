// Throughput of the LZHUF codec on a MIDI image and on text, beside gzip -9
// (the gzip program, and the same deflate level in process through qCompress)
// on the same bytes, and how the codec's cost grows with the input size.

#include "songfiles/lzhuff.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

void putVarLen(QByteArray& b, quint32 v)
{
    char tmp[5];
    int n = 0;
    tmp[n++] = char(v & 0x7f);
    while ((v >>= 7) != 0)
        tmp[n++] = char(0x80 | (v & 0x7f));
    while (n > 0)
        b.append(tmp[--n]);
}

void putBE(QByteArray& b, quint32 v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        b.append(char((v >> (8 * i)) & 0xff));
}

// A format 1 Standard MIDI File of about the given size, built like an
// arranged song: a tempo track, then drums, bass, chords and melody tracks
// playing repeated bars with small variations, controllers and pitch bends.
QByteArray midiImage(int targetSize)
{
    QRandomGenerator gen(2024);
    std::vector<QByteArray> tracks;

    QByteArray conductor;
    putVarLen(conductor, 0);
    conductor.append("\xff\x03\x0a", 3).append("Demo song ");
    putVarLen(conductor, 0);
    conductor.append("\xff\x58\x04\x04\x02\x18\x08", 7);
    putVarLen(conductor, 0);
    conductor.append("\xff\x51\x03\x07\xa1\x20", 6);
    putVarLen(conductor, 0);
    conductor.append("\xff\x59\x02\x00\x00", 5);
    tracks.push_back(conductor);

    static const char* names[] = {"Drums", "Bass", "Piano", "Strings", "Guitar", "Lead", "Pad", "Brass"};
    static const int channels[] = {9, 1, 2, 3, 4, 5, 6, 7};
    const int trackCount = 8;
    for (int t = 0; t < trackCount; ++t) {
        QByteArray tr;
        putVarLen(tr, 0);
        tr.append("\xff\x03", 2).append(char(qstrlen(names[t]))).append(names[t]);
        const int ch = channels[t];
        putVarLen(tr, 0);
        tr.append(char(0xc0 | ch)).append(char(gen.bounded(128)));
        putVarLen(tr, 0);
        tr.append(char(0xb0 | ch)).append(char(7)).append(char(100));
        tracks.push_back(tr);
    }

    // A bar pattern per track, replayed with variations until the file is large enough.
    int total = 0;
    int bar = 0;
    while (total < targetSize) {
        total = 14;
        for (int t = 0; t < trackCount; ++t) {
            QByteArray& tr = tracks[size_t(t + 1)];
            const int ch = channels[t];
            const int notesPerBar = t == 0 ? 16 : (t == 1 ? 8 : 4 + (t % 3) * 2);
            const int step = 1920 / notesPerBar;
            QRandomGenerator pattern(quint32(t * 1000 + (bar % 4)));
            for (int n = 0; n < notesPerBar; ++n) {
                const int base = t == 0 ? 36 + 2 * pattern.bounded(6) : 40 + t * 3 + pattern.bounded(12);
                const int note = base + ((bar / 8) % 3) * (t == 0 ? 0 : 2);
                const int vel = 70 + pattern.bounded(40) + gen.bounded(6);
                putVarLen(tr, 0);
                tr.append(char(0x90 | ch)).append(char(note)).append(char(vel));
                if (t == 5 && gen.bounded(4) == 0) {
                    putVarLen(tr, step / 4);
                    tr.append(char(0xe0 | ch)).append(char(0)).append(char(64 + gen.bounded(20)));
                    putVarLen(tr, step / 2 - step / 4);
                } else {
                    putVarLen(tr, step / 2);
                }
                tr.append(char(0x80 | ch)).append(char(note)).append(char(64));
                putVarLen(tr, step - step / 2);
                tr.append(char(0xb0 | ch)).append(char(11)).append(char(90 + gen.bounded(30)));
            }
            total += 8 + tr.size() + 4;
        }
        total += 8 + tracks[0].size() + 4;
        ++bar;
    }

    QByteArray smf("MThd", 4);
    putBE(smf, 6, 4);
    putBE(smf, 1, 2);
    putBE(smf, quint32(tracks.size()), 2);
    putBE(smf, 480, 2);
    for (QByteArray& tr : tracks) {
        putVarLen(tr, 0);
        tr.append("\xff\x2f\x00", 3);
        smf.append("MTrk", 4);
        putBE(smf, quint32(tr.size()), 4);
        smf.append(tr);
    }
    return smf;
}

// English-like prose: words drawn with a skewed frequency, sentences, paragraphs.
QByteArray textImage(int size)
{
    static const char* words[] = {
        "the", "of", "and", "to", "a", "in", "is", "that", "for", "it", "as", "was", "with", "be",
        "by", "on", "not", "he", "this", "are", "or", "his", "from", "at", "which", "but", "have",
        "an", "had", "they", "you", "were", "their", "one", "all", "we", "can", "her", "has",
        "there", "been", "if", "more", "when", "will", "would", "who", "so", "no", "song", "music",
        "stage", "singer", "band", "night", "chorus", "verse", "rhythm", "guitar", "drums", "tempo",
        "player", "memory", "concert", "audience", "melody", "harmony", "evening", "summer",
        "dance", "backing", "track", "keyboard", "sound", "light", "voice", "heart", "road",
        "river", "mountain", "village", "friend", "morning", "together", "always", "never",
        "little", "great", "beautiful", "remember", "forget", "tomorrow", "yesterday", "because"};
    const int count = int(sizeof(words) / sizeof(words[0]));
    QRandomGenerator gen(77);
    QByteArray b;
    bool capital = true;
    int inSentence = 0;
    while (b.size() < size) {
        const double x = gen.generateDouble();
        const int w = qMin(count - 1, int(x * x * x * count));
        QByteArray word(words[w]);
        if (capital) {
            word[0] = char(word[0] - 'a' + 'A');
            capital = false;
        }
        b += word;
        ++inSentence;
        if (inSentence > 6 && gen.bounded(8) == 0) {
            b += gen.bounded(5) == 0 ? "!" : ".";
            b += gen.bounded(6) == 0 ? "\n\n" : " ";
            capital = true;
            inSentence = 0;
        } else {
            b += gen.bounded(12) == 0 ? ", " : " ";
        }
    }
    b.truncate(size);
    return b;
}

// CPU time of this process in seconds: the figures stay meaningful on a
// machine shared with other work.
double cpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Best of several timed runs, in seconds; each run repeats fn for 50 ms.
double timeOf(const std::function<void()>& fn)
{
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const double start = cpuSeconds();
        int reps = 0;
        double now;
        do {
            fn();
            ++reps;
        } while ((now = cpuSeconds()) - start < 0.05);
        best = std::min(best, (now - start) / reps);
    }
    return best;
}

// Wall-clock variant for work done in another process.
double wallTimeOf(const std::function<void()>& fn)
{
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        fn();
        best = std::min(best, double(t.nsecsElapsed()) / 1e9);
    }
    return best;
}

double mbps(int bytes, double seconds) { return bytes / seconds / 1e6; }

// gzip -9 run as a program on the bytes: wall-clock time, process start included.
bool gzipProgram(const QByteArray& data, int* packedSize, double* seconds)
{
    const QString gzip = QStandardPaths::findExecutable("gzip");
    if (gzip.isEmpty())
        return false;
    bool ok = true;
    *seconds = wallTimeOf([&] {
        QProcess p;
        p.start(gzip, {"-9", "-c"});
        ok = ok && p.waitForStarted();
        p.write(data);
        p.closeWriteChannel();
        ok = ok && p.waitForFinished();
        *packedSize = p.readAllStandardOutput().size();
    });
    return ok;
}

void compareOn(const char* label, const QByteArray& data)
{
    LzHuff codec;
    QByteArray packed, plain;
    codec.compress(data, packed);
    if (!codec.expand(packed, plain) || plain != data) {
        std::printf("%s: ROUND TRIP FAILED\n", label);
        return;
    }
    const double tc = timeOf([&] { codec.compress(data, packed); });
    const double te = timeOf([&] { codec.expand(packed, plain); });

    QByteArray z;
    const double tz = timeOf([&] { z = qCompress(data, 9); });
    const double tu = timeOf([&] { plain = qUncompress(z); });
    int gzSize = 0;
    double tg = 0;
    const bool haveGzip = gzipProgram(data, &gzSize, &tg);

    std::printf("\n%s: %d bytes\n", label, int(data.size()));
    std::printf("  LZHUF compress      %8.2f MB/s   packed %7d bytes (%.1f%%)\n", mbps(data.size(), tc),
                int(packed.size()), 100.0 * packed.size() / data.size());
    std::printf("  LZHUF expand        %8.2f MB/s\n", mbps(data.size(), te));
    std::printf("  deflate -9 in proc  %8.2f MB/s   packed %7d bytes (%.1f%%), inflate %.2f MB/s\n",
                mbps(data.size(), tz), int(z.size()) - 4, 100.0 * (z.size() - 4) / data.size(),
                mbps(data.size(), tu));
    if (haveGzip)
        std::printf("  gzip -9 program     %8.2f MB/s   packed %7d bytes (%.1f%%)\n", mbps(data.size(), tg),
                    gzSize, 100.0 * gzSize / data.size());
    std::printf("  ratio LZHUF compress / deflate -9: %.2fx speed, %.2fx size\n", tz / tc,
                double(packed.size()) / (z.size() - 4));
    if (haveGzip)
        std::printf("  ratio LZHUF compress / gzip -9 program: %.2fx speed, %.2fx size\n", tg / tc,
                    double(packed.size()) / gzSize);
    std::printf("  ratio LZHUF expand / inflate: %.2fx speed\n", tu / te);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quiet); // the codec logs every call

    const QByteArray midi = midiImage(150 * 1000);
    compareOn("MIDI image", midi);
    compareOn("Text", textImage(200 * 1000));

    std::printf("\nGrowth with the input (MIDI images):\n");
    std::printf("  %8s %12s %12s %14s %14s\n", "size", "compress ms", "expand ms", "compress us/KB",
                "expand us/KB");
    LzHuff codec;
    for (int kb : {50, 150, 450}) {
        const QByteArray data = midiImage(kb * 1000);
        QByteArray packed, plain;
        codec.compress(data, packed);
        const double tc = timeOf([&] { codec.compress(data, packed); });
        const double te = timeOf([&] { codec.expand(packed, plain); });
        std::printf("  %8d %12.2f %12.2f %14.2f %14.2f\n", int(data.size()), tc * 1e3, te * 1e3,
                    tc * 1e6 / (data.size() / 1000.0), te * 1e6 / (data.size() / 1000.0));
    }
    return 0;
}
