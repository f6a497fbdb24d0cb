// Records every log message while alive.
#ifndef TESTS_COMMON_LOGCAPTURE_H
#define TESTS_COMMON_LOGCAPTURE_H

#include <QStringList>
#include <QtGlobal>

class LogCapture
{
public:
    LogCapture() : previous(qInstallMessageHandler(&LogCapture::handler)) { lines().clear(); }
    ~LogCapture() { qInstallMessageHandler(previous); }
    static QStringList& lines()
    {
        static QStringList l;
        return l;
    }

private:
    static void handler(QtMsgType, const QMessageLogContext&, const QString& msg) { lines().append(msg); }
    QtMessageHandler previous;
};

#endif
