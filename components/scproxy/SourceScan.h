#pragma once
// A TWAIN source of the source manager as one of the engine's sources: the
// scan request's settings as the source's, and the source's faults as the
// instance's error codes.

#include "Engine.h"
#include "ScanConfiguration.h"
#include "TwainClient.h"

namespace scproxy::engine {

/// The settings of a scan with config: its resolutions, page frame and
/// feeder, its bits per pixel
/// as the picture mode, and "ShowTWAIN" as the source's own window.
twainclient::Settings SourceSettings(const ScanConfiguration &config);

/// The instance's error code for a scan that ended without a page (none
/// for the operator's cancel).
ErrorCode ErrorCodeFor(twainclient::Outcome outcome);

} // namespace scproxy::engine
