// The print's fields under the forms' names, and how they join the zone's.

#include "components/scproxy/PrintedFormFields.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using printed::DocumentKind;
using printed::Field;
using printed::PrintedText;

PrintedText Text(const QStringList &lines, bool doubtful = false, bool fromZone = false, float confidence = 0.95f)
{
    PrintedText t;
    t.lines = lines;
    t.doubtful = doubtful;
    t.fromZone = fromZone;
    t.confidence.assign(std::size_t(t.Value().size()), confidence);
    return t;
}

printed::PrintedReading Reading(DocumentKind kind, std::map<Field, PrintedText> fields)
{
    printed::PrintedReading r;
    r.documentFound = true;
    r.kind = kind;
    r.fields = std::move(fields);
    return r;
}

TEST(PrintedForm, EachDocumentsFieldsUnderItsFormsNamesAndDoubtWhereThePrintIsUnsure)
{
    const scproxy::PrintedForm internal = scproxy::PrintedFormFields(Reading(
        DocumentKind::InternalPassport,
        {{Field::Surname, Text({QStringLiteral("ИВАНОВА")})},
         {Field::BirthPlace, Text({QStringLiteral("ГОР. ТВЕРЬ"), QStringLiteral("ТВЕРСКОЙ ОБЛ.")})},
         {Field::IssuedBy, Text({QStringLiteral("ГУ МВД РОССИИ")}, false, false, 0.3f)},
         {Field::DivisionCode, Text({QStringLiteral("770-001")}, true)},
         {Field::IssueDate, Text({QStringLiteral("01.02.2015")}, true, true)},
         {Field::Sex, Text({QStringLiteral("ЖЕН.")}, false, true)}}));
    ASSERT_EQ(internal.size(), 11u) << "every field of the form";
    EXPECT_EQ(internal.at("PP_Name").result.value, QByteArray());
    EXPECT_EQ(internal.at("PP_Name").result.flags, SCF_VRS_ERROR) << "printed but not found";
    EXPECT_EQ(internal.at("PP_SurName").result.value, QStringLiteral("ИВАНОВА").toLocal8Bit());
    EXPECT_EQ(internal.at("PP_SurName").result.flags, 0);
    // A value over two lines is one line of the form, joined by a blank.
    EXPECT_EQ(internal.at("PP_BirthPlace").result.value, QStringLiteral("ГОР. ТВЕРЬ ТВЕРСКОЙ ОБЛ.").toLocal8Bit());
    EXPECT_EQ(internal.at("PP_Kem").result.flags, SCF_VRS_WARNING) << "symbols read with low confidence";
    EXPECT_EQ(internal.at("PP_Podr").result.flags, SCF_VRS_WARNING) << "doubtful";
    EXPECT_TRUE(internal.at("PP_Date").againstZone);
    EXPECT_FALSE(internal.at("PP_Podr").againstZone);
    // The zone's value where the print gave nothing is the zone's alone.
    EXPECT_FALSE(internal.at("PP_Sex").againstZone);
    EXPECT_EQ(internal.at("PP_Sex").result.flags, 0);

    // The foreign passport's series and number are one field of its form;
    // one of them missing leaves the other, doubtful.
    const scproxy::PrintedForm foreign = scproxy::PrintedFormFields(
        Reading(DocumentKind::ForeignPassport,
                {{Field::Series, Text({QStringLiteral("75")})}, {Field::Number, Text({QStringLiteral("1234567")})}}));
    EXPECT_EQ(foreign.at("IN_SerNum2").result.value, QByteArray("75 1234567"));
    EXPECT_EQ(foreign.at("IN_SerNum2").result.flags, 0);
    const scproxy::PrintedForm half =
        scproxy::PrintedFormFields(Reading(DocumentKind::ForeignPassport, {{Field::Number, Text({QStringLiteral("1234567")})}}));
    EXPECT_EQ(half.at("IN_SerNum2").result.value, QByteArray("1234567"));
    EXPECT_EQ(half.at("IN_SerNum2").result.flags, SCF_VRS_WARNING);

    printed::PrintedReading none = Reading(DocumentKind::InternalPassport, {{Field::Surname, Text({QStringLiteral("X")})}});
    none.documentFound = false;
    EXPECT_TRUE(scproxy::PrintedFormFields(none).empty()) << "no document: nothing to add";
    none.fields.clear();
    none.error = QStringLiteral("no language data");
    const scproxy::PrintedForm unread = scproxy::PrintedFormFields(none);
    EXPECT_EQ(unread.size(), 11u);
    EXPECT_TRUE(std::all_of(unread.begin(), unread.end(), [](const auto &f) {
        return f.second.result.value.isEmpty() && f.second.result.flags == SCF_VRS_ERROR;
    })) << "a print that could not be read leaves every printed field to the operator";

    const scproxy::PrintedForm licence = scproxy::PrintedFormFields(Reading(
        DocumentKind::DrivingLicence, {{Field::Patronymic, Text({QStringLiteral("ПЕТРОВИЧ")})},
                                       {Field::ResidencePlace, Text({QStringLiteral("МОСКВА")})}}));
    ASSERT_EQ(licence.size(), 7u) << "the form has no field for the place of residence";
    EXPECT_EQ(licence.at("DR_SecName").result.value, QStringLiteral("ПЕТРОВИЧ").toLocal8Bit());
}

