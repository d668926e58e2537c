#pragma once
// The stand-in host log: one timestamped line per message, appended to the
// host's default log file in the per-user state folder and flushed at once,
// so a crash loses no line that was written.

#include "host/Sdlogfile.h"

#include <QFile>

namespace hostkit {

class THostLogFile : public host::ILogFile
{
public:
    /// Logs into `folder` (DefaultFolder() when empty).
    explicit THostLogFile(const QString &folder = QString());

    /// A non-empty `fileName` names another log in the same folder (or an
    /// absolute path). Texts are written as UTF-8 whatever `encoding` says.
    void WriteLogFileMessage(const QString &text, const QTextCodec *encoding, const QString &fileName) override;

    QString DefaultLogPath() const;
    /// $XDG_STATE_HOME/Velmar-Q-70, else ~/.local/state/Velmar-Q-70.
    static QString DefaultFolder();
    static QString DefaultFileName() { return QStringLiteral("Velmar-Q-70.log"); }

private:
    bool Append(QFile &file, const QString &path, const QByteArray &line);

    QString m_folder;
    QFile m_default;
};

} // namespace hostkit
