#include "EngineLog.h"

#include <QFile>

EngineLog::EngineLog(const char *variable) : m_variable(variable)
{
    m_file = qEnvironmentVariable(variable);
    if (m_file.isEmpty() && m_dir.isValid()) {
        m_file = m_dir.filePath(QStringLiteral("engine.log"));
        qputenv(variable, m_file.toLocal8Bit());
        m_own = true;
    }
    m_taken = QFile(m_file).size();
}

EngineLog::~EngineLog()
{
    if (m_own)
        qunsetenv(m_variable.constData());
}

QJsonObject EngineLog::WithPage(QJsonObject entry)
{
    QFile log(m_file);
    if (!log.open(QIODevice::ReadOnly) || !log.seek(m_taken))
        return entry;
    const QByteArray added = log.readAll().trimmed();
    m_taken = log.size();
    if (!added.isEmpty())
        entry[QStringLiteral("page")] = QString::fromUtf8(added.split('\n').last().split(' ').first());
    return entry;
}
