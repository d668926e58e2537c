#include "SourceScan.h"

namespace scproxy::engine {

twainclient::Settings SourceSettings(const ScanConfiguration &config)
{
    twainclient::Settings settings;
    settings.resolution = config.resolutionX;
    settings.mode = config.bitsPerPixel <= 1   ? twainclient::PictureMode::BlackAndWhite
                    : config.bitsPerPixel <= 8 ? twainclient::PictureMode::Grey
                                               : twainclient::PictureMode::Colour;
    settings.showSourceWindow = config.showTwain;
    return settings;
}

ErrorCode ErrorCodeFor(twainclient::Outcome outcome)
{
    switch (outcome) {
    case twainclient::Outcome::Scanned: return NoError;
    case twainclient::Outcome::NoScanner:
    case twainclient::Outcome::SourceRefused: return SourceError;
    default: return ScanError;
    }
}

} // namespace scproxy::engine
