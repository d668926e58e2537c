#pragma once
#include "base/r9Export.h"
// A horizontal track bar with a position kept inside Min..Max and no tick
// marks; Position/SetPosition name what the forms read and write.

#include <QSlider>

namespace ui {

class R9_EXPORT TTrackSlider : public QSlider
{
    Q_OBJECT
public:
    explicit TTrackSlider(QWidget *parent = nullptr) : QSlider(Qt::Horizontal, parent)
    {
        setTickPosition(QSlider::NoTicks);
        setRange(0, 10);
    }

    int Position() const { return value(); }
    /// Values outside the range are clamped to it.
    void SetPosition(int position) { setValue(position); }
    /// One step down or up (by the single step), kept within the range.
    void StepDown() { setValue(value() - singleStep()); }
    void StepUp() { setValue(value() + singleStep()); }
};

} // namespace ui
