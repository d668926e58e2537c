#include "abbyy/engABBYY9r_FM_RecognizeFields.h"

#include "abbyy/engABBYY9r_FM_RecognizeDate.h"
#include "abbyy/engUtilsABBYY9r.h"
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TCaptionedEdit.h"
#include "common/FieldOutcome.h"


namespace abbyy {

namespace {

using recognition::TFieldOutcome;

bool HasField(IFieldsCollection *fields, const QString &name)
{
    return bool(fields->Field(name));
}

QString JoinLines(QString text)
{
    // Each character on its own: a CR LF pair becomes two blanks.
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

void Paint(QWidget *edit, const TFieldOutcome &outcome)
{
    recognition::PaintOutcome(edit, outcome, recognition::TMarking::Text);
}

} // namespace

TRecognizedFieldsWriter::TRecognizedFieldsWriter(IFieldsCollection *fields, const TResultControls &target,
                                                 const TResultControls *current, const TDocumentInfo &document,
                                                 bool latin)
    : m_fields(fields), m_target(target), m_current(current), m_document(document), m_latin(latin)
{
}

void TRecognizedFieldsWriter::ResetControls()
{
    for (ui::TCaptionedEdit *edit : {m_target.LastName, m_target.FirstName, m_target.MiddleName,
                                   m_target.PassportNumber, m_target.Sex, m_target.PlaceOfBirth,
                                   m_target.IssuedBy, m_target.DepartmentCode, m_target.Nationality}) {
        recognition::ClearOutcome(edit, recognition::TMarking::Text);
        edit->Clear();
    }
    for (ui::TNullableDateEdit *edit : {m_target.DateOfBirth, m_target.DateOfIssue, m_target.DateOfExpiry}) {
        recognition::ClearOutcome(edit, recognition::TMarking::Text);
        edit->SetNull();
    }
    if (editing())
        m_target.IssuedBy->SetHint(QString());
}

bool TRecognizedFieldsWriter::FillFields()
{
    const TResultControls *c = m_current;
    fillPassportNumber();
    fillText(QStringLiteral("Sex"), QStringLiteral("Sex_EX"), m_target.Sex, nullptr, Lines::Keep);
    fillDate(QStringLiteral("DateOfBirth"), m_target.DateOfBirth, c ? c->DateOfBirth : nullptr);
    fillDate(QStringLiteral("DateOfIssue"), m_target.DateOfIssue, c ? c->DateOfIssue : nullptr);
    fillDate(QStringLiteral("DateOfExpiry"), m_target.DateOfExpiry, c ? c->DateOfExpiry : nullptr);
    fillText(QStringLiteral("PlaceOfBirth"), QStringLiteral("PlaceOfBirth_EX"), m_target.PlaceOfBirth, nullptr,
             Lines::Join);
    fillText(QStringLiteral("IssuedBy"), QString(), m_target.IssuedBy, c ? c->IssuedBy : nullptr, Lines::Join);
    fillText(QStringLiteral("DepartmentCode"), QString(), m_target.DepartmentCode,
             c ? c->DepartmentCode : nullptr, Lines::Keep);
    fillNationality();
    fillText(QStringLiteral("LastName"), QStringLiteral("LastName_EX"), m_target.LastName,
             c ? c->LastName : nullptr, Lines::Keep);
    fillText(QStringLiteral("FirstName"), QStringLiteral("FirstName_EX"), m_target.FirstName,
             c ? c->FirstName : nullptr, Lines::Keep);
    fillText(QStringLiteral("MiddleName"), QStringLiteral("MiddleName_EX"), m_target.MiddleName,
             c ? c->MiddleName : nullptr, Lines::Keep);
    return m_recognized;
}

QString TRecognizedFieldsWriter::nameOf(const QString &field, const QString &latinField) const
{
    return m_latin && !latinField.isEmpty() ? latinField : field;
}

bool TRecognizedFieldsWriter::differs(const ui::TCaptionedEdit *edit, const ui::TCaptionedEdit *currentEdit) const
{
    return editing() && currentEdit && recognition::TextDiffers(edit->Text(), currentEdit->Text());
}

void TRecognizedFieldsWriter::markNotRecognized(ui::TCaptionedEdit *edit, TFieldOutcome &outcome)
{
    outcome.error = true;
    edit->SetText(LoadResString(&_S_NOT_RECOGNIZED));
}

void TRecognizedFieldsWriter::fillPassportNumber()
{
    ui::TCaptionedEdit *edit = m_target.PassportNumber;
    const QString series = m_fields->FieldValue(QStringLiteral("Series"), QString());
    TFieldOutcome outcome;
    if (!series.isEmpty()) {
        edit->SetText(series + QLatin1Char(' ') + m_fields->FieldValue(QStringLiteral("Number"), QString()));
        outcome.doubtful = HasUntrustedSymbols(m_fields, QStringLiteral("Series"));
        outcome.doubtful = HasUntrustedSymbols(m_fields, QStringLiteral("Number")) || outcome.doubtful;
    } else {
        edit->SetText(m_fields->FieldValue(QStringLiteral("Number"), QString()));
        outcome.doubtful = HasUntrustedSymbols(m_fields, QStringLiteral("Number"));
        if (edit->Text().isEmpty()) {
            edit->SetText(m_fields->FieldValue(QStringLiteral("PersonalCode"), QString()));
            outcome.doubtful = HasUntrustedSymbols(m_fields, QStringLiteral("PersonalCode")) || outcome.doubtful;
        }
    }
    outcome.differs = differs(edit, m_current ? m_current->PassportNumber : nullptr);

    // The number is the first field: it decides the flag afresh.
    m_recognized = !edit->Text().trimmed().isEmpty();
    if (!m_recognized
        && (editing() || HasField(m_fields, QStringLiteral("Series")) || HasField(m_fields, QStringLiteral("Number"))))
        markNotRecognized(edit, outcome);
    Paint(edit, outcome);
}

void TRecognizedFieldsWriter::fillText(const QString &field, const QString &latinField, ui::TCaptionedEdit *edit,
                                       ui::TCaptionedEdit *currentEdit, Lines lines)
{
    const QString name = nameOf(field, latinField);
    const QString value = m_fields->FieldValue(name, QString());
    TFieldOutcome outcome;
    edit->SetText(value);
    if (editing() && edit == m_target.IssuedBy)
        edit->SetHint(value);
    if (!value.isEmpty()) {
        outcome.doubtful = HasUntrustedSymbols(m_fields, name);
        m_recognized = true;
        if (lines == Lines::Join)
            edit->SetText(JoinLines(value));
    }
    outcome.differs = differs(edit, currentEdit);
    if (edit->Text().trimmed().isEmpty() && HasField(m_fields, name))
        markNotRecognized(edit, outcome);
    Paint(edit, outcome);
}

void TRecognizedFieldsWriter::fillNationality()
{
    const QString name = nameOf(QStringLiteral("Nationality"), QStringLiteral("Nationality_EX"));
    const QString value = m_fields->FieldValue(name, QString());
    ui::TCaptionedEdit *edit = m_target.Nationality;
    TFieldOutcome outcome;
    edit->SetText(value);
    if (!value.isEmpty()) {
        outcome.doubtful = HasUntrustedSymbols(m_fields, name);
        m_recognized = true;
    } else {
        // The document type's own nationality is a default, not a reading.
        edit->SetText(m_document.FCountryNation);
    }
    Paint(edit, outcome);
}

void TRecognizedFieldsWriter::fillDate(const QString &field, ui::TNullableDateEdit *edit, ui::TNullableDateEdit *currentEdit)
{
    TFieldOutcome outcome;
    if (m_fields->FieldValue(field, MissingFieldValue) != MissingFieldValue) {
        const QDate date = DateFromEngineText(m_fields->FieldValue(field, QString()));
        edit->SetDate(date);
        if (!edit->IsNull()) {
            outcome.doubtful = HasUntrustedSymbols(m_fields, field);
            m_recognized = true;
        } else if (editing()) {
            // Today's date in red asks the operator to type the real one.
            edit->SetDate(QDate::currentDate());
            edit->MarkStandIn();
            outcome.error = true;
        } else {
            // Empty, as there is no date to offer, but marked: the document
            // had a date there and the operator has to type it.
            edit->SetNull();
            outcome.error = true;
        }
    }
    outcome.differs = editing() && currentEdit && recognition::DateDiffers(edit->Date(), currentEdit->Date());
    Paint(edit, outcome);
}

} // namespace abbyy
