// The fields' patterns and the way readings are put into the fields' form:
// what a real document prints must pass, what OCR typically makes of it must
// come out as printed, and near misses must fail.
#include "FieldPatterns.h"

#include <gtest/gtest.h>

namespace {

using printed::DocumentKind;
using printed::Field;

struct PatternCase
{
    Field field;
    DocumentKind kind;
    const char *value;
    bool matches;
};

class Pattern : public testing::TestWithParam<PatternCase>
{
};

TEST_P(Pattern, HoldsForPrintedFormsOnly)
{
    const PatternCase c = GetParam();
    EXPECT_EQ(printed::MatchesPattern(c.field, c.kind, QString::fromUtf8(c.value)), c.matches)
        << printed::FieldName(c.field).toStdString() << " \"" << c.value << "\"";
}

constexpr DocumentKind kInternal = DocumentKind::InternalPassport;
constexpr DocumentKind kForeign = DocumentKind::ForeignPassport;
constexpr DocumentKind kLicence = DocumentKind::DrivingLicence;

INSTANTIATE_TEST_SUITE_P(
    Fields, Pattern,
    testing::Values(PatternCase{Field::BirthDate, kInternal, "29.02.2020", true},
                    PatternCase{Field::BirthDate, kInternal, "29.02.2019", false}, // no such day
                    PatternCase{Field::IssueDate, kLicence, "31.04.2001", false},
                    PatternCase{Field::ExpiryDate, kForeign, "1.02.2031", false},
                    PatternCase{Field::ExpiryDate, kForeign, "01022031", false},
                    PatternCase{Field::DivisionCode, kInternal, "770-001", true},
                    PatternCase{Field::DivisionCode, kInternal, "770001", false},
                    PatternCase{Field::DivisionCode, kInternal, "77-0001", false},
                    PatternCase{Field::Series, kInternal, "45 03", true},
                    PatternCase{Field::Series, kInternal, "4503", false},
                    PatternCase{Field::Series, kForeign, "75", true},
                    PatternCase{Field::Series, kForeign, "75 03", false},
                    PatternCase{Field::Number, kLicence, "456789", true},
                    PatternCase{Field::Number, kLicence, "4567890", false},
                    PatternCase{Field::Number, kForeign, "1234567", true},
                    PatternCase{Field::Number, kForeign, "123456", false},
                    PatternCase{Field::Surname, kInternal, "ИВАНОВА-ПЕТРОВА", true},
                    PatternCase{Field::Surname, kInternal, "Иванова", false},
                    PatternCase{Field::Surname, kInternal, "IVANOVA", false},
                    PatternCase{Field::Patronymic, kInternal, "ОГЛЫ МАМЕДОВИЧ", true},
                    PatternCase{Field::SurnameLatin, kForeign, "IVANOVA", true},
                    PatternCase{Field::SurnameLatin, kForeign, "ИВАНОВА", false},
                    PatternCase{Field::GivenNameLatin, kLicence, "MARINA SERGEEVNA", true},
                    PatternCase{Field::Sex, kInternal, "МУЖ.", true},
                    PatternCase{Field::Sex, kInternal, "М", false},
                    PatternCase{Field::Sex, kForeign, "Ж", true},
                    PatternCase{Field::Sex, kForeign, "ЖЕН.", false},
                    PatternCase{Field::Categories, kLicence, "B B1 M", true},
                    PatternCase{Field::Categories, kLicence, "A C1E D", true},
                    PatternCase{Field::Categories, kLicence, "B X", false},
                    PatternCase{Field::Categories, kLicence, "", false},
                    PatternCase{Field::BirthPlace, kInternal, "ГОР. ЛУГОВСК-9", true},
                    PatternCase{Field::BirthPlace, kInternal, "", false}));

struct NormaliseCase
{
    Field field;
    DocumentKind kind;
    const char *reading;
    const char *expected;
};

class Normalise : public testing::TestWithParam<NormaliseCase>
{
};

TEST_P(Normalise, GivesThePrintedForm)
{
    const NormaliseCase c = GetParam();
    const QString reading = QString::fromUtf8(c.reading);
    EXPECT_EQ(printed::Normalise(c.field, c.kind, reading, printed::ScriptFor(c.field, reading)).toStdString(),
              std::string(c.expected))
        << printed::FieldName(c.field).toStdString() << " \"" << c.reading << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Readings, Normalise,
    testing::Values(NormaliseCase{Field::BirthDate, kInternal, "O1.O2.199O", "01.02.1990"},
                    NormaliseCase{Field::BirthDate, kInternal, "01 .02.199 0", "01.02.1990"},
                    NormaliseCase{Field::IssueDate, kLicence, "1З.06.2О19", "13.06.2019"},
                    NormaliseCase{Field::DivisionCode, kInternal, "770 001", "770-001"},
                    NormaliseCase{Field::DivisionCode, kInternal, "770—0O1", "770-001"},
                    NormaliseCase{Field::Series, kInternal, "4503", "45 03"},
                    NormaliseCase{Field::Series, kForeign, "7 5", "75"},
                    NormaliseCase{Field::Number, kInternal, "l23456", "123456"},
                    NormaliseCase{Field::Surname, kForeign, "BOPOHOB", "ВОРОНОВ"},
                    NormaliseCase{Field::GivenName, kForeign, "EJIEHA", "ЕЛЕНА"},
                    NormaliseCase{Field::Surname, kInternal, "Петров - Водкин", "ПЕТРОВ-ВОДКИН"},
                    NormaliseCase{Field::Surname, kInternal, "KPbIMOB", "КРЫМОВ"},
                    NormaliseCase{Field::SurnameLatin, kForeign, "SОKОLОV", "SOKOLOV"}, // Cyrillic О inside
                    NormaliseCase{Field::Sex, kInternal, "муж", "МУЖ."},
                    NormaliseCase{Field::Sex, kInternal, "ЖЕН", "ЖЕН."},
                    NormaliseCase{Field::Sex, kForeign, "Ж/F", "Ж"},
                    NormaliseCase{Field::Sex, kForeign, "M/M", "М"},
                    NormaliseCase{Field::Sex, kForeign, "K/F", "Ж"},
                    NormaliseCase{Field::Categories, kLicence, "BB1M", "B B1 M"},
                    NormaliseCase{Field::Categories, kLicence, "АВ С1", "A B C1"},
                    NormaliseCase{Field::Categories, kLicence, "B Bl CE", "B B1 CE"},
                    NormaliseCase{Field::BirthPlace, kInternal, "ГОР.  ЛУГОВСК - 9", "ГОР. ЛУГОВСК-9"},
                    NormaliseCase{Field::BirthPlace, kInternal, "ГОР, СЕЦ ЗАРЕЧНОЙ ОБЛ", "ГОР. СЕЦ ЗАРЕЧНОЙ ОБЛ."},
                    NormaliseCase{Field::IssuedBy, kInternal, "ОТДЕЛОМ ПО С, ГОРКИ", "ОТДЕЛОМ ПО С. ГОРКИ"},
                    NormaliseCase{Field::ResidencePlace, kLicence, "ГОРОДСКОЙ ОКРУГ", "ГОРОДСКОЙ ОКРУГ"},
                    NormaliseCase{Field::BirthPlace, kInternal, "С. МСК о ‘о ОБЛ.", "С. МСК ОБЛ."},
                    NormaliseCase{Field::BirthPlace, kForeign, "ГОР. TPCK", "ГОР. ТРСК"}));

} // namespace
