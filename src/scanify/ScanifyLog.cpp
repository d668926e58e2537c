#include "scanify/ScanifyLog.h"

#include "common/engCommon9r.h"
#include "host/Sdlogfile.h"

namespace scanify {

void Protocol(const QString &line)
{
    if (gl_Protocol)
        WriteLogFileMessage(line);
}

} // namespace scanify
