// Copying a recognised field into an edit control, marked by the engine's
// confidence.
#include "scanify/engUtilsScanify9r.h"

#include "common/ResString.h"
#include "common/engCommon9rMessages.h"
#include "scanify/ScanifyText.h"
#include "scanify/scapi.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TNullableDateEdit.h"

#include <QColor>
#include <exception>

namespace scanify {

QColor NormalFieldColor() { return QColor(255, 255, 255); }
QColor DoubtfulFieldColor() { return QColor(255, 255, 128); }
QColor ErroneousFieldColor() { return QColor(255, 128, 128); }

} // namespace scanify

namespace {

template <class Edit>
void markError(Edit *edit)
{
    edit->SetBackgroundColor(scanify::ErroneousFieldColor());
    edit->SetHint(LoadResString(&_S_ERROR_IN_RECOGNITION));
}

/// White without a hint, then doubt, then error: the error marking wins.
template <class Edit>
void markField(Edit *edit, std::int32_t flags)
{
    edit->SetBackgroundColor(scanify::NormalFieldColor());
    edit->SetHint(QString());
    if (flags & SCF_VRS_WARNING) {
        edit->SetBackgroundColor(scanify::DoubtfulFieldColor());
        edit->SetHint(LoadResString(&_S_DOUNT_IN_RECOGNITION));
    }
    if (flags & SCF_VRS_ERROR)
        markError(edit);
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
    markField(edit, attributes.nFlags);
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
        markField(edit, attributes.nFlags);
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
