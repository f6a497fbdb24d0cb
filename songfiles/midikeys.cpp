// Key signature names of RawMidiFile: the name tables and the reading and
// writing of the key signature meta-event (0xFF 0x59, sf and mi).

#include "songfiles/rawmidifile.h"

#include <QDebug>

namespace {

struct KeyName
{
    const char* name;
    unsigned short value; // sf (two's complement) in the high byte, mi in the low byte
};

// Minor keys carry a trailing "-".
const KeyName keyNames[] = {
    {"C", 0x0000},   {"A-", 0x0001},  {"G", 0x0100},   {"E-", 0x0101},  {"D", 0x0200},
    {"B-", 0x0201},  {"A", 0x0300},   {"F#-", 0x0301}, {"E", 0x0400},   {"C#-", 0x0401},
    {"B", 0x0500},   {"G#-", 0x0501}, {"F#", 0x0600},  {"D#-", 0x0601}, {"C#", 0x0700},
    {"A#-", 0x0701}, {"Cb", 0xF900},  {"Ab-", 0xF901}, {"Gb", 0xFA00},  {"Eb-", 0xFA01},
    {"Db", 0xFB00},  {"Bb-", 0xFB01}, {"Ab", 0xFC00},  {"F-", 0xFC01},  {"Eb", 0xFD00},
    {"C-", 0xFD01},  {"Bb", 0xFE00},  {"G-", 0xFE01},  {"F", 0xFF00},   {"D-", 0xFF01},
};

// Enharmonic spellings accepted on writing only.
const KeyName keyAliases[] = {
    {"G#", 0xFC00},
    {"Db-", 0x0401},
    {"D#", 0xFD00},
};

} // namespace

void RawMidiFile::populateKeyMaps()
{
    keyNameToValue.clear();
    keyValueToName.clear();
    for (const KeyName& k : keyNames) {
        keyNameToValue.insert(QString::fromLatin1(k.name), k.value);
        keyValueToName.insert(k.value, QString::fromLatin1(k.name));
    }
    for (const KeyName& k : keyAliases)
        keyNameToValue.insert(QString::fromLatin1(k.name), k.value);
}

QStringList RawMidiFile::getKeysList()
{
    return keyValueToName.values();
}

int RawMidiFile::extractKey(QString& name) const
{
    name.clear();
    MetaEvent ev;
    if (!findMeta(MetaTypeKeySignature, ev))
        return -1;
    // sf and mi follow the length, whatever length is declared.
    if (qint64(ev.dataStart) + 2 > m_stream.size())
        return -1;
    const quint8 sf = static_cast<quint8>(m_stream.at(ev.dataStart));
    const quint8 mi = static_cast<quint8>(m_stream.at(ev.dataStart + 1));
    const unsigned short value = static_cast<unsigned short>((sf << 8) | mi);
    const auto it = keyValueToName.constFind(value);
    if (it != keyValueToName.constEnd()) {
        name = it.value();
    } else {
        qDebug() << "[RawMidiFile::extractKey] WARNING: unknown key metaevent"
                 << QString("[sf=%1|mi=%2]")
                        .arg(uint(sf), 2, 16, QLatin1Char('0'))
                        .arg(QString::number(uint(mi), 16).rightJustified(2, QLatin1Char('0')).toUpper())
                 << "in MIDI file.";
    }
    return ev.pos;
}

QString RawMidiFile::key() const
{
    QString name;
    extractKey(name);
    return name;
}

bool RawMidiFile::hasKey() const
{
    QString name;
    return extractKey(name) >= 0;
}

void RawMidiFile::setKey(const QString& name)
{
    removeHeadMetaevent(MetaTypeKeySignature, false);
    if (name.isEmpty())
        return;
    QString cleaned = name;
    cleaned.remove(QLatin1Char(' '));
    const auto it = keyNameToValue.constFind(cleaned);
    if (cleaned.isEmpty() || it == keyNameToValue.constEnd()) {
        qDebug() << "[RawMidiFile::setKey] WARNING: unknown key:" << cleaned << ". Metaevent not added !!!";
        return;
    }
    QByteArray payload;
    payload.append(char(it.value() >> 8));
    payload.append(char(it.value() & 0xFF));
    insertMetaevent(payload, MetaTypeKeySignature, trackDataStart);
}
