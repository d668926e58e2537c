#include "PrintedFormFields.h"

#include <vector>

namespace scproxy {

namespace {

using printed::DocumentKind;
using printed::Field;

/// A form's field and the printed fields it holds (the foreign passport's
/// series and number are one field of the form, joined by a blank).
struct FormField
{
    const char *id;
    std::vector<Field> from;
};

std::vector<FormField> FormFieldsOf(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::InternalPassport:
        return {{"PP_SurName", {Field::Surname}},     {"PP_Name", {Field::GivenName}},      {"PP_SecName", {Field::Patronymic}},
                {"PP_Sex", {Field::Sex}},             {"PP_BirthDate", {Field::BirthDate}}, {"PP_BirthPlace", {Field::BirthPlace}},
                {"PP_Ser2", {Field::Series}},         {"PP_Num2", {Field::Number}},         {"PP_Kem", {Field::IssuedBy}},
                {"PP_Date", {Field::IssueDate}},      {"PP_Podr", {Field::DivisionCode}}};
    case DocumentKind::ForeignPassport:
        return {{"IN_SurName", {Field::Surname}},       {"IN_Name", {Field::GivenName}},
                {"IN_Sex", {Field::Sex}},               {"IN_BirthDate", {Field::BirthDate}},
                {"IN_BirthPlace", {Field::BirthPlace}}, {"IN_SerNum2", {Field::Series, Field::Number}},
                {"IN_Kem", {Field::IssuedBy}},          {"IN_Date", {Field::IssueDate}},
                {"IN_ExpiryDate", {Field::ExpiryDate}}};
    case DocumentKind::DrivingLicence:
        return {{"DR_SurName", {Field::Surname}},     {"DR_Name", {Field::GivenName}}, {"DR_SecName", {Field::Patronymic}},
                {"DR_BirthDate", {Field::BirthDate}}, {"DR_Date", {Field::IssueDate}}, {"DR_Ser", {Field::Series}},
                {"DR_Num", {Field::Number}}};
    }
    return {};
}

// Below this a symbol is not one the engine would vouch for.
constexpr float kTrustedConfidence = 0.6f;

bool Doubtful(const printed::PrintedText &t)
{
    if (t.doubtful)
        return true;
    for (float c : t.confidence)
        if (c < kTrustedConfidence)
            return true;
    return false;
}

} // namespace

PrintedForm PrintedFormFields(const printed::PrintedReading &reading)
{
    PrintedForm out;
    // A page whose print is none of the document's adds nothing; one whose
    // print could not be read at all (no language data) has every printed
    // field empty and in error, for the operator to fill.
    if (!reading.documentFound && reading.error.isEmpty())
        return out;
    for (const FormField &f : FormFieldsOf(reading.kind)) {
        QStringList parts;
        bool doubt = false, any = false, againstZone = false;
        for (Field part : f.from) {
            const auto it = reading.fields.find(part);
            if (it == reading.fields.end()) {
                doubt = true;
                continue;
            }
            any = true;
            parts << it->second.Value();
            doubt = doubt || Doubtful(it->second);
            // The zone's value where the print differed from it (where the
            // print gave nothing, it is the zone's alone).
            againstZone = againstZone || (it->second.fromZone && it->second.doubtful);
        }
        PrintedFormField &field = out[QByteArray(f.id)];
        // A field the document prints but the reading did not find is one
        // the operator must fill: empty and in error, as a zone's unread one.
        if (!any) {
            field.result.flags = SCF_VRS_ERROR;
            continue;
        }
        field.result.value = parts.join(QLatin1Char(' ')).toLocal8Bit();
        field.result.flags = doubt ? SCF_VRS_WARNING : 0;
        field.againstZone = againstZone;
    }
    return out;
}

void JoinPrintedFields(std::map<QByteArray, engine::FieldResult> &zoneFields, const PrintedForm &printedFields)
{
    for (const auto &[id, printedField] : printedFields) {
        const auto present = zoneFields.find(id);
        if (present == zoneFields.end())
            zoneFields[id] = printedField.result;
        // A field the zone left empty (or could not read) is the print's.
        else if (present->second.value.isEmpty() && !printedField.result.value.isEmpty())
            present->second = printedField.result;
        else if (printedField.againstZone
                 || (!(printedField.result.flags & SCF_VRS_ERROR) && printedField.result.value != present->second.value))
            present->second.flags |= SCF_VRS_WARNING;
    }
}

std::map<QByteArray, engine::FieldResult> FormFieldResults(const PrintedForm &printedFields)
{
    std::map<QByteArray, engine::FieldResult> out;
    for (const auto &[id, printedField] : printedFields)
        out[id] = printedField.result;
    return out;
}

} // namespace scproxy
