#pragma once
// The SANE source's settings from the environment, read when a source opens
// (the options) and when it is enabled (the slices):
//   TWAINSANE_OPTIONS      device options set after opening, as
//                          "name=value;name=value" (SANE's option names,
//                          e.g. "br-x=210;br-y=297;test-picture=Grid")
//   TWAINSANE_SLICE_MS     longest time one step of a scan reads (default 8)
//   TWAINSANE_SLICE_BYTES  most bytes one step of a scan reads (default: no limit)

#include <QStringList>
#include <chrono>
#include <cstddef>

namespace twainsane {

struct Config
{
    QStringList options;
    std::chrono::microseconds slice{8000};
    std::size_t sliceBytes = 0;
};

Config ReadConfig();

} // namespace twainsane
