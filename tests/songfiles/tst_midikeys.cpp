#include "songfiles/rawmidifile.h"

#include "midiimage.h"

#include <QtTest>

using namespace MidiImage;

namespace {

QStringList logged;
void capture(QtMsgType, const QMessageLogContext&, const QString& msg) { logged << msg; }

struct LogCapture
{
    LogCapture() { logged.clear(); old = qInstallMessageHandler(capture); }
    ~LogCapture() { qInstallMessageHandler(old); }
    QtMessageHandler old;
};

QByteArray keyEvent(int sf, int mi) { return meta(0x59, bytes({sf, mi})); }

// The 30 key names with sf and mi, in the order the user is offered them.
struct KeyRow { const char* name; int sf; int mi; };
const KeyRow keyTable[] = {
    {"C", 0, 0},     {"A-", 0, 1},     {"G", 1, 0},     {"E-", 1, 1},   {"D", 2, 0},
    {"B-", 2, 1},    {"A", 3, 0},      {"F#-", 3, 1},   {"E", 4, 0},    {"C#-", 4, 1},
    {"B", 5, 0},     {"G#-", 5, 1},    {"F#", 6, 0},    {"D#-", 6, 1},  {"C#", 7, 0},
    {"A#-", 7, 1},   {"Cb", 0xF9, 0},  {"Ab-", 0xF9, 1}, {"Gb", 0xFA, 0}, {"Eb-", 0xFA, 1},
    {"Db", 0xFB, 0}, {"Bb-", 0xFB, 1}, {"Ab", 0xFC, 0}, {"F-", 0xFC, 1}, {"Eb", 0xFD, 0},
    {"C-", 0xFD, 1}, {"Bb", 0xFE, 0},  {"G-", 0xFE, 1}, {"F", 0xFF, 0},  {"D-", 0xFF, 1},
};

} // namespace

class TestMidiKeys : public QObject
{
    Q_OBJECT
private slots:
    void keysList()
    {
        RawMidiFile m;
        QStringList expected;
        for (const KeyRow& k : keyTable)
            expected << k.name;
        QCOMPARE(m.getKeysList(), expected);
        m.populateKeyMaps();
        QCOMPARE(m.getKeysList().size(), 30);
    }

    // Every name written gives its exact event and reads back as itself.
    void bothWays_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("sf");
        QTest::addColumn<int>("mi");
        QTest::addColumn<QString>("read");
        for (const KeyRow& k : keyTable)
            QTest::newRow(k.name) << k.name << k.sf << k.mi << k.name;
        QTest::newRow("alias G#") << "G#" << 0xFC << 0 << "Ab";
        QTest::newRow("alias Db-") << "Db-" << 4 << 1 << "C#-";
        QTest::newRow("alias D#") << "D#" << 0xFD << 0 << "Eb";
        QTest::newRow("spaces A -") << "A -" << 0 << 1 << "A-";
        QTest::newRow("spaces G #") << " G # " << 0xFC << 0 << "Ab";
    }
    void bothWays()
    {
        QFETCH(QString, written);
        QFETCH(int, sf);
        QFETCH(int, mi);
        QFETCH(QString, read);
        RawMidiFile m;
        QVERIFY(m.loadData(smf(1, {keyEvent(1, 0) + notes() + keyEvent(2, 0), keyEvent(3, 1)})));
        LogCapture log;
        m.setKey(written);
        QVERIFY(logged.isEmpty());
        QCOMPARE(m.stream().toHex(' '), smf(1, {keyEvent(sf, mi) + notes(), keyEvent(3, 1)}).toHex(' '));
        QCOMPARE(m.key(), read);
        QVERIFY(m.hasKey());
    }

    void unknownKeyInFile_data()
    {
        QTest::addColumn<QByteArray>("track");
        QTest::addColumn<QString>("warning");
        QTest::newRow("eight sharps") << keyEvent(0x08, 0x00)
                                      << "[RawMidiFile::extractKey] WARNING: unknown key metaevent \"[sf=08|mi=00]\" in MIDI file.";
        QTest::newRow("mode 0x0B") << keyEvent(0xFA, 0x0B)
                                   << "[RawMidiFile::extractKey] WARNING: unknown key metaevent \"[sf=fa|mi=0B]\" in MIDI file.";
    }
    void unknownKeyInFile()
    {
        QFETCH(QByteArray, track);
        QFETCH(QString, warning);
        RawMidiFile m;
        QVERIFY(m.loadData(smf(0, {track + keyEvent(0, 0)})));
        LogCapture log;
        QCOMPARE(m.key(), QString());
        QCOMPARE(logged, QStringList{warning});
        QVERIFY(m.hasKey());
    }

    void noKeyWritten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("warnings");
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("H") << "H" << QStringList{"[RawMidiFile::setKey] WARNING: unknown key: \"H\" . Metaevent not added !!!"};
        QTest::newRow("lower case") << "a -" << QStringList{"[RawMidiFile::setKey] WARNING: unknown key: \"a-\" . Metaevent not added !!!"};
        QTest::newRow("only spaces") << "  " << QStringList{"[RawMidiFile::setKey] WARNING: unknown key: \"\" . Metaevent not added !!!"};
    }
    void noKeyWritten()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, warnings);
        RawMidiFile m;
        QVERIFY(m.loadData(smf(0, {keyEvent(1, 0) + notes() + keyEvent(0xFD, 1)})));
        LogCapture log;
        m.setKey(name);
        QCOMPARE(logged, warnings);
        QCOMPARE(m.stream(), smf(0, {notes()}));
        QVERIFY(!m.hasKey());
        QCOMPARE(m.key(), QString());
    }
};

QTEST_GUILESS_MAIN(TestMidiKeys)
#include "tst_midikeys.moc"
