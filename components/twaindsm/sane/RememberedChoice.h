#pragma once
// The mode and resolution the operator last scanned with, per scanner (by
// its TWAIN product name), so that a scanner opens as its operator left it:
// "600 dpi, grey" stays until the operator chooses otherwise. Kept beside
// the source manager's remembered source, in
// $XDG_CONFIG_HOME/twaindsm/sane-choices.ini (else ~/.config/...).

#include "TwainTypes.h"

#include <QByteArray>
#include <optional>

namespace twainsane {

struct RememberedChoice
{
    std::optional<TW_UINT16> pixelType; ///< TWPT_BW, TWPT_GRAY or TWPT_RGB
    std::optional<double> resolution;   ///< dots per inch
};

/// What was remembered for the scanner; nothing for a scanner never
/// scanned with, or values the file holds that are not a mode or a
/// resolution.
RememberedChoice ReadRememberedChoice(const QByteArray &productName);
/// Remembers the operator's choice for the scanner; false when the file
/// cannot be written (the scan goes on with the choice regardless).
bool RememberChoice(const QByteArray &productName, TW_UINT16 pixelType, double resolution);

} // namespace twainsane
