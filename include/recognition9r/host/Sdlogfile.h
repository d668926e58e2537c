#pragma once
#include "base/r9Export.h"
// The host's log. The package writes progress and diagnostic lines through
// WriteLogFileMessage; where a line ends up is the host's business.

#include <QString>

class QTextCodec;

namespace host {

/// What a host installs to receive the package's log lines.
class R9_EXPORT ILogFile
{
public:
    virtual ~ILogFile() = default;
    /// encoding null and fileName empty mean: the host's default log.
    virtual void WriteLogFileMessage(const QString &text, const QTextCodec *encoding, const QString &fileName) = 0;
};

/// Installs the host's log (null removes it), and writes to it first the lines
/// held for it (WriteLogFileMessageWhenInstalled). The package does not own it.
/// Hosts do this through InstallHostServices (host/HostServices.h).
R9_EXPORT void InstallLogFile(ILogFile *log);
R9_EXPORT ILogFile *InstalledLogFile();

} // namespace host

/// Writes one line to the host's log. Without an installed log the line is
/// dropped: logging never stops the operator's work.
R9_EXPORT void WriteLogFileMessage(const QString &text, const QTextCodec *encoding = nullptr,
                                   const QString &fileName = QString());

/// Writes one line to the host's default log; without an installed log the
/// line is held and written when the host installs one (at most 100 lines
/// are held). For what the package does before a host can have installed its
/// services, such as at its start.
void WriteLogFileMessageWhenInstalled(const QString &text);
