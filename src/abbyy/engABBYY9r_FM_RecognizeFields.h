#pragma once
// Puts the fields of one recognition result into the result controls of the
// recognition window. Each field's outcome (doubtful, not read, differing from
// the person's current value on the edit sub-page) is decided here by this
// engine's rules and painted by the shared field marking.

#include "sdk/ABBYY_PassportReaderSdk_TLB.h"
#include "abbyy/engABBYY9r_FM.h"
#include "common/FieldOutcome.h"

#include <QString>

class TDocumentInfo;

namespace abbyy {

/// The value FieldValue answers for a field the collection does not have.
inline const QString MissingFieldValue = QStringLiteral("FieldValue");

class TRecognizedFieldsWriter
{
public:
    using TResultControls = TABBYYRecognitionFM::TResultControls;

    /// target: the controls that receive the values. current: on the edit
    /// sub-page the person's current values to compare with, null on the add
    /// sub-page. document: the selected document type (default nationality).
    /// latin: take the names in Latin letters (foreign passports only).
    TRecognizedFieldsWriter(IFieldsCollection *fields, const TResultControls &target,
                            const TResultControls *current, const TDocumentInfo &document, bool latin);

    /// Every control back to the normal colour and empty (dates Null); on the
    /// edit sub-page the issuing authority's hint is emptied too.
    void ResetControls();

    /// Fills the twelve fields in their fixed order and returns whether at
    /// least one field was read.
    bool FillFields();

private:
    enum class Compare { No, Yes };
    enum class Lines { Keep, Join };

    void fillPassportNumber();
    void fillText(const QString &field, const QString &latinField, ui::TCaptionedEdit *edit,
                  ui::TCaptionedEdit *currentEdit, Lines lines);
    void fillNationality();
    void fillDate(const QString &field, ui::TNullableDateEdit *edit, ui::TNullableDateEdit *currentEdit);
    /// On the edit sub-page: whether the value differs from the current one.
    bool differs(const ui::TCaptionedEdit *edit, const ui::TCaptionedEdit *currentEdit) const;
    void markNotRecognized(ui::TCaptionedEdit *edit, recognition::TFieldOutcome &outcome);
    QString nameOf(const QString &field, const QString &latinField) const;
    bool editing() const { return m_current != nullptr; }

    IFieldsCollection *m_fields;
    TResultControls m_target;
    const TResultControls *m_current;
    const TDocumentInfo &m_document;
    bool m_latin;
    bool m_recognized = false;
};

} // namespace abbyy
