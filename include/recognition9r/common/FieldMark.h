#pragma once
// How a host reads back what recognition made of a result field: the
// marking a window left on the control, by the rules it was painted with
// (common/FieldOutcome.h inside the package paints it).

#include "ui/TCaptionedEdit.h"
#include "ui/TEditColors.h"
#include "ui/TNullableDateEdit.h"

#include <QColor>
#include <QWidget>

namespace recognition {

/// How the host sees a control's marking after the window closed, from the
/// lightest to the heaviest (a box of several parts shows the heaviest).
enum class TFieldMark { None, Doubtful, Erroneous };

/// The marking of a result control as PaintOutcome left it: a light red
/// background is an error, red letters or a pale yellow background a doubt.
inline TFieldMark MarkOf(const QWidget *control)
{
    QColor background;
    bool red = false;
    if (const auto *text = qobject_cast<const ui::TCaptionedEdit *>(control)) {
        background = text->BackgroundColor();
        red = text->IsFontRed();
    } else if (const auto *date = qobject_cast<const ui::TNullableDateEdit *>(control)) {
        background = date->BackgroundColor();
        red = date->IsFontRed();
    }
    if (background == ui::ErroneousFieldBackground())
        return TFieldMark::Erroneous;
    if (red || background == ui::DoubtfulFieldBackground())
        return TFieldMark::Doubtful;
    return TFieldMark::None;
}

} // namespace recognition
