#include "SaneConfig.h"

namespace twainsane {

Config ReadConfig()
{
    Config c;
    c.options = qEnvironmentVariable("TWAINSANE_OPTIONS").split(QLatin1Char(';'), Qt::SkipEmptyParts);
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("TWAINSANE_SLICE_MS", &ok);
    if (ok && ms > 0 && ms <= 1000)
        c.slice = std::chrono::milliseconds(ms);
    const qlonglong bytes = qEnvironmentVariable("TWAINSANE_SLICE_BYTES").toLongLong(&ok);
    if (ok && bytes > 0)
        c.sliceBytes = std::size_t(bytes);
    return c;
}

} // namespace twainsane
