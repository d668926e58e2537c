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
/// when it is painted.
TFieldOutcome outcomeOf(std::int32_t flags)
{
    TFieldOutcome outcome;
    outcome.doubtful = (flags & SCF_VRS_WARNING) != 0;
    outcome.error = (flags & SCF_VRS_ERROR) != 0;
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

/// The field's value; gaveText tells whether the engine returned any bytes at
/// all (a value that is not valid text comes back shorter, or empty).
QString fieldValue(ScDocumentHandle document, const QString &field, TScFieldValueAttr &attributes,
                   bool *gaveText = nullptr)
{
    const QByteArray id = scanify::ToEngineText(field);
    const char *value = SC_CALL(ScPackageGetFieldValue)(document, id.constData(), &attributes);
    if (gaveText)
        *gaveText = value && *value;
    return scanify::FromEngineText(value);
}

bool fillCaptionedEdit(ScDocumentHandle document, ui::TCaptionedEdit *edit, const QString &field)
{
    TScFieldValueAttr attributes{};
    const QString current = edit->Text();
    const QString value = fieldValue(document, field, attributes);
    // Two fields read into one edit (a series and a number) end up side by
    // side; an empty edit gets a leading blank.
    edit->SetText(current + QLatin1Char(' ') + value);
    paint(edit, outcomeOf(attributes.nFlags));
    return edit->Text().trimmed().isEmpty();
}

bool fillDateEdit(ScDocumentHandle document, ui::TNullableDateEdit *edit, const QString &field)
{
    try {
        TScFieldValueAttr attributes{};
        bool gaveText = false;
        const QString value = fieldValue(document, field, attributes, &gaveText);
        // Text the date edit cannot take as a date is a recognition error; so
        // are bytes that are no text at all. Nothing or blanks only: no date.
        const bool somethingGiven = !value.trimmed().isEmpty() || (gaveText && value.isEmpty());
        if (!edit->SetText(value) && somethingGiven) {
            markError(edit);
            return false;
        }
        paint(edit, outcomeOf(attributes.nFlags));
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
