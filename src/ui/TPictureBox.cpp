#include "ui/TPictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

TPictureBox::TPictureBox(QWidget *parent)
    : QWidget(parent)
{
}

void TPictureBox::SetPicture(const QImage &image)
{
    m_picture = image;
    m_hasBitmap = !image.isNull();
    update();
}

QImage &TPictureBox::Bitmap()
{
    m_hasBitmap = true;
    return m_picture;
}

QRect TPictureBox::DestRect() const
{
    if (m_picture.isNull() || m_picture.width() == 0 || m_picture.height() == 0)
        return QRect();
    QSize size = m_picture.size();
    const QSize box = this->size();
    if (m_stretch) {
        if (m_proportional)
            size = size.scaled(box, Qt::KeepAspectRatio);
        else
            size = box;
    } else if (m_proportional && (size.width() > box.width() || size.height() > box.height())) {
        size = size.scaled(box, Qt::KeepAspectRatio);
    }
    QPoint origin(0, 0);
    if (m_center)
        origin = QPoint((box.width() - size.width()) / 2, (box.height() - size.height()) / 2);
    return QRect(origin, size);
}

void TPictureBox::paintEvent(QPaintEvent *)
{
    const QRect dest = DestRect();
    if (dest.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(dest, m_picture);
}

void TPictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QWidget::mouseReleaseEvent(event);
}

} // namespace ui
