#pragma once
// Whether a window's page was read from its pixels or described: the engine
// stand-ins say it in their log of recognitions, one line per page ("read
// TD3", "described 04-ForeignPassport_MRZ.json"). The host points the log at
// a private file of its own for the run, unless the user named one, and
// takes the lines each window added.

#include <QJsonObject>
#include <QString>
#include <QTemporaryDir>

class EngineLog
{
public:
    /// variable: the engine's log switch ("PASSPORTREADER_LOG", "SCPROXY_LOG").
    explicit EngineLog(const char *variable);
    ~EngineLog();
    EngineLog(const EngineLog &) = delete;
    EngineLog &operator=(const EngineLog &) = delete;

    /// A report entry of a window with "page": "read" or "described" for
    /// the last page the engine recognised since the last entry (none when
    /// it recognised none).
    QJsonObject WithPage(QJsonObject entry);

private:
    QByteArray m_variable;
    QTemporaryDir m_dir;
    QString m_file;
    bool m_own = false;
    qint64 m_taken = 0;
};
