#pragma once
#include "base/r9Export.h"
// An image control: holds one picture (a QImage, empty when there is none),
// shows it scaled to the control (proportionally when Proportional is set,
// never enlarged beyond the control), and carries a general-purpose integer
// Tag. The bitmap is created on demand, as forms draw into it.

#include <QImage>
#include <QWidget>

namespace ui {

class R9_EXPORT TPictureBox : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int tag READ Tag WRITE SetTag)
public:
    explicit TPictureBox(QWidget *parent = nullptr);

    /// True when the picture holds a graphic.
    bool HasGraphic() const { return !m_picture.isNull(); }
    const QImage &Picture() const { return m_picture; }
    /// Replaces the picture (an empty image clears it) and repaints.
    void SetPicture(const QImage &image);
    void Clear() { SetPicture(QImage()); }
    /// The picture's bitmap for drawing into; an empty picture first gets a
    /// 0 x 0 bitmap. Call Invalidate() after drawing.
    QImage &Bitmap();
    /// True when the picture holds a bitmap (possibly of zero size).
    bool HasBitmap() const { return m_hasBitmap; }

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    bool Proportional() const { return m_proportional; }
    void SetProportional(bool on) { m_proportional = on; update(); }
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool on) { m_stretch = on; update(); }
    bool Center() const { return m_center; }
    void SetCenter(bool on) { m_center = on; update(); }

    /// Asks for a repaint after the bitmap was drawn into.
    void Invalidate() { update(); }

    /// Where the picture is drawn inside the control.
    QRect DestRect() const;

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
    bool m_hasBitmap = false;
    int m_tag = 0;
    bool m_proportional = true;
    bool m_stretch = true;
    bool m_center = true;
};

} // namespace ui
