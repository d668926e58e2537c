#pragma once
// What support finds in the host's log: every message box the operator is
// shown, with the cause it gives, and the outcome of each recognition (the
// engine, the kind of document, the fields filled and the fields marked).
// Never a value of the person: fields are named, their contents are not.
// Message boxes reach the log through the box helper's listener, installed
// when the package is loaded, so no form has to remember it.

#include "common/RecognitionFields.h"

#include <QString>

namespace ui {
struct MessageBoxCall;
}

namespace recognition {

/// The log line of a message box: its caption and its text (or the text
/// meant for the log, where the box quotes a person's data) on one line.
QString MessageBoxLogLine(const ui::MessageBoxCall &call);

/// Writes a failure the host is given to show (what failed: the text shown,
/// on one line) to the host's log.
void LogFailure(const QString &what, const QString &shown);

/// Writes the outcome of a recognition run to the host's log: engine, the
/// document's name (empty: none recognised) and the engine's form, and for
/// column of fields which are filled, which doubtful and which erroneous.
void LogRecognitionOutcome(const QString &engine, const QString &document, const QString &form,
                           const TResultFieldSet &fields, TColumn column);

} // namespace recognition
