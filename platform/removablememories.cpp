#include "platform/removablememories.h"

#include "platform/platform.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>

#include <algorithm>

namespace {

// Runs a system tool to its end; its output, both channels, goes to `output`.
bool runTool(const QString& program, const QStringList& args, QString& output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    // An unmount waits for the memory's pending writes.
    const bool finished = process.waitForStarted() && process.waitForFinished(120000);
    output = QString::fromLocal8Bit(process.readAll()).trimmed();
    if (!finished) {
        process.kill();
        process.waitForFinished();
        if (output.isEmpty())
            output = process.errorString();
    }
    qDebug() << "[RemovableMemories::runTool] ran" << program << args << "exit" << process.exitCode() << output;
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool inside(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder == QLatin1String("/") ? folder : folder + QLatin1Char('/'));
}

} // namespace

RemovableMemories::RemovableMemories()
    : systemRoot(qEnvironmentVariable("ORVALO3_SYSTEM_ROOT"))
{
}

RemovableMemories::RemovableMemories(const QString& systemRoot)
    : systemRoot(systemRoot)
{
}

QString RemovableMemories::systemPath(const QString& path) const
{
    if (systemRoot.isEmpty() || systemRoot == QLatin1String("/"))
        return path;
    return systemRoot + path;
}

QString RemovableMemories::unescapeMountField(const QByteArray& field)
{
    // The kernel writes space, tab, newline and backslash as "\" and three
    // octal digits; the rest are the name's own bytes.
    QByteArray bytes;
    bytes.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
                bytes += char(digits.toInt(nullptr, 8));
                i += 3;
                continue;
            }
        }
        bytes += field.at(i);
    }
    return QFile::decodeName(bytes);
}

bool RemovableMemories::removableDevice(const QString& majorMinor) const
{
    // /sys/dev/block/<major>:<minor> leads to the device; a partition's
    // folder lies in its disk's, which tells whether the disk is removable.
    QString device = QFileInfo(systemPath(QStringLiteral("/sys/dev/block/") + majorMinor)).canonicalFilePath();
    if (device.isEmpty())
        return false;
    if (QFileInfo::exists(device + QStringLiteral("/partition")))
        device = QFileInfo(device).path();
    QFile removable(device + QStringLiteral("/removable"));
    return removable.open(QIODevice::ReadOnly) && removable.readAll().trimmed() == "1";
}

QVector<RemovableMemories::Mount> RemovableMemories::mounts() const
{
    QVector<Mount> found;
#ifdef Q_OS_MACOS
    const QString diskutil = QStandardPaths::findExecutable(QStringLiteral("diskutil"));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        Mount mount;
        mount.device = QString::fromLocal8Bit(volume.device());
        mount.point = volume.rootPath();
        QString info;
        mount.removable = mount.point != QLatin1String("/") && !diskutil.isEmpty()
            && runTool(diskutil, {QStringLiteral("info"), mount.point}, info) && diskutilSaysRemovable(info);
        found.append(mount);
    }
#else
    // "<id> <parent> <major:minor> <root> <mount point> <options> [optional
    // fields] - <type> <source> <super options>"
    QFile table(systemPath(QStringLiteral("/proc/self/mountinfo")));
    if (!table.open(QIODevice::ReadOnly))
        return found;
    const QList<QByteArray> lines = table.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        const int separator = fields.indexOf("-", 6);
        if (separator < 0 || separator + 2 >= fields.size())
            continue;
        Mount mount;
        mount.point = unescapeMountField(fields.at(4));
        mount.device = unescapeMountField(fields.at(separator + 2));
        // The system's own disk may be a USB one: it is never a memory.
        mount.removable = mount.point != QLatin1String("/") && !inside(mount.point, QStringLiteral("/boot"))
            && removableDevice(QString::fromLatin1(fields.at(2)));
        found.append(mount);
    }
#endif
    return found;
}

QStringList RemovableMemories::list() const
{
    const QVector<Mount> all = mounts();
    QStringList memories;
    const QString volumes = Platform::volumesDir();
    const QStringList entries =
        QDir(volumes).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& entry : entries) {
        const QString path = volumes + QLatin1Char('/') + entry;
#ifdef Q_OS_MACOS
        // "/Volumes" also holds the system's own disk.
        if (qEnvironmentVariableIsEmpty("ORVALO3_VOLUMES_DIR")
            && std::none_of(all.begin(), all.end(),
                            [&path](const Mount& m) { return m.removable && m.point == path; }))
            continue;
#endif
        memories << path;
    }
    for (const Mount& mount : all) {
        if (mount.removable && !Platform::isOnVolume(mount.point) && !memories.contains(mount.point))
            memories << mount.point;
    }
    return memories;
}

QString RemovableMemories::rootOf(const QString& path) const
{
    const QString clean = QDir::cleanPath(path);
    if (Platform::isOnVolume(clean))
        return Platform::volumeRoot(clean);
    QString root;
    for (const Mount& mount : mounts()) {
        if (mount.removable && inside(clean, mount.point) && mount.point.size() > root.size())
            root = mount.point;
    }
    return root;
}

QString RemovableMemories::deviceOf(const QString& root) const
{
    const QString clean = QDir::cleanPath(root);
    QString device;
    // The last mount on a folder is the one seen there.
    for (const Mount& mount : mounts()) {
        if (mount.point == clean)
            device = mount.device.startsWith(QLatin1String("/dev/")) ? mount.device : QString();
    }
    return device;
}

RemovableMemories::Ejection RemovableMemories::eject(const QString& root) const
{
    Ejection ejection;
    QString output;
#ifdef Q_OS_MACOS
    const QString diskutil = QStandardPaths::findExecutable(QStringLiteral("diskutil"));
    if (diskutil.isEmpty()) {
        ejection.result = NoTool;
        return ejection;
    }
    if (runTool(diskutil, {QStringLiteral("eject"), root}, output)) {
        ejection.result = Ejected;
        return ejection;
    }
    const bool busy = output.contains(QLatin1String("busy"), Qt::CaseInsensitive)
        || output.contains(QLatin1String("dissent"), Qt::CaseInsensitive);
#else
    const QString udisks = QStandardPaths::findExecutable(QStringLiteral("udisksctl"));
    if (udisks.isEmpty()) {
        ejection.result = NoTool;
        return ejection;
    }
    const QString device = deviceOf(root);
    if (device.isEmpty()) {
        ejection.result = NoDevice;
        return ejection;
    }
    if (runTool(udisks, {QStringLiteral("unmount"), QStringLiteral("-b"), device}, output)) {
        // Unmounted, every write is on the memory: it can go even where the
        // port cannot be powered off (a card reader inside the computer).
        QString powerOff;
        if (!runTool(udisks, {QStringLiteral("power-off"), QStringLiteral("-b"), device}, powerOff))
            qDebug() << "[RemovableMemories::eject] unmounted, not powered off:" << device << powerOff;
        ejection.result = Ejected;
        return ejection;
    }
    const bool busy = output.contains(QLatin1String("busy"), Qt::CaseInsensitive);
#endif
    ejection.result = busy ? Busy : Failed;
    ejection.detail = output;
    return ejection;
}

bool RemovableMemories::diskutilSaysRemovable(const QString& info)
{
    for (const QString& line : info.split(QLatin1Char('\n'))) {
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const QString key = line.left(colon).trimmed();
        const QString value = line.mid(colon + 1).trimmed();
        if ((key == QLatin1String("Removable Media")
             && (value == QLatin1String("Removable") || value == QLatin1String("Yes")))
            || (key == QLatin1String("Device Location") && value == QLatin1String("External")))
            return true;
    }
    return false;
}
