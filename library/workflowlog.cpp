#include "library/workflowlog.h"

#include <QByteArray>
#include <QDebug>

void logBanner(const char* title)
{
    const QByteArray rule(44, '=');
    qDebug() << rule.constData();
    qDebug() << (QByteArray(10, ' ') + title).constData();
    qDebug() << rule.constData();
}
