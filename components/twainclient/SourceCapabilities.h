#pragma once
// The operator's settings as the source's capabilities. The picture mode
// and the resolution are asked of every source; brightness, orientation and
// paper size only of a source that has them (and a paper size only when
// the source offers it): a source without one scans as it would anyway.

#include "ManagerSession.h"
#include "TwainClient.h"

#include <optional>

namespace twainclient {

TW_UINT16 PixelTypeFor(PictureMode mode);
TW_UINT16 BitDepthFor(PictureMode mode);
/// The operator's 0..100 (50 neutral) on the protocol's -1000..1000.
TWAINCLIENT_EXPORT double BrightnessFor(int operatorBrightness);
TWAINCLIENT_EXPORT TW_UINT16 OrientationFor(Orientation orientation);
/// The protocol's code of a paper size of the operator's list; none for a
/// size the protocol does not name.
TWAINCLIENT_EXPORT std::optional<TW_UINT16> PaperSizeFor(const QString &name);

/// What the open source offers of the settings it need not have.
Offers OffersOf(ManagerSession &session);

/// Sets what the source takes of settings (the source is open, not enabled).
void ApplySettings(ManagerSession &session, const Settings &settings);

} // namespace twainclient