scproxy::engine::FieldResult Result(const char *value, std::int32_t flags)
{
    scproxy::engine::FieldResult r;
    r.value = value;
    r.flags = flags;
    return r;
}

TEST(PrintedForm, TheZonesFieldsKeepTheirValuesAndBecomeDoubtfulWhereThePrintDiffers)
{
    using scproxy::engine::FieldResult;
    std::map<QByteArray, FieldResult> zone = {
        {"PP_SurName", Result("IVANOVA", 0)},
        {"PP_BirthDate", Result("01.01.1990", 0)},
        {"PP_Name", Result("ANNA", SCF_VRS_ERROR)},
        {"PP_Date", Result("01.02.2015", 0)},
        {"PP_Podr", Result("770-001", 0)},
        {"PP_SecName", Result("", SCF_VRS_ERROR)},
    };
    scproxy::PrintedForm print;
    print["PP_SurName"].result = Result("IVANOVA", 0);             // agrees
    print["PP_Name"].result = Result("ANNA", 0);                  // agrees; the zone's error stays
    print["PP_Date"].result = Result("01.02.2015", SCF_VRS_WARNING); // the zone's value, against the print
    print["PP_Date"].againstZone = true;
    print["PP_Podr"].result = Result("770-002", 0);               // differs
    print["PP_SecName"].result = Result("PETROVNA", 0);           // the zone left it empty
    print["PP_BirthDate"].result = Result("", SCF_VRS_ERROR);     // not found in print: the zone's stays
    print["PP_Kem"].result = Result("UFMS", SCF_VRS_WARNING);     // only printed
    print["PP_Sex"].result = Result("", SCF_VRS_ERROR);           // not found in print
    scproxy::JoinPrintedFields(zone, print);

    const std::map<QByteArray, FieldResult> expected = {
        {"PP_SurName", Result("IVANOVA", 0)},
        {"PP_BirthDate", Result("01.01.1990", 0)},
        {"PP_Name", Result("ANNA", SCF_VRS_ERROR)},
        {"PP_Date", Result("01.02.2015", SCF_VRS_WARNING)},
        {"PP_Podr", Result("770-001", SCF_VRS_WARNING)},
        {"PP_SecName", Result("PETROVNA", 0)},
        {"PP_Kem", Result("UFMS", SCF_VRS_WARNING)},
        {"PP_Sex", Result("", SCF_VRS_ERROR)},
    };
    ASSERT_EQ(zone.size(), expected.size());
    for (const auto &[id, want] : expected) {
        EXPECT_EQ(zone.at(id).value, want.value) << id.constData();
        EXPECT_EQ(zone.at(id).flags, want.flags) << id.constData();
    }
}

} // namespace
