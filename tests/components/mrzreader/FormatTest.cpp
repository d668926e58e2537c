// Check digits, position classes and the fields of the three layouts, on the
// published example zones of the travel-document standard.

#include "MrzFields.h"
#include "MrzFormat.h"

#include <gtest/gtest.h>

using namespace mrz;

namespace {

const QString kTd3 = QStringLiteral("P<UTOERIKSSON<<ANNA<MARIA<<<<<<<<<<<<<<<<<<<"
                                    "L898902C36UTO7408122F1204159ZE184226B<<<<<10");
const QString kTd2 = QStringLiteral("I<UTOERIKSSON<<ANNA<MARIA<<<<<<<<<<<"
                                    "D231458907UTO7408122F1204159<<<<<<<6");
const QString kTd1 = QStringLiteral("I<UTOD231458907<<<<<<<<<<<<<<<"
                                    "7408122F1204159UTO<<<<<<<<<<<6"
                                    "ERIKSSON<<ANNA<MARIA<<<<<<<<<<");

bool AllHold(Format f, const QString &text)
{
    for (const CheckRule &r : RulesFor(f, text).checks)
        if (!CheckHolds(r, text))
            return false;
    return true;
}

} // namespace

TEST(MrzFormat, CheckDigitsOfTheExampleFields)
{
    EXPECT_EQ(CheckDigit(QStringLiteral("L898902C3")), 6);
    EXPECT_EQ(CheckDigit(QStringLiteral("740812")), 2);
    EXPECT_EQ(CheckDigit(QStringLiteral("120415")), 9);
    EXPECT_EQ(CheckDigit(QStringLiteral("ZE184226B<<<<<")), 1);
    EXPECT_EQ(CheckDigit(QStringLiteral("<<<<<<")), 0);
    EXPECT_EQ(CheckDigit(QStringLiteral("ab1")), -1) << "lower case is no zone character";
}

TEST(MrzFormat, EveryCheckOfTheExampleZonesHolds)
{
    EXPECT_TRUE(AllHold(Format::TD3, kTd3));
    EXPECT_TRUE(AllHold(Format::TD2, kTd2));
    EXPECT_TRUE(AllHold(Format::TD1, kTd1));
    // One changed digit breaks its own check and the composite one.
    QString broken = kTd3;
    broken[44 + 14] = QLatin1Char('5');
    int failing = 0;
    for (const CheckRule &r : RulesFor(Format::TD3).checks)
        failing += CheckHolds(r, broken) ? 0 : 1;
    EXPECT_EQ(failing, 2);
}

TEST(MrzFormat, AnEmptyPersonalNumberMayCarryAFillerAsItsCheckDigit)
{
    QString t = QStringLiteral("P<UTOERIKSSON<<ANNA<MARIA<<<<<<<<<<<<<<<<<<<"
                               "L898902C36UTO7408122F1204159<<<<<<<<<<<<<<<2");
    const CheckRule personal = RulesFor(Format::TD3).checks[3];
    ASSERT_STREQ(personal.name, "personalNumber");
    EXPECT_TRUE(CheckHolds(personal, t));
    t[44 + 42] = QLatin1Char('0');
    EXPECT_TRUE(CheckHolds(personal, t)) << "0 is the computed digit of an all-filler field";
    t[44 + 30] = QLatin1Char('7');
    t[44 + 42] = QLatin1Char('<');
    EXPECT_FALSE(CheckHolds(personal, t)) << "a filler digit over a field with content";
}

TEST(MrzFormat, LayoutsAndPositionClasses)
{
    Format f;
    ASSERT_TRUE(FormatFor(3, 30, &f));
    EXPECT_EQ(f, Format::TD1);
    ASSERT_TRUE(FormatFor(2, 36, &f));
    EXPECT_EQ(f, Format::TD2);
    ASSERT_TRUE(FormatFor(2, 44, &f));
    EXPECT_EQ(f, Format::TD3);
    EXPECT_FALSE(FormatFor(3, 44, &f));

    const Rules td3 = RulesFor(Format::TD3);
    ASSERT_EQ(td3.classes.size(), 88u);
    EXPECT_EQ(td3.classes[10], CharClass::Letter) << "names";
    EXPECT_EQ(td3.classes[44 + 13], CharClass::DigitOrFiller) << "date of birth, whose parts may be unknown";
    EXPECT_EQ(td3.classes[44 + 21], CharClass::Digit) << "date of expiry";
    EXPECT_EQ(td3.classes[44 + 20], CharClass::Sex);
    EXPECT_EQ(td3.classes[44 + 42], CharClass::DigitOrFiller);
    EXPECT_TRUE(Admits(CharClass::Sex, 'X'));
    EXPECT_FALSE(Admits(CharClass::Sex, 'N'));
    EXPECT_FALSE(Admits(CharClass::Digit, '<'));
    EXPECT_FALSE(Admits(CharClass::Letter, '0'));
    const Rules td1 = RulesFor(Format::TD1);
    EXPECT_EQ(td1.classes[30 + 29], CharClass::Digit) << "composite digit";
    EXPECT_EQ(td1.classes[60], CharClass::Letter);
}

