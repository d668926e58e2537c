#pragma once
// Processor time of this process, all its threads: the comparison programs
// pin themselves to one core, so this is what a page costs on one core
// whatever else the machine is doing.

#include <time.h>

namespace benchtime {

inline double ProcessMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

} // namespace benchtime
