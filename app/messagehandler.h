#ifndef MESSAGEHANDLER_H
#define MESSAGEHANDLER_H

#include <QtGlobal>
#include <QByteArray>
#include <QString>

class QDateTime;

// The two message handlers; exactly one of them is installed at start-up.

// Appends each debug, warning, critical or fatal message as one line to
// "log.txt" in the current directory, opening and closing the file for every
// message; other message types write nothing. A fatal message ends the process.
void myMessageOutput(QtMsgType type, const QMessageLogContext& context, const QString& msg);

// Writes nothing; a fatal message still ends the process.
void dummyMessageOutput(QtMsgType type, const QMessageLogContext& context, const QString& msg);

// The log line for a message: "[dd-MM-yyyy hh:mm:ss]", the type prefix
// ("D| ", "W| ", "C| ", "F| "), the text as UTF-8 and a line feed. Empty for
// a message type that is not logged.
QByteArray formatLogLine(QtMsgType type, const QDateTime& when, const QString& msg);

#endif // MESSAGEHANDLER_H