TEST(MrzFields, ThePassportExample)
{
    const Fields f = ParseFields(Format::TD3, kTd3);
    EXPECT_EQ(f.documentCode.value, "P");
    EXPECT_EQ(f.issuingState.value, "UTO");
    EXPECT_EQ(f.surname.value, "ERIKSSON");
    EXPECT_EQ(f.givenNames.value, "ANNA MARIA");
    EXPECT_EQ(f.documentNumber.value, "L898902C3");
    EXPECT_EQ(f.nationality.value, "UTO");
    EXPECT_EQ(f.birthDate.value, "740812");
    EXPECT_EQ(f.sex.value, "F");
    EXPECT_EQ(f.expiryDate.value, "120415");
    EXPECT_EQ(f.personalNumber.value, "ZE184226B");
    // Positions lead back into the zone; the blank between the names is the reader's own.
    EXPECT_EQ(f.givenNames.positions, (std::vector<int>{15, 16, 17, 18, -1, 20, 21, 22, 23, 24}));
    EXPECT_EQ(f.documentNumber.positions.front(), 44);
}

TEST(MrzFields, TheTwoCardExamples)
{
    const Fields td2 = ParseFields(Format::TD2, kTd2);
    EXPECT_EQ(td2.surname.value, "ERIKSSON");
    EXPECT_EQ(td2.givenNames.value, "ANNA MARIA");
    EXPECT_EQ(td2.documentNumber.value, "D23145890");
    EXPECT_EQ(td2.expiryDate.value, "120415");
    EXPECT_EQ(td2.personalNumber.value, "");

    const Fields td1 = ParseFields(Format::TD1, kTd1);
    EXPECT_EQ(td1.documentCode.value, "I");
    EXPECT_EQ(td1.documentNumber.value, "D23145890");
    EXPECT_EQ(td1.birthDate.value, "740812");
    EXPECT_EQ(td1.sex.value, "F");
    EXPECT_EQ(td1.nationality.value, "UTO");
    EXPECT_EQ(td1.surname.value, "ERIKSSON");
    EXPECT_EQ(td1.givenNames.value, "ANNA MARIA");
    EXPECT_EQ(td1.surname.positions.front(), 60);
}

TEST(MrzFields, ALongCardNumberContinuesInTheOptionalData)
{
    // D23145890734: nine characters, a filler, the rest and its check digit 9.
    QString t = kTd1;
    t.replace(0, 30, QStringLiteral("I<UTOD23145890<7349<<<<<<<<<<<"));
    const Rules r = RulesFor(Format::TD1, t);
    EXPECT_EQ(r.checks.front().digit, 18);
    EXPECT_TRUE(CheckHolds(r.checks.front(), t));
    const Fields f = ParseFields(Format::TD1, t);
    EXPECT_EQ(f.documentNumber.value, "D23145890734");
    EXPECT_EQ(f.personalNumber.value, "");
}

