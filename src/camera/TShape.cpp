#include "camera/TShape.h"

#include <QMouseEvent>
#include <QPainter>

namespace camera {

TShape::TShape(QWidget *parent)
    : QWidget(parent)
{
    // Nothing is filled: the picture below shows through the inside.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void TShape::SetPenWidth(int width)
{
    m_penWidth = std::max(0, width);
    update();
}

void TShape::SetPenMode(TPenMode mode)
{
    m_penMode = mode;
    update();
}

void TShape::SetPenVisible(bool visible)
{
    m_penVisible = visible;
    update();
}

void TShape::SetPenColor(const QColor &color)
{
    m_penColor = color;
    update();
}

void TShape::paintEvent(QPaintEvent *)
{
    if (!m_penVisible || m_penWidth <= 0)
        return;
    QPainter p(this);
    if (m_penMode == pmNotXor)
        p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    // Four bands that do not overlap: a pixel combined twice with the
    // picture would come back unchanged in the not-xor mode.
    const int w = width(), h = height();
    const int pw = std::min(m_penWidth, std::min(w, h) / 2);
    p.fillRect(0, 0, w, pw, m_penColor);
    p.fillRect(0, h - pw, w, pw, m_penColor);
    p.fillRect(0, pw, pw, h - 2 * pw, m_penColor);
    p.fillRect(w - pw, pw, pw, h - 2 * pw, m_penColor);
}

void TShape::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    // A copy: the handler may attach or detach handlers of this shape.
    if (const auto handler = OnMouseDown)
        handler(event->button(), event->buttons(), pos.x(), pos.y());
    event->accept();
}

void TShape::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    // A copy: the handler may attach or detach handlers of this shape.
    if (const auto handler = OnMouseMove)
        handler(event->buttons(), pos.x(), pos.y());
    event->accept();
}

void TShape::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    // A copy: the handler may attach or detach handlers of this shape.
    if (const auto handler = OnMouseUp)
        handler(event->button(), event->buttons(), pos.x(), pos.y());
    event->accept();
}

} // namespace camera
