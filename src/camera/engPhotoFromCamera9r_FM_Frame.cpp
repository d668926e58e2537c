// The fragment frame on the frozen picture: dragging it whole, dragging one
// of its edges by the grip on it, and the cursors that say whether the
// pointer's position is taken.
#include "camera/engPhotoFromCamera9r_FM.h"

#include "camera/TCameraPanel.h"
#include "camera/TShape.h"
#include "ui/TPictureBox.h"

#include <QApplication>

using camera::TFrameEdge;

namespace {

constexpr TFrameEdge AllEdges[] = {camera::feTop, camera::feBottom, camera::feLeft, camera::feRight};

} // namespace

QRect TPhotoFromCameraFM::FrameRect() const
{
    return spFrame->geometry();
}

camera::TShape *TPhotoFromCameraFM::Grip(TFrameEdge edge) const
{
    switch (edge) {
    case camera::feTop: return spFrameTop;
    case camera::feBottom: return spFrameBottom;
    case camera::feLeft: return spFrameLeft;
    case camera::feRight: return spFrameRight;
    }
    return nullptr;
}

void TPhotoFromCameraFM::PlaceGrips()
{
    for (TFrameEdge edge : AllEdges)
        Grip(edge)->move(camera::GripPosition(edge, FrameRect()));
}

void TPhotoFromCameraFM::ShowGrips(bool visible, camera::TShape *keep)
{
    for (TFrameEdge edge : AllEdges)
        if (Grip(edge) != keep)
            Grip(edge)->setVisible(visible);
}

void TPhotoFromCameraFM::FitFrameIntoPicture()
{
    // The frame was laid out for no picture in particular; on a small one it
    // would hang over the edge.
    const QRect fitted = camera::FrameFittedInto(FrameRect(), imgPhoto->size());
    if (fitted == FrameRect())
        return;
    spFrame->setGeometry(fitted);
    for (TFrameEdge edge : AllEdges)
        Grip(edge)->setGeometry(camera::GripRect(edge, fitted));
}

void TPhotoFromCameraFM::SetScreenCursor(Qt::CursorShape shape)
{
    if (m_screenCursorSet) {
        QApplication::changeOverrideCursor(QCursor(shape));
    } else {
        QApplication::setOverrideCursor(QCursor(shape));
        m_screenCursorSet = true;
    }
}

void TPhotoFromCameraFM::RestoreScreenCursor()
{
    if (!m_screenCursorSet)
        return;
    QApplication::restoreOverrideCursor();
    m_screenCursorSet = false;
}

// ---- the whole frame -----------------------------------------------------

void TPhotoFromCameraFM::spFrameMouseDown(Qt::MouseButton, Qt::MouseButtons, int X, int Y)
{
    FStartXFrame = X;
    FStartYFrame = Y;
    spFrame->OnMouseMove = [this](Qt::MouseButtons s, int x, int y) { spFrameMouseMove(s, x, y); };
}

void TPhotoFromCameraFM::spFrameMouseMove(Qt::MouseButtons Shift, int X, int Y)
{
    if (!(Shift & Qt::LeftButton))
        return;
    const std::optional<QRect> moved =
        camera::MovedFrame(FrameRect(), X - FStartXFrame, Y - FStartYFrame, pnlCamera->size());
    if (!moved) {
        SetScreenCursor(Qt::ForbiddenCursor);
        return;
    }
    SetScreenCursor(Qt::SizeAllCursor);
    if (!spFrameTop->isHidden())
        ShowGrips(false);
    spFrame->setGeometry(*moved);
    spFrame->update();
}

void TPhotoFromCameraFM::spFrameMouseUp(Qt::MouseButton, Qt::MouseButtons, int, int)
{
    RestoreScreenCursor();
    PlaceGrips();
    ShowGrips(true);
    spFrame->OnMouseMove = nullptr;
}

// ---- one edge ------------------------------------------------------------

void TPhotoFromCameraFM::AttachGripMove(TFrameEdge edge, bool attach)
{
    camera::TShape *grip = Grip(edge);
    if (attach)
        grip->OnMouseMove = [this, edge](Qt::MouseButtons s, int x, int y) {
            switch (edge) {
            case camera::feTop: spFrameTopMouseMove(s, x, y); break;
            case camera::feBottom: spFrameBottomMouseMove(s, x, y); break;
            case camera::feLeft: spFrameLeftMouseMove(s, x, y); break;
            case camera::feRight: spFrameRightMouseMove(s, x, y); break;
            }
        };
    else
        grip->OnMouseMove = nullptr;
}