TEST(MrzFields, DatesForTheEngines)
{
    const Fields f = ParseFields(Format::TD3, kTd3);
    const FieldText birth = DisplayDate(f.birthDate, true, 2026);
    EXPECT_EQ(birth.value, "12.08.1974");
    ASSERT_EQ(birth.positions.size(), 10u);
    EXPECT_EQ(birth.positions[0], 44 + 17) << "the day's first digit";
    EXPECT_EQ(birth.positions[2], -1) << "the separator";
    EXPECT_EQ(DisplayDate(f.expiryDate, false, 2026).value, "15.04.2012");
    // A birth year not yet reached belongs to the last century; expiry years stay in this one.
    FieldText d{QStringLiteral("250101"), {0, 1, 2, 3, 4, 5}};
    EXPECT_EQ(DisplayDate(d, true, 2026).value, "01.01.2025");
    d.value = QStringLiteral("300101");
    EXPECT_EQ(DisplayDate(d, true, 2026).value, "01.01.1930");
    EXPECT_EQ(DisplayDate(d, false, 2026).value, "01.01.2030");
    d.value = QStringLiteral("900230");
    EXPECT_TRUE(DisplayDate(d, true, 2026).value.isEmpty()) << "no 30th of February";
    d.value = QStringLiteral("9O0101");
    EXPECT_TRUE(DisplayDate(d, true, 2026).value.isEmpty());
    // Two characters are a number only as two digits: no blank or sign read as one.
    for (const char *notDigits : {"06 207", "+1+1+1", "0601 7", " 60101"}) {
        d.value = QString::fromLatin1(notDigits);
        EXPECT_TRUE(DisplayDate(d, false, 2026).value.isEmpty()) << notDigits;
        EXPECT_TRUE(DisplayDate(d, true, 2026).value.isEmpty()) << notDigits;
    }
}

TEST(MrzFields, ALongTd2NumberContinuesInTheOptionalData)
{
    // D23145890734 on a two-line card: a filler where the check digit would
    // be, the rest of the number and its check digit 9 in the optional data.
    const QString t = kTd2.left(36) + QStringLiteral("D23145890<UTO7408122F12041597349<<<2");
    EXPECT_TRUE(Admits(RulesFor(Format::TD2).classes[45], '<'));
    const Rules r = RulesFor(Format::TD2, t);
    EXPECT_EQ(r.checks.front().digit, 36 + 31);
    EXPECT_TRUE(AllHold(Format::TD2, t));
    const Fields f = ParseFields(Format::TD2, t);
    EXPECT_EQ(f.documentNumber.value, "D23145890734");
    EXPECT_EQ(f.documentNumber.positions.back(), 36 + 30);
    EXPECT_EQ(f.personalNumber.value, "");
    EXPECT_EQ(f.nationality.value, "UTO");
    // A passport number is never continued: a filler there is a misreading.
    EXPECT_FALSE(Admits(RulesFor(Format::TD3).classes[44 + 9], '<'));
}

TEST(MrzFields, ADateOfBirthMayLeaveItsPartsUnknown)
{
    EXPECT_EQ(StateOfDate(u"740812", true), DateState::Known);
    for (const char16_t *unknown : {u"74<<<<", u"740800", u"740000", u"<<<<<<", u"74<<12", u"<<0229"})
        EXPECT_EQ(StateOfDate(unknown, true), DateState::PartlyUnknown) << QString::fromUtf16(unknown).toStdString();
    for (const char16_t *invalid : {u"741301", u"740832", u"750229", u"74<<32", u"7<0812", u"74O812"})
        EXPECT_EQ(StateOfDate(invalid, true), DateState::Invalid) << QString::fromUtf16(invalid).toStdString();
    EXPECT_EQ(StateOfDate(u"30<<<<", false), DateState::Invalid) << "an expiry date is always whole";

    // The check digit counts fillers as naughts, and the date comes to the engines as none, marked.
    const QString t = kTd3.left(44) + QStringLiteral("L898902C36UTO74<<<<1F1204159ZE184226B<<<<<18");
    EXPECT_TRUE(AllHold(Format::TD3, t));
    const Fields f = ParseFields(Format::TD3, t);
    EXPECT_EQ(f.birthDate.value, "74<<<<");
    const FieldText shown = DisplayDate(f.birthDate, true, 2026);
    EXPECT_TRUE(shown.value.isEmpty());
    EXPECT_TRUE(shown.doubtful);
    EXPECT_FALSE(DisplayDate(f.expiryDate, false, 2026).doubtful);
}

