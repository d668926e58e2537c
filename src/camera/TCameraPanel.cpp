#include "camera/TCameraPanel.h"

#include <QPainter>
#include <algorithm>

namespace camera {

TCameraPanel::TCameraPanel(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
}

void TCameraPanel::SetCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void TCameraPanel::AlignClient(QWidget *child)
{
    if (!child)
        return;
    if (child->parentWidget() != this)
        child->setParent(this);
    if (!IsClientAligned(child))
        m_clientAligned.emplace_back(child);
    child->setGeometry(contentsRect());
}

void TCameraPanel::ReleaseAlign(QWidget *child)
{
    std::erase_if(m_clientAligned, [child](const QPointer<QWidget> &w) { return !w || w == child; });
}

bool TCameraPanel::IsClientAligned(const QWidget *child) const
{
    return std::any_of(m_clientAligned.begin(), m_clientAligned.end(),
                       [child](const QPointer<QWidget> &w) { return w && w == child; });
}

void TCameraPanel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (m_caption.isEmpty())
        return;
    QPainter p(this);
    p.drawText(contentsRect(), Qt::AlignCenter | Qt::TextWordWrap, m_caption);
}

void TCameraPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    Realign();
}

void TCameraPanel::Realign()
{
    for (const QPointer<QWidget> &w : m_clientAligned)
        if (w)
            w->setGeometry(contentsRect());
}

} // namespace camera
