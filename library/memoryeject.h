#ifndef LIBRARY_MEMORYEJECT_H
#define LIBRARY_MEMORYEJECT_H

#include <QCoreApplication>
#include <QString>

// The safe eject of a player memory, offered when a transfer or an index run
// has written on a removable one, with what to tell the user afterwards.
class MemoryEject
{
    Q_DECLARE_TR_FUNCTIONS(MemoryEject)

public:
    struct Outcome
    {
        bool ejected = false;  // the memory can be taken out
        QString text;          // for the user: that it can be taken out, or why not and what to do
    };

    // The top folder of the removable memory holding `path`: the one to
    // offer to eject; empty when `path` is on none.
    static QString memoryOf(const QString& path);
    // Unmounts the memory at `root` and powers it off.
    static Outcome eject(const QString& root);

    // "Espelli la memoria", the offer's text.
    static QString actionText();
};

#endif
