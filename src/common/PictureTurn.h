#pragma once
// A form's picture pair turned by a quarter: the image layer's turn
// (imaging/TurnImage.h) applied to the two picture controls that hold the
// scan, the turned copy and the angle. Named in the image layer's namespace,
// as the turn every scanning form offers.

#include "imaging/TurnImage.h"

namespace ui { class TPictureBox; }

namespace imaging {

/// Turns the pair by one quarter turn. The rotation index (0 as scanned,
/// 1 = 90 degrees clockwise, 2 = 180, 3 = 270) lives in source->Tag(); a new
/// scan sets it to 0. The work bitmap is resized (H x W for odd indices) and
/// keeps its pixel format; its pixels are one transformed draw of the source.
/// While it runs the cursor is the hourglass and the work image's window is
/// disabled; both are restored and the work image repainted on every path,
/// and an exception goes on to the caller. A turned picture that cannot be
/// made (no memory for it) throws std::bad_alloc and changes neither the
/// work picture nor the index. An empty source (or a null
/// pointer) changes nothing and touches neither cursor nor window.
void TurnImage(ui::TPictureBox *source, ui::TPictureBox *work, TurnDirection direction);

} // namespace imaging
