#include "base/ResString.h"
#include <QCoreApplication>

QString LoadResString(const ResString *message)
{
    if (!message || !message->source)
        return QString();
    return QCoreApplication::translate(ResStringContext, message->source);
}
