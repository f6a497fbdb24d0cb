#include "app/stylesheet.h"

#include <QApplication>
#include <QFile>

bool applyStyleSheet(QApplication& app, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = file.readAll();
    file.close();
    const int nul = data.indexOf('\0');
    if (nul >= 0)
        data.truncate(nul);
    app.setStyleSheet(QString::fromLatin1(data));
    return true;
}
