#pragma once
// The rules of the fragment frame on the frozen picture, apart from any
// widget: where its grips sit, how far the whole frame and each edge may be
// dragged. Rectangles are (left, top, width, height) in the coordinates of
// the panel that holds the picture at 1:1.

#include "base/r9Export.h"

#include <QRect>
#include <QSize>
#include <optional>

namespace camera {

/// Pen width of the frame; the grips lie on the pen.
inline constexpr int FramePenWidth = 4;
/// The frame stays strictly larger than this between opposite edges.
inline constexpr int FrameMinimumSide = 100;

enum TFrameEdge { feTop, feBottom, feLeft, feRight };

/// Top-left corner of an edge's grip: top grip at (left + p, top), left grip
/// at (left, top + p), right grip at (left + width - p, top + p), bottom grip
/// at (left + p, top + height - p).
R9_EXPORT QPoint GripPosition(TFrameEdge edge, const QRect &frame, int pen = FramePenWidth);
/// The whole grip: at GripPosition, `pen` thick, as long as the frame's side
/// minus two pen widths.
R9_EXPORT QRect GripRect(TFrameEdge edge, const QRect &frame, int pen = FramePenWidth);

/// The frame moved by (dx, dy), when it then keeps at least one pixel of gap
/// to every border of `area`; nothing otherwise.
R9_EXPORT std::optional<QRect> MovedFrame(const QRect &frame, int dx, int dy, const QSize &area);

/// The frame with one edge at `candidate` (a y for top and bottom, an x for
/// left and right), when the edge stays inside `picture` and the frame stays
/// more than FrameMinimumSide across; nothing otherwise. The opposite edge
/// does not move.
R9_EXPORT std::optional<QRect> DraggedEdge(TFrameEdge edge, const QRect &frame, int candidate, const QSize &picture);

/// The frame made to obey the move rule on `area`: shrunk where it is too
/// large for the area (never below the size the area allows) and moved
/// inside. A frame that already obeys it comes back unchanged.
R9_EXPORT QRect FrameFittedInto(const QRect &frame, const QSize &area);

} // namespace camera
