#pragma once
// What recognition made of one result field, kept as data while a window
// fills its controls, and the one place that shows it on a control. Both
// recognition windows decide a field's outcome by their own engine's rules
// and paint it here; the host reads the marking back by the same rules.

#include "common/FieldMark.h"

#include <QDate>
#include <QString>
#include <QWidget>

namespace recognition {

struct TFieldOutcome
{
    bool doubtful = false; ///< the engine is not sure of the value
    bool error = false;    ///< nothing usable was read where the document has the field
    bool differs = false;  ///< the value is not the person's current one

    bool Marked() const { return doubtful || error || differs; }
};

/// How a window shows an outcome.
enum class TMarking {
    /// The passport-reader window: a marked value in red letters; the hint
    /// is the window's own business.
    Text,
    /// The Scanify window: the background white, pale yellow for a doubt or
    /// light red for an error (the error wins), with the matching hint.
    /// It never compares with the current values.
    Background,
};

/// Shows outcome on a captioned or date edit; any other control is left alone.
void PaintOutcome(QWidget *control, const TFieldOutcome &outcome, TMarking marking);

/// Takes a control's marking back to the system's colours (and, for
/// TMarking::Background, no hint): the look before any recognition.
void ClearOutcome(QWidget *control, TMarking marking);

/// Whether a recognised text differs from a current one: only a current
/// value that is not blank counts, and case and outer blanks do not.
bool TextDiffers(const QString &recognised, const QString &current);

/// Whether a recognised date differs from a current one that is not empty
/// (an empty recognised date differs from it).
bool DateDiffers(const QDate &recognised, const QDate &current);

} // namespace recognition
