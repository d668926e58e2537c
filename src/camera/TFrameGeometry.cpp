#include "camera/TFrameGeometry.h"

#include <algorithm>

namespace camera {

QPoint GripPosition(TFrameEdge edge, const QRect &frame, int pen)
{
    switch (edge) {
    case feTop: return {frame.x() + pen, frame.y()};
    case feBottom: return {frame.x() + pen, frame.y() + frame.height() - pen};
    case feLeft: return {frame.x(), frame.y() + pen};
    case feRight: return {frame.x() + frame.width() - pen, frame.y() + pen};
    }
    return {};
}

QRect GripRect(TFrameEdge edge, const QRect &frame, int pen)
{
    const bool across = edge == feTop || edge == feBottom;
    const QSize size = across ? QSize(frame.width() - 2 * pen, pen) : QSize(pen, frame.height() - 2 * pen);
    return QRect(GripPosition(edge, frame, pen), size);
}

std::optional<QRect> MovedFrame(const QRect &frame, int dx, int dy, const QSize &area)
{
    const int left = frame.x() + dx;
    const int top = frame.y() + dy;
    if (left > 0 && top > 0 && left + frame.width() < area.width() && top + frame.height() < area.height())
        return QRect(left, top, frame.width(), frame.height());
    return std::nullopt;
}

std::optional<QRect> DraggedEdge(TFrameEdge edge, const QRect &frame, int candidate, const QSize &picture)
{
    const int left = frame.x(), top = frame.y(), width = frame.width(), height = frame.height();
    switch (edge) {
    case feTop:
        if (candidate > 0 && candidate < top + height - FrameMinimumSide)
            return QRect(left, candidate, width, height + (top - candidate));
        break;
    case feBottom:
        if (candidate > top + FrameMinimumSide && candidate < picture.height())
            return QRect(left, top, width, candidate - top);
        break;
    case feLeft:
        if (candidate > 0 && candidate < left + width - FrameMinimumSide)
            return QRect(candidate, top, width + (left - candidate), height);
        break;
    case feRight:
        if (candidate > left + FrameMinimumSide && candidate < picture.width())
            return QRect(left, top, candidate - left, height);
        break;
    }
    return std::nullopt;
}

QRect FrameFittedInto(const QRect &frame, const QSize &area)
{
    // One pixel of gap on each side, as the move rule wants.
    const int width = std::max(1, std::min(frame.width(), area.width() - 2));
    const int height = std::max(1, std::min(frame.height(), area.height() - 2));
    const int left = std::clamp(frame.x(), 1, std::max(1, area.width() - 1 - width));
    const int top = std::clamp(frame.y(), 1, std::max(1, area.height() - 1 - height));
    return QRect(left, top, width, height);
}

} // namespace camera
