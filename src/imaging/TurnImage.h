#pragma once
// Quarter turns of a scanned picture. A form keeps the picture twice: a
// hidden source image with the picture as scanned and a visible work image
// with the turned copy. A turn never works on the copy: it renders the work
// picture afresh from the untouched source at the new absolute angle, so any
// number of turns loses nothing and four turns give the scan back.

namespace ui { class TPictureBox; }

namespace imaging {

enum class TurnDirection {
    Left,  ///< counter-clockwise
    Right, ///< clockwise
};

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
