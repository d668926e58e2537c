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

} // namespace ui
