#ifndef CLI_ARGUMENTS_H
#define CLI_ARGUMENTS_H

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// A command line taken apart: the command, its plain arguments in order, and
// the options given, with their values. An option given as "" is present
// with an empty value, which is not the same as absent.
struct Arguments
{
    QString command;
    QStringList plain;
    QMap<QString, QString> values;  // options with a value, by name ("--to")
    QSet<QString> flags;            // options without one

    bool has(const QString& option) const { return values.contains(option) || flags.contains(option); }
    QString value(const QString& option) const { return values.value(option); }
};

#endif
