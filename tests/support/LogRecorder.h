#pragma once
// Collects the lines the package writes to the host's log while it lives.
#include "host/Sdlogfile.h"

#include <QStringList>

namespace r9test {

class LogRecorder : public host::ILogFile
{
public:
    LogRecorder() : m_previous(host::InstalledLogFile()) { host::InstallLogFile(this); }
    ~LogRecorder() override { host::InstallLogFile(m_previous); }
    LogRecorder(const LogRecorder &) = delete;
    LogRecorder &operator=(const LogRecorder &) = delete;

    void WriteLogFileMessage(const QString &text, const QTextCodec *encoding, const QString &fileName) override
    {
        lines << text;
        defaultLog = defaultLog && !encoding && fileName.isEmpty();
    }

    QStringList lines;
    /// Whether every line went to the host's default log (no encoding, no file).
    bool defaultLog = true;

private:
    host::ILogFile *m_previous;
};

} // namespace r9test
