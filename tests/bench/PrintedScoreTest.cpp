// The printed-fields benchmark's counting: what makes a field right for a
// reader that names fields and for one that gives the page's text, how near a
// text comes to a value, which fields count as differing from the zone
// unmarked, and what the zone states of the printed fields.

#include "MrzReader.h"
#include "PrintedScore.h"
#include "specimen-generator/Mrz.h"

#include <gtest/gtest.h>

using printed::DocumentKind;
using printed::Field;
using printedbench::FieldReading;

TEST(PrintedBenchScore, ValuesOccurInTextWithWhitespaceNormalised)
{
    struct Row
    {
        const char *value, *text;
        bool occurs;
        int distance;
    };
    const Row rows[] = {
        {"ГОР. МОСКВА", "Место рождения\nГОР.   МОСКВА\n", true, 0},
        {"ОТДЕЛОМ УФМС РОССИИ", "Паспорт выдан ОТДЕЛОМ УФМС\nРОССИИ ПО", true, 0},
        {"12.03.1990", "12.03.199O", false, 1},
        {"45 03", "4503", false, 1},
        {"ИВАНОВ", "", false, 6},
        {"ЖЕН.", "Пол ЖЕН Дата", false, 1},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.value);
        EXPECT_EQ(printedbench::Occurs(QString::fromUtf8(r.value), QString::fromUtf8(r.text)), r.occurs);
        EXPECT_EQ(printedbench::NearestDistance(QString::fromUtf8(r.value), QString::fromUtf8(r.text)), r.distance);
    }
}

// One page of two fields, each case a different reading of the surname; the
// zone says the surname is ИВАНОВ.
TEST(PrintedBenchScore, EachReadingCountsWhereItBelongs)
{
    const std::map<Field, QString> truth{{Field::Surname, QStringLiteral("ИВАНОВ")}, {Field::BirthDate, QStringLiteral("01.02.1990")}};
    const std::map<Field, QString> zone{{Field::Surname, QStringLiteral("ИВАНОВ")}};
    struct Row
    {
        const char *what;
        std::optional<FieldReading> surname;
        bool right;
        int errors; // of the surname's 6
        int unmarked;
    };
    const Row rows[] = {
        {"right", FieldReading{QStringLiteral("ИВАНОВ"), false}, true, 0, 0},
        {"right, blanks around", FieldReading{QStringLiteral(" ИВАНОВ "), false}, true, 0, 0},
        {"right but doubtful", FieldReading{QStringLiteral("ИВАНОВ"), true}, true, 0, 0},
        {"one letter wrong, unmarked", FieldReading{QStringLiteral("ИВАН0В"), false}, false, 1, 1},
        {"one letter wrong, marked doubtful", FieldReading{QStringLiteral("ИВАН0В"), true}, false, 1, 0},
        {"not read", std::nullopt, false, 6, 0},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        std::map<Field, FieldReading> read{{Field::BirthDate, FieldReading{QStringLiteral("01.02.1990"), false}}};
        if (r.surname)
            read[Field::Surname] = *r.surname;
        printedbench::Tally t;
        t.AddReading(DocumentKind::InternalPassport, truth, read, zone, 10);
        EXPECT_EQ(t.Right(Field::Surname), r.right ? 1 : 0);
        EXPECT_EQ(t.Right(Field::BirthDate), 1);
        EXPECT_EQ(t.FieldsRight(), r.right ? 2 : 1);
        EXPECT_EQ(t.Fields(), 2);
        EXPECT_EQ(t.DocumentsRight(), r.right ? 1 : 0);
        EXPECT_EQ(t.DocumentsRight(DocumentKind::InternalPassport), r.right ? 1 : 0);
        EXPECT_EQ(t.Documents(DocumentKind::DrivingLicence), 0);
        EXPECT_DOUBLE_EQ(t.CharacterErrorRate(Field::Surname), r.errors / 6.0);
        EXPECT_EQ(t.Unmarked(), r.unmarked);
        EXPECT_EQ(t.Misses().size(), r.right ? 0u : 1u);
    }
}

