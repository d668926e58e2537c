// Copying a recognised field into an edit control; the engine's confidence
// is the field's outcome, painted by the shared field marking.
#include "scanify/engUtilsScanify9r.h"

#include "common/FieldOutcome.h"
#include "scanify/ScanifyText.h"
#include "scanify/scapi.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TNullableDateEdit.h"

#include <QColor>
#include <exception>

namespace scanify {

QColor NormalFieldColor() { return ui::NormalFieldBackground(); }
QColor DoubtfulFieldColor() { return ui::DoubtfulFieldBackground(); }
QColor ErroneousFieldColor() { return ui::ErroneousFieldBackground(); }

} // namespace scanify

namespace {

using recognition::TFieldOutcome;

/// The engine's confidence flags as an outcome; an error wins over a doubt
/// when it is painted. A value cut short at bytes that are no text is not
/// what the document says: an error too, for the operator to look at.
TFieldOutcome outcomeOf(std::int32_t flags, bool cut)
{
    TFieldOutcome outcome;
    outcome.doubtful = (flags & SCF_VRS_WARNING) != 0;
    outcome.error = (flags & SCF_VRS_ERROR) != 0 || cut;
    return outcome;
}

void paint(QWidget *edit, const TFieldOutcome &outcome)
{
    recognition::PaintOutcome(edit, outcome, recognition::TMarking::Background);
}

void markError(QWidget *edit)
{
    TFieldOutcome outcome;
    outcome.error = true;
    paint(edit, outcome);
}

/// The field's value; cut tells whether bytes that are not valid text were
/// left out of it (it comes back shorter, or empty).
QString fieldValue(ScDocumentHandle document, const QString &field, TScFieldValueAttr &attributes, bool &cut)
{
    const QByteArray id = scanify::ToEngineText(field);
    const char *value = SC_CALL(ScPackageGetFieldValue)(document, id.constData(), &attributes);
    return scanify::FromEngineText(value, cut);
}

bool fillCaptionedEdit(ScDocumentHandle document, ui::TCaptionedEdit *edit, const QString &field)
{
    TScFieldValueAttr attributes{};
    const QString current = edit->Text();
    bool cut = false;
    const QString value = fieldValue(document, field, attributes, cut);
    // Two fields read into one edit (a series and a number) end up side by
    // side; an empty edit gets a leading blank.
    edit->SetText(current + QLatin1Char(' ') + value);
    paint(edit, outcomeOf(attributes.nFlags, cut));
    return edit->Text().trimmed().isEmpty();
}

bool fillDateEdit(ScDocumentHandle document, ui::TNullableDateEdit *edit, const QString &field)
{
    try {
        TScFieldValueAttr attributes{};
        bool cut = false;
        const QString value = fieldValue(document, field, attributes, cut);
        // Text the date edit cannot take as a date is a recognition error; so
        // are bytes that are no text at all. Nothing or blanks only: no date.
        // A rejected value is not kept as text: the edit is left without a
        // date, marked, and the window closes with it empty.
        const bool somethingGiven = !value.trimmed().isEmpty() || cut;
        if (!edit->SetText(value) && somethingGiven) {
            edit->SetNull();
            markError(edit);
            return false;
        }
        paint(edit, outcomeOf(attributes.nFlags, cut));
        return !edit->Text().isEmpty();
    } catch (const std::exception &) {
        markError(edit);
        return false;
    }
}

} // namespace

bool FillDocumentCtrl(ScDocumentHandle AScDoc, QWidget *AEditControl, const QString &ACognitiveFieldName)
{
    if (auto *edit = qobject_cast<ui::TCaptionedEdit *>(AEditControl))
        return fillCaptionedEdit(AScDoc, edit, ACognitiveFieldName);
    if (auto *edit = qobject_cast<ui::TNullableDateEdit *>(AEditControl))
        return fillDateEdit(AScDoc, edit, ACognitiveFieldName);
    return false;
}
