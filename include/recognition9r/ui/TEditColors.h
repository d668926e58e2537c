#pragma once
#include <QColor>
#include <QPalette>
#include <QWidget>

namespace ui {

/// The text and background colours an edit control was given; an invalid
/// colour leaves the inherited one. Shared by the edit controls of the forms.
struct TEditColors
{
    QColor font;
    QColor background;

    /// Gives `edit` the palette `base` with these colours set.
    void ApplyTo(QWidget *edit, QPalette base) const
    {
        if (font.isValid()) {
            base.setColor(QPalette::Text, font);
            // An empty edit shows only its placeholder: a marked empty date
            // must still look marked.
            base.setColor(QPalette::PlaceholderText, font);
        }
        if (background.isValid())
            base.setColor(QPalette::Base, background);
        edit->setPalette(base);
    }
};

// What recognition made of a field, shown on its control. The passport-reader
// window writes a value it doubts, did not read or that differs from the
// person's current one in red; the Scanify window gives the background a
// colour (white, pale yellow for a doubt, light red for an error).
inline QColor MarkedTextColor() { return QColor(255, 0, 0); }
inline QColor NormalFieldBackground() { return QColor(255, 255, 255); }
inline QColor DoubtfulFieldBackground() { return QColor(255, 255, 128); }
inline QColor ErroneousFieldBackground() { return QColor(255, 128, 128); }

} // namespace ui
