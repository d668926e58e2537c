#include "FaultSwitches.h"

#include <QRegularExpression>

namespace doubles {

QStringList SplitList(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    return text.split(separators, Qt::SkipEmptyParts);
}

QStringList ParseFaultSwitches(const QString &text)
{
    QStringList names;
    for (const QString &name : SplitList(text))
        if (const QString lower = name.toLower(); !names.contains(lower))
            names << lower;
    return names;
}

QStringList ActiveFaultSwitches(const char *variable, const QString &fileValue)
{
    // Joined before parsing, so that a name in both places counts once.
    return ParseFaultSwitches(qEnvironmentVariable(variable) + QLatin1Char(',') + fileValue);
}

QString FaultMessage(const char *name, const QString &what)
{
    return QStringLiteral("%1 (simulated fault \"%2\" of the engine stand-in)").arg(what, QString::fromLatin1(name));
}

} // namespace doubles