TEST(MrzFormat, TheDocumentCodeChoosesTheLayoutOfAShape)
{
    struct Case
    {
        Format shape;
        const char *codeAndState;
        Format expected;
        const char *name;
    };
    const Case cases[] = {
        {Format::TD3, "VNUTO", Format::MRVA, "MRVA"},
        {Format::TD3, "V<UTO", Format::MRVA, "MRVA"},
        {Format::TD2, "V<UTO", Format::MRVB, "MRVB"},
        {Format::TD3, "PNRUS", Format::RusInternal, "RUSPN"},
        {Format::TD3, "P<RUS", Format::TD3, "TD3"}, // the passport for travel abroad
        {Format::TD3, "PNUTO", Format::TD3, "TD3"},
        {Format::TD2, "PNRUS", Format::TD2, "TD2"}, // the internal passport's rows are 44 long
        {Format::TD2, "I<UTO", Format::TD2, "TD2"},
        {Format::TD1, "V<UTO", Format::TD1, "TD1"},
        {Format::MRVA, "P<UTO", Format::TD3, "TD3"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.codeAndState);
        const Format f = FormatByCode(c.shape, QString::fromLatin1(c.codeAndState));
        EXPECT_EQ(f, c.expected);
        EXPECT_EQ(FormatName(f), QLatin1String(c.name));
        EXPECT_EQ(LayoutOf(f).length, LayoutOf(c.shape).length) << "the code never changes the shape";
    }
}

TEST(MrzFormat, VisasCheckTheirNumberAndDatesOnly)
{
    const QString mrva = QStringLiteral("VNUTOERIKSSON<<ANNA<MARIA<<<<<<<<<<<<<<<<<<<"
                                        "L8988901C4XXX4009078F96121096ZE184226B<<<<<<");
    const QString mrvb = QStringLiteral("V<UTOERIKSSON<<ANNA<MARIA<<<<<<<<<<<"
                                        "L8988901C4XXX4009078F9612109<<<<<<<<");
    struct Case
    {
        Format format;
        QString text;
        const char *optional;
    };
    for (const Case &c : {Case{Format::MRVA, mrva, "6ZE184226B"}, Case{Format::MRVB, mrvb, ""}}) {
        SCOPED_TRACE(FormatName(c.format).toStdString());
        const Rules r = RulesFor(c.format);
        ASSERT_EQ(int(r.classes.size()), c.text.size());
        std::vector<std::string> names;
        for (const CheckRule &check : r.checks)
            names.push_back(check.name);
        EXPECT_EQ(names, (std::vector<std::string>{"documentNumber", "birthDate", "expiryDate"}));
        EXPECT_TRUE(AllHold(c.format, c.text));
        const int line2 = int(LayoutOf(c.format).length);
        QString changed = c.text;
        changed[line2 + 30] = QLatin1Char('7'); // the optional data: no check covers it
        EXPECT_TRUE(AllHold(c.format, changed));
        changed[line2 + 14] = QLatin1Char('1'); // the date of birth
        EXPECT_FALSE(AllHold(c.format, changed));
        EXPECT_EQ(r.classes[size_t(line2 + 30)], CharClass::AlphaNum);
        EXPECT_EQ(r.classes[size_t(line2 + 21)], CharClass::Digit) << "a visa expires";
        const Fields f = ParseFields(c.format, c.text);
        EXPECT_EQ(f.documentCode.value, c.text.left(2).remove(QLatin1Char('<')));
        EXPECT_EQ(f.surname.value, "ERIKSSON");
        EXPECT_EQ(f.givenNames.value, "ANNA MARIA");
        EXPECT_EQ(f.documentNumber.value, "L8988901C");
        EXPECT_EQ(f.nationality.value, "XXX");
        EXPECT_EQ(f.expiryDate.value, "961210");
        EXPECT_EQ(f.personalNumber.value, QLatin1String(c.optional)) << "the optional data runs to the line's end";
    }
}

TEST(MrzFormat, TheInternalPassportsPositionClasses)
{
    const Rules r = RulesFor(Format::RusInternal);
    ASSERT_EQ(r.classes.size(), 88u);
    struct Case
    {
        int position;
        const char *admitted;
        const char *refused;
    };
    const Case cases[] = {
        {0, "P", "0"},              // the code
        {10, "AZ2389<", "015"},     // names: digits that stand for letters
        {44, "0", "A<"},            // the series and number: digits
        {44 + 21, "0<", "A"},       // no expiry date: fillers
        {44 + 27, "5<", "A"},       // its check digit, or a filler
        {44 + 28, "3", "<A"},       // the series' last digit
        {44 + 40, "9", "<"},        // the division code
        {44 + 41, "<", "0A"},       // a filler only
        {44 + 42, "7", "<"},        // the optional data's check digit
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.position);
        for (const char *ch = c.admitted; *ch; ++ch)
            EXPECT_TRUE(Admits(r.classes[size_t(c.position)], *ch)) << *ch;
        for (const char *ch = c.refused; *ch; ++ch)
            EXPECT_FALSE(Admits(r.classes[size_t(c.position)], *ch)) << *ch;
    }
}
