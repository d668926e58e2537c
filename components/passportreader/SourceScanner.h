#pragma once
// A scanner of the source manager as one of the engine's scanners: its
// settings (the same five as the feeder's) as the source's, and one page
// from it.

#include "StringsArray.h"
#include "TwainClient.h"

#include <QImage>

namespace passportreader {

/// The settings a source's scanner starts with: no window of the source's
/// own until the operator asks for it.
StringsArray::Entries SourceScannerSettings();

/// settings without those the source lacks (brightness, orientation, paper
/// size), so the operator is offered only what reaches the scanner; all of
/// them when the source cannot be asked.
StringsArray::Entries OfferedSettings(const QString &source, StringsArray::Entries settings);

/// One page from source with settings, or how the scan ended without one.
twainclient::Result ScanFromSource(const QString &source, const StringsArray::Entries &settings);

} // namespace passportreader