void TPhotoFromCameraFM::GripMouseDown(TFrameEdge edge, int X, int Y)
{
    FStartXBorder = X;
    FStartYBorder = Y;
    AttachGripMove(edge, true);
}

void TPhotoFromCameraFM::GripMouseMove(TFrameEdge edge, int X, int Y)
{
    camera::TShape *grip = Grip(edge);
    const QRect frame = FrameRect();
    int candidate = 0;
    switch (edge) {
    case camera::feTop: candidate = grip->y() + Y - FStartYBorder; break;
    case camera::feBottom: candidate = frame.y() + frame.height() + Y - FStartYBorder; break;
    case camera::feLeft: candidate = grip->x() + X - FStartXBorder; break;
    case camera::feRight: candidate = frame.x() + frame.width() + X - FStartXBorder; break;
    }
    const std::optional<QRect> dragged = camera::DraggedEdge(edge, frame, candidate, imgPhoto->size());
    if (!dragged) {
        SetScreenCursor(Qt::ForbiddenCursor);
        return;
    }
    SetScreenCursor(grip->cursor().shape());
    ShowGrips(false, grip);
    spFrame->setGeometry(*dragged);
    spFrame->update();
    // The dragged grip follows its edge; the others wait for the mouse up.
    const QPoint at = camera::GripPosition(edge, *dragged);
    if (edge == camera::feTop || edge == camera::feBottom)
        grip->move(grip->x(), at.y());
    else
        grip->move(at.x(), grip->y());
}

void TPhotoFromCameraFM::GripMouseUp(TFrameEdge edge)
{
    const QRect frame = FrameRect();
    const int p = camera::FramePenWidth;
    switch (edge) {
    case camera::feTop:
        for (camera::TShape *g : {spFrameLeft, spFrameRight})
            g->setGeometry(g->x(), frame.y() + p, g->width(), frame.height() - 2 * p);
        break;
    case camera::feBottom:
        for (camera::TShape *g : {spFrameLeft, spFrameRight})
            g->resize(g->width(), frame.height() - 2 * p);
        break;
    case camera::feLeft:
        for (camera::TShape *g : {spFrameTop, spFrameBottom})
            g->setGeometry(frame.x() + p, g->y(), frame.width() - 2 * p, g->height());
        break;
    case camera::feRight:
        for (camera::TShape *g : {spFrameTop, spFrameBottom})
            g->resize(frame.width() - 2 * p, g->height());
        break;
    }
    ShowGrips(true);
    AttachGripMove(edge, false);
    RestoreScreenCursor();
}

void TPhotoFromCameraFM::spFrameTopMouseDown(Qt::MouseButton, Qt::MouseButtons, int X, int Y) { GripMouseDown(camera::feTop, X, Y); }
void TPhotoFromCameraFM::spFrameTopMouseMove(Qt::MouseButtons, int X, int Y) { GripMouseMove(camera::feTop, X, Y); }
void TPhotoFromCameraFM::spFrameTopMouseUp(Qt::MouseButton, Qt::MouseButtons, int, int) { GripMouseUp(camera::feTop); }
void TPhotoFromCameraFM::spFrameBottomMouseDown(Qt::MouseButton, Qt::MouseButtons, int X, int Y) { GripMouseDown(camera::feBottom, X, Y); }
void TPhotoFromCameraFM::spFrameBottomMouseMove(Qt::MouseButtons, int X, int Y) { GripMouseMove(camera::feBottom, X, Y); }
void TPhotoFromCameraFM::spFrameBottomMouseUp(Qt::MouseButton, Qt::MouseButtons, int, int) { GripMouseUp(camera::feBottom); }
void TPhotoFromCameraFM::spFrameLeftMouseDown(Qt::MouseButton, Qt::MouseButtons, int X, int Y) { GripMouseDown(camera::feLeft, X, Y); }
void TPhotoFromCameraFM::spFrameLeftMouseMove(Qt::MouseButtons, int X, int Y) { GripMouseMove(camera::feLeft, X, Y); }
void TPhotoFromCameraFM::spFrameLeftMouseUp(Qt::MouseButton, Qt::MouseButtons, int, int) { GripMouseUp(camera::feLeft); }
void TPhotoFromCameraFM::spFrameRightMouseDown(Qt::MouseButton, Qt::MouseButtons, int X, int Y) { GripMouseDown(camera::feRight, X, Y); }
void TPhotoFromCameraFM::spFrameRightMouseMove(Qt::MouseButtons, int X, int Y) { GripMouseMove(camera::feRight, X, Y); }
void TPhotoFromCameraFM::spFrameRightMouseUp(Qt::MouseButton, Qt::MouseButtons, int, int) { GripMouseUp(camera::feRight); }
