#include "host/Sdlogfile.h"

#include <utility>

#include <QStringList>

namespace {
host::ILogFile *g_log = nullptr;

// Lines of the package start, which runs before a host installs its log.
// Bounded: a host that never installs one must not make them pile up.
QStringList g_held;
constexpr qsizetype kMaxHeld = 100;
}

namespace host {
void InstallLogFile(ILogFile *log)
{
    g_log = log;
    if (!g_log)
        return;
    const QStringList held = std::exchange(g_held, QStringList());
    for (const QString &text : held)
        g_log->WriteLogFileMessage(text, nullptr, QString());
}
ILogFile *InstalledLogFile() { return g_log; }
} // namespace host

void WriteLogFileMessage(const QString &text, const QTextCodec *encoding, const QString &fileName)
{
    if (g_log)
        g_log->WriteLogFileMessage(text, encoding, fileName);
}

void WriteLogFileMessageWhenInstalled(const QString &text)
{
    if (g_log)
        g_log->WriteLogFileMessage(text, nullptr, QString());
    else if (g_held.size() < kMaxHeld)
        g_held << text;
}
