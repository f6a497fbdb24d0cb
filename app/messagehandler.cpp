#include "app/messagehandler.h"

#include <QDateTime>
#include <QFile>

#include <cstdlib>

namespace {

const char* typePrefix(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "D| ";
    case QtWarningMsg:
        return "W| ";
    case QtCriticalMsg:
        return "C| ";
    case QtFatalMsg:
        return "F| ";
    default:
        return nullptr;
    }
}

} // namespace

QByteArray formatLogLine(QtMsgType type, const QDateTime& when, const QString& msg)
{
    const char* prefix = typePrefix(type);
    if (!prefix)
        return QByteArray();
    QByteArray line = when.toString(QStringLiteral("[dd-MM-yyyy hh:mm:ss]")).toUtf8();
    line += prefix;
    line += msg.toUtf8();
    line += '\n';
    return line;
}

void myMessageOutput(QtMsgType type, const QMessageLogContext& context, const QString& msg)
{
    Q_UNUSED(context)
    const QByteArray line = formatLogLine(type, QDateTime::currentDateTime(), msg);
    if (!line.isEmpty()) {
        QFile file(QStringLiteral("log.txt"));
        // A log that cannot be opened loses the message without any report.
        if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
            file.write(line);
            file.close();
        }
    }
    if (type == QtFatalMsg)
        abort();
}

void dummyMessageOutput(QtMsgType type, const QMessageLogContext& context, const QString& msg)
{
    Q_UNUSED(context)
    Q_UNUSED(msg)
    if (type == QtFatalMsg)
        abort();
}
