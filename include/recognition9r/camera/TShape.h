#pragma once
// A rectangle shape laid over a picture: a frame of a given pen width with a
// transparent inside, or an invisible strip that only takes the pointer (the
// grips on the frame's edges). The pointer handlers are plain callbacks that
// the form attaches and detaches while a drag runs; X and Y are in the
// shape's own coordinates.

#include "base/r9Export.h"

#include <QWidget>
#include <functional>

namespace camera {

class R9_EXPORT TShape : public QWidget
{
public:
    /// How the pen meets the picture below it.
    enum TPenMode {
        pmCopy,   ///< the pen colour itself
        pmNotXor, ///< not (pen xor picture): every picture shows through changed
    };

    using TMouseButtonHandler = std::function<void(Qt::MouseButton Button, Qt::MouseButtons Shift, int X, int Y)>;
    using TMouseMoveHandler = std::function<void(Qt::MouseButtons Shift, int X, int Y)>;

    explicit TShape(QWidget *parent = nullptr);

    int PenWidth() const { return m_penWidth; }
    void SetPenWidth(int width);
    TPenMode PenMode() const { return m_penMode; }
    void SetPenMode(TPenMode mode);
    /// False: no pen is drawn at all (psClear).
    bool PenVisible() const { return m_penVisible; }
    void SetPenVisible(bool visible);
    QColor PenColor() const { return m_penColor; }
    void SetPenColor(const QColor &color);

    TMouseButtonHandler OnMouseDown;
    TMouseMoveHandler OnMouseMove;
    TMouseButtonHandler OnMouseUp;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_penWidth = 1;
    TPenMode m_penMode = pmCopy;
    bool m_penVisible = true;
    QColor m_penColor = Qt::black;
};

} // namespace camera