// A text reader is right where the value occurs and marks nothing.
TEST(PrintedBenchScore, TextReadersAreJudgedByOccurrence)
{
    const std::map<Field, QString> truth{{Field::Surname, QStringLiteral("ИВАНОВ")}, {Field::Series, QStringLiteral("45 03")}};
    printedbench::Tally t;
    t.AddText(DocumentKind::InternalPassport, truth, QStringLiteral("Фамилия ИВАНОВ\n45  03 123456"), 100);
    t.AddText(DocumentKind::InternalPassport, truth, QStringLiteral("Фамилия ИВАНОБ 4503"), 300);
    EXPECT_EQ(t.Right(Field::Surname), 1);
    EXPECT_EQ(t.Right(Field::Series), 1);
    EXPECT_EQ(t.DocumentsRight(), 1);
    EXPECT_EQ(t.Pages(), 2);
    EXPECT_EQ(t.Unmarked(), -1);
    EXPECT_DOUBLE_EQ(t.CharacterErrorRate(Field::Surname), 1.0 / 12);
    EXPECT_DOUBLE_EQ(t.MedianMs(), 200);
    EXPECT_DOUBLE_EQ(t.MeanMs(), 200);
}

// What the zone states is what the page prints: the internal passport's
// Cyrillic names, series and number apart, "ЖЕН.", the dates as printed and
// the division code; the foreign passport's Latin names, its nine digits as
// series and number, "М" and its expiry. The licence has no zone.
TEST(PrintedBenchScore, ZoneValuesAreInThePrintsForm)
{
    specimens::MrzData internal;
    internal.documentCode = QStringLiteral("PN");
    internal.issuingState = internal.nationality = QStringLiteral("RUS");
    internal.surname = QStringLiteral("ЩЕРБАКОВА");
    internal.givenNames = QStringLiteral("ЮЛИЯ");
    internal.patronymic = QStringLiteral("ПЕТРОВНА");
    internal.documentNumber = QStringLiteral("4503123456");
    internal.birthDate = QStringLiteral("900102");
    internal.sex = QStringLiteral("F");
    internal.issueDate = QStringLiteral("100315");
    internal.divisionCode = QStringLiteral("770001");
    mrz::MrzResult zone;
    zone.found = true;
    zone.fields = mrz::ParseFields(mrz::Format::RusInternal, specimens::RussianInternalMrz(internal).join(QString()));
    const std::map<Field, QString> expected{
        {Field::Surname, QStringLiteral("ЩЕРБАКОВА")},  {Field::GivenName, QStringLiteral("ЮЛИЯ")},
        {Field::Patronymic, QStringLiteral("ПЕТРОВНА")}, {Field::Series, QStringLiteral("45 03")},
        {Field::Number, QStringLiteral("123456")},       {Field::BirthDate, QStringLiteral("02.01.1990")},
        {Field::Sex, QStringLiteral("ЖЕН.")},           {Field::IssueDate, QStringLiteral("15.03.2010")},
        {Field::DivisionCode, QStringLiteral("770-001")},
    };
    EXPECT_EQ(printedbench::ZoneValues(DocumentKind::InternalPassport, zone, 2026), expected);

    const specimens::MrzData foreign{QStringLiteral("P"),         QStringLiteral("RUS"),    QStringLiteral("SHCHERBAKOV"),
                                     QStringLiteral("IURII"),     QStringLiteral("751234567"), QStringLiteral("RUS"),
                                     QStringLiteral("850620"),    QStringLiteral("M"),      QStringLiteral("320101"),
                                     QString()};
    zone.fields = mrz::ParseFields(mrz::Format::TD3, specimens::PassportMrz(foreign).join(QString()));
    const std::map<Field, QString> expectedForeign{
        {Field::SurnameLatin, QStringLiteral("SHCHERBAKOV")}, {Field::GivenNameLatin, QStringLiteral("IURII")},
        {Field::Series, QStringLiteral("75")},                {Field::Number, QStringLiteral("1234567")},
        {Field::BirthDate, QStringLiteral("20.06.1985")},     {Field::ExpiryDate, QStringLiteral("01.01.2032")},
        {Field::Sex, QStringLiteral("М")},
    };
    EXPECT_EQ(printedbench::ZoneValues(DocumentKind::ForeignPassport, zone, 2026), expectedForeign);
    EXPECT_TRUE(printedbench::ZoneValues(DocumentKind::DrivingLicence, zone, 2026).empty());
    zone.found = false;
    EXPECT_TRUE(printedbench::ZoneValues(DocumentKind::ForeignPassport, zone, 2026).empty());
}
