#include "library/memoryeject.h"

#include "platform/removablememories.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString MemoryEject::memoryOf(const QString& path)
{
    const QString root = path.isEmpty() ? QString() : RemovableMemories().rootOf(path);
    return QFileInfo(root).isDir() ? root : QString();
}

MemoryEject::Outcome MemoryEject::eject(const QString& root)
{
    const QString name = QDir::toNativeSeparators(root);
    const RemovableMemories::Ejection ejection = RemovableMemories().eject(root);
    Outcome outcome;
    switch (ejection.result) {
    case RemovableMemories::Ejected:
        outcome.ejected = true;
        outcome.text = tr("La memoria %1 è stata espulsa: ora può essere rimossa.").arg(name);
        break;
    case RemovableMemories::Busy:
        outcome.text = tr("La memoria %1 non può essere espulsa perché è in uso: chiudere i programmi e le finestre "
                          "che la usano e riprovare. Non rimuoverla prima.")
                           .arg(name);
        break;
    case RemovableMemories::NoTool:
    case RemovableMemories::NoDevice:
        outcome.text = tr("Espellere la memoria %1 dal desktop prima di rimuoverla.").arg(name);
        break;
    case RemovableMemories::Failed:
        outcome.text = tr("La memoria %1 non è stata espulsa (%2): espellerla dal desktop prima di rimuoverla.")
                           .arg(name, ejection.detail);
        break;
    }
    return outcome;
}

QString MemoryEject::actionText()
{
    return tr("Espelli la memoria");
}
