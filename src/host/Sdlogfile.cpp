#include "host/Sdlogfile.h"

namespace {
host::ILogFile *g_log = nullptr;
}

namespace host {
void InstallLogFile(ILogFile *log) { g_log = log; }
ILogFile *InstalledLogFile() { return g_log; }
} // namespace host

void WriteLogFileMessage(const QString &text, const QTextCodec *encoding, const QString &fileName)
{
    if (g_log)
        g_log->WriteLogFileMessage(text, encoding, fileName);
}
