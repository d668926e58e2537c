// From cell scores to text: the characters each position admits, the check
// digits choosing between close candidates, and what is reported untrusted.

#include "ZoneDecoder.h"

#include <algorithm>

#include <gtest/gtest.h>

using namespace mrz;

namespace {

const QString kTd3 = QStringLiteral("P<UTOERIKSSON<<ANNA<MARIA<<<<<<<<<<<<<<<<<<<"
                                    "L898902C36UTO7408122F1204159ZE184226B<<<<<10");

// Scores as a clean reading of text gives them: the printed glyph far ahead.
std::vector<Scores> CleanScores(const QString &text)
{
    std::vector<Scores> out(size_t(text.size()));
    for (int i = 0; i < text.size(); ++i) {
        out[size_t(i)].fill(0.3f);
        out[size_t(i)][size_t(AlphabetIndex(text.at(i)))] = 0.92f;
    }
    return out;
}

void Set(std::vector<Scores> &s, int position, char ch, float score)
{
    s[size_t(position)][size_t(AlphabetIndex(QLatin1Char(ch)))] = score;
}

bool Valid(const DecodedZone &z, const char *name)
{
    for (const CheckResult &c : z.checks)
        if (c.name == QLatin1String(name))
            return c.valid;
    ADD_FAILURE() << "no check " << name;
    return false;
}

} // namespace

TEST(ZoneDecoder, ACleanReadingIsTrustedThroughout)
{
    const DecodedZone z = DecodeZone(Format::TD3, CleanScores(kTd3));
    EXPECT_EQ(z.text, kTd3);
    for (const CheckResult &c : z.checks)
        EXPECT_TRUE(c.valid) << c.name.toStdString();
    for (size_t i = 0; i < z.trusted.size(); ++i)
        EXPECT_TRUE(z.trusted[i]) << i;
}

TEST(ZoneDecoder, UnknownPartsOfTheBirthDateAndLongCardNumbersAreRead)
{
    // A passport whose holder's day and month of birth are unknown: the zone
    // holds, but the date is not taken as read.
    const QString passport = kTd3.left(44) + QStringLiteral("L898902C36UTO74<<<<1F1204159ZE184226B<<<<<18");
    const DecodedZone z = DecodeZone(Format::TD3, CleanScores(passport));
    EXPECT_EQ(z.text, passport);
    EXPECT_TRUE(z.plausible);
    EXPECT_TRUE(z.birthDateUnknown);
    for (const CheckResult &c : z.checks)
        EXPECT_TRUE(c.valid) << c.name.toStdString();
    for (size_t i = 0; i < z.trusted.size(); ++i)
        EXPECT_EQ(z.trusted[i], i < 44 + 13 || i >= 44 + 19) << i;

    // A card number of twelve characters continued into the optional data.
    const QString card = QStringLiteral("I<UTOERIKSSON<<ANNA<MARIA<<<<<<<<<<<"
                                        "D23145890<UTO7408122F12041597349<<<2");
    const DecodedZone c = DecodeZone(Format::TD2, CleanScores(card));
    EXPECT_EQ(c.text, card);
    EXPECT_TRUE(c.plausible);
    for (const CheckResult &check : c.checks)
        EXPECT_TRUE(check.valid) << check.name.toStdString();
}

TEST(ZoneDecoder, WeakLikenessIsNotTrustedAndMakesNoValidZone)
{
    // One glyph far ahead of the others but only faintly like its template.
    std::vector<Scores> s = CleanScores(kTd3);
    for (float &v : s[7])
        v = 0.1f;
    Set(s, 7, 'I', 0.6f);
    const DecodedZone one = DecodeZone(Format::TD3, s);
    EXPECT_EQ(one.text, kTd3);
    EXPECT_FALSE(one.trusted[7]);
    EXPECT_TRUE(one.trusted[6]);
    EXPECT_FALSE(one.weakLikeness);

    // Every glyph so: the print is no OCR-B, though every check holds.
    for (int i = 0; i < kTd3.size(); ++i) {
        for (float &v : s[size_t(i)])
            v = 0.2f;
        s[size_t(i)][size_t(AlphabetIndex(kTd3.at(i)))] = 0.7f;
    }
    const DecodedZone all = DecodeZone(Format::TD3, s);
    EXPECT_EQ(all.text, kTd3);
    for (const CheckResult &c : all.checks)
        EXPECT_TRUE(c.valid) << c.name.toStdString();
    EXPECT_TRUE(all.weakLikeness);
    EXPECT_TRUE(std::none_of(all.trusted.begin(), all.trusted.end(), [](bool t) { return t; }));
}

TEST(ZoneDecoder, APositionChoosesOnlyAmongTheCharactersItAdmits)
{
    std::vector<Scores> s = CleanScores(kTd3);
    // The glyph in the date of birth looks more like the letter O than the digit 0,
    // and the first letter of the name more like a 5 than an S.
    Set(s, 44 + 15, 'O', 0.95f);
    Set(s, 44 + 15, '0', 0.90f);
    Set(s, 9, '5', 0.95f);
    const DecodedZone z = DecodeZone(Format::TD3, s);
    EXPECT_EQ(z.text.at(44 + 15), QLatin1Char('0'));
    EXPECT_EQ(z.text.at(9), QLatin1Char('S'));
}

TEST(ZoneDecoder, TheCheckDigitPicksTheRunnerUpOfADoubtfulCharacter)
{
    std::vector<Scores> s = CleanScores(kTd3);
    // The 8 of the document number is read as a B by a hair; only 8 satisfies its check digit.
    Set(s, 44 + 2, 'B', 0.93f);
    Set(s, 44 + 2, '8', 0.90f);
    const DecodedZone z = DecodeZone(Format::TD3, s);
    EXPECT_EQ(z.text, kTd3);
    EXPECT_TRUE(Valid(z, "documentNumber"));
    EXPECT_TRUE(Valid(z, "composite"));
    EXPECT_FALSE(z.trusted[44 + 2]) << "a character the check digit chose stays doubtful";
    EXPECT_TRUE(z.trusted[44 + 3]);
}

TEST(ZoneDecoder, ARepairNeverEndsALongNumberElsewhere)
{
    // A card number of twelve characters ("D23145890734"), the check digit
    // printed 5 where 9 belongs, and a filler close behind its last 4: a
    // filler there would make the check hold, but would end the number two
    // characters early, where the checks read other characters.
    const QString card = QStringLiteral("I<UTOERIKSSON<<ANNA<MARIA<<<<<<<<<<<"
                                        "D23145890<UTO7408122F12041597345<<<2");
    std::vector<Scores> s = CleanScores(card);
    Set(s, 36 + 30, '<', 0.89f);
    const DecodedZone z = DecodeZone(Format::TD2, s);
    EXPECT_EQ(z.text.mid(36 + 28, 4), QStringLiteral("7345"));
    EXPECT_FALSE(Valid(z, "documentNumber"));
    // What is reported to hold, holds on the text read.
    for (const CheckRule &r : RulesFor(Format::TD2, z.text).checks)
        EXPECT_TRUE(!Valid(z, r.name) || CheckHolds(r, z.text)) << r.name;
}

TEST(ZoneDecoder, AConfidentMisreadingIsNotRepairedAndItsFieldIsUntrusted)
{
    std::vector<Scores> s = CleanScores(kTd3);
    // A clear 3 where the page has a 2 in the expiry date: too far from any
    // runner-up to be repaired.
    Set(s, 44 + 22, '3', 0.95f);
    Set(s, 44 + 22, '2', 0.40f);
    const DecodedZone z = DecodeZone(Format::TD3, s);
    EXPECT_EQ(z.text.at(44 + 22), QLatin1Char('3'));
    EXPECT_FALSE(Valid(z, "expiryDate"));
    EXPECT_TRUE(Valid(z, "birthDate"));
    for (int p = 44 + 21; p <= 44 + 27; ++p) {
        EXPECT_FALSE(z.trusted[size_t(p)]) << p;
        EXPECT_TRUE(z.checkFailed[size_t(p)]) << p;
    }
    EXPECT_TRUE(z.trusted[44 + 13]);
    EXPECT_FALSE(z.checkFailed[44 + 13]) << "the birth date's own check holds";
}

TEST(ZoneDecoder, LowConfidenceAloneMakesACharacterUntrusted)
{
    std::vector<Scores> s = CleanScores(kTd3);
    // Two letters nearly alike in a name: no check digit covers names.
    Set(s, 6, 'P', 0.905f);
    const DecodedZone z = DecodeZone(Format::TD3, s);
    EXPECT_FALSE(z.trusted[6]);
    EXPECT_LT(z.confidence[6], kTrustThreshold);
    EXPECT_TRUE(z.trusted[7]);
}

TEST(ZoneDecoder, WrongNumberOfCellsGivesNothing)
{
    const DecodedZone z = DecodeZone(Format::TD1, CleanScores(kTd3));
    EXPECT_TRUE(z.text.isEmpty());
}

TEST(ZoneDecoder, TrustFollowsWhatTheGlyphsAndTheFormatSay)
{
    // Position 44 + k is character k of line 2: 0..8 number, 9 its check,
    // 10..12 nationality, 28..41 personal number; line 1's names end at 24.
    struct Score
    {
        int position;
        char ch;
        float score;
    };
    struct Case
    {
        const char *rule;
        std::vector<Score> scores;
        int position;      // the character looked at
        char read;         // what it reads as
        bool trusted;
        bool allConfident; // with every check holding: a valid zone
        bool plausible;
        const char *check = nullptr; // a check that must not confirm the zone
    };
    // Digits that clearly stand where letters belong.
    const std::vector<Score> nationality = {{44 + 10, '0', 0.95f}, {44 + 10, 'U', 0.5f}, {44 + 11, '7', 0.95f},
                                            {44 + 11, 'T', 0.5f},  {44 + 12, '0', 0.95f}, {44 + 12, 'O', 0.5f}};
    std::vector<Score> twoFields = nationality;
    for (int p : {5, 6, 8}) {
        twoFields.push_back({p, '5', 0.95f});
        twoFields.push_back({p, kTd3.at(p).toLatin1(), 0.5f});
    }
    const Case cases[] = {
        {"a clear misreading is not rewritten to make its check hold", {{44 + 0, 'L', 0.70f}, {44 + 0, 'T', 0.80f}},
         44 + 0, 'T', false, true, true},
        {"a twin the glyph does not decide is the digit, untrusted", {{44 + 5, 'O', 0.935f}, {44 + 5, '0', 0.92f}},
         44 + 5, '0', false, true, true},
        {"a twin the glyph decides clearly is trusted", {{44 + 36, '8', 0.60f}}, 44 + 36, 'B', true, true, true},
        {"a name's letter the glyph does not tell well is no valid zone", {{6, 'P', 0.905f}}, 6, 'R', false, false,
         true},
        {"a faint mark where the names have ended is the filler", {{40, '<', 0.2f}, {40, 'F', 0.55f}}, 40, '<', false,
         false, true},
        {"so is one where the optional data has ended", {{44 + 40, '<', 0.2f}, {44 + 40, 'K', 0.55f}}, 44 + 40, '<',
         false, false, true},
        {"and a clear letter where the names have ended that the filler nearly matches",
         {{40, '<', 0.80f}, {40, 'F', 0.92f}}, 40, '<', false, false, true},
        {"a name part's last A barely ahead of the filler is the filler, not taken as read", {{18, '<', 0.90f}}, 18,
         '<', false, false, true},
        {"one clearly ahead of it stays the letter", {{18, '<', 0.80f}}, 18, 'A', true, true, true},
        {"digits where the nationality's letters belong: returned, untrusted", nationality, 44 + 11, 'T', false, false,
         true},
        {"misfits in several fields are no zone", twoFields, 5, 'E', false, false, false},
        {"two doubtful characters a pair of replacements makes hold: the check confirms nothing",
         {{44 + 1, '6', 0.82f}, {44 + 1, '8', 0.80f}, {44 + 2, '7', 0.82f}, {44 + 2, '9', 0.80f}}, 44 + 1, '8', false,
         true, true, "documentNumber"},
        {"two doubtful characters whose misreadings cancel in the check digit: holding as read, it confirms nothing",
         {{44 + 1, '9', 0.93f}, {44 + 4, '8', 0.93f}}, 44 + 1, '9', false, true, true, "documentNumber"},
        {"nor does the one repair that makes it hold while another doubtful character stays under it",
         {{44 + 1, '9', 0.93f}, {44 + 6, 'Z', 0.91f}}, 44 + 1, '8', false, true, true, "documentNumber"},
        {"a month that is none: the date returned untrusted", {{44 + 15, '1', 0.95f}, {44 + 15, '0', 0.3f}}, 44 + 15,
         '1', false, false, true, "birthDate"},
        {"a filler barely ahead of K, which no check digit tells from it, is no valid zone",
         {{44 + 37, 'K', 0.90f}}, 44 + 37, '<', false, false, true},
        {"a filler clearly ahead of K is trusted", {{44 + 37, 'K', 0.84f}}, 44 + 37, '<', true, true, true},
        {"a date that is none beside another broken field is no zone",
         {{44 + 15, '1', 0.95f}, {44 + 15, '0', 0.3f}, {44 + 10, '0', 0.95f}, {44 + 10, 'U', 0.5f}}, 44 + 15, '1',
         false, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rule);
        std::vector<Scores> s = CleanScores(kTd3);
        for (const Score &v : c.scores)
            Set(s, v.position, v.ch, v.score);
        const DecodedZone z = DecodeZone(Format::TD3, s);
        EXPECT_EQ(z.text.at(c.position), QLatin1Char(c.read));
        EXPECT_EQ(z.plausible, c.plausible);
        if (!c.plausible)
            continue;
        EXPECT_EQ(z.trusted[size_t(c.position)], c.trusted);
        EXPECT_EQ(z.allConfident, c.allConfident);
        if (c.check) {
            EXPECT_FALSE(Valid(z, c.check));
        }
    }
}

TEST(ZoneDecoder, ACheckHoldingOverTwoDoubtfulCharactersStillSpeaksForTheLayout)
{
    // Confirming neither character, it is still a check that holds on the
    // text: a reading in another layout must not win over it for that.
    std::vector<Scores> s = CleanScores(kTd3);
    Set(s, 44 + 1, '9', 0.93f);
    Set(s, 44 + 4, '8', 0.93f);
    const DecodedZone z = DecodeZone(Format::TD3, s);
    for (const CheckResult &c : z.checks) {
        EXPECT_TRUE(c.holds) << c.name.toStdString();
        EXPECT_EQ(c.valid, c.name != QLatin1String("documentNumber") && c.name != QLatin1String("composite"))
            << c.name.toStdString();
    }
}

TEST(ZoneDecoder, TheDocumentCodeChoosesTheLayoutBeforeThePositionClasses)
{
    struct Case
    {
        Format shape;
        QString text;
        Format expected;
        size_t checks;
    };
    const Case cases[] = {
        // The internal passport: digits in the names, fillers for the expiry date.
        {Format::TD3,
         QStringLiteral("PNRUS3ERNY42VA<WUKINA<<NATAL98<7R9EVNA<<<<<<"
                        "4501234568RUS8504124F<<<<<<<3050917770001<88"),
         Format::RusInternal, 5},
        {Format::TD3,
         QStringLiteral("VNUTOERIKSSON<<ANNA<MARIA<<<<<<<<<<<<<<<<<<<"
                        "L8988901C4XXX4009078F96121096ZE184226B<<<<<<"),
         Format::MRVA, 3},
        {Format::TD2,
         QStringLiteral("V<UTOERIKSSON<<ANNA<MARIA<<<<<<<<<<<"
                        "L8988901C4XXX4009078F9612109<<<<<<<<"),
         Format::MRVB, 3},
        // A Russian passport for travel abroad is an ordinary passport.
        {Format::TD3, QStringLiteral("P<RUS") + kTd3.mid(5), Format::TD3, 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.left(5).toStdString());
        const DecodedZone z = DecodeZone(c.shape, CleanScores(c.text));
        EXPECT_EQ(z.format, c.expected);
        EXPECT_EQ(z.text, c.text);
        EXPECT_EQ(z.checks.size(), c.checks);
        for (const CheckResult &check : z.checks)
            EXPECT_TRUE(check.valid) << check.name.toStdString();
        EXPECT_TRUE(z.plausible);
        EXPECT_EQ(z.repairs, 0);
        EXPECT_EQ(z.misfits, 0);
        EXPECT_TRUE(std::all_of(z.trusted.begin(), z.trusted.end(), [](bool t) { return t; }));
    }
}

TEST(ZoneDecoder, TheInternalPassportsNameDigitsAndOptionalDataAreRepairedAsTheirClassesAllow)
{
    const QString zone = QStringLiteral("PNRUS3ERNY42VA<WUKINA<<NATAL98<7R9EVNA<<<<<<"
                                        "4501234568RUS8504124F<<<<<<<3050917770001<88");
    std::vector<Scores> s = CleanScores(zone);
    // A Ч (3) that looks as much like a B in the names: the names have no check
    // digit, so the glyph decides, and the doubt stays.
    Set(s, 5, 'B', 0.9f);
    // A division digit that looks like an O: only digits go there, so it stays
    // a digit, and the optional data's check confirms it.
    Set(s, 44 + 38, 'O', 0.95f);
    // A 5 in the date of issue scored just below a 3: the check digit chooses.
    Set(s, 44 + 30, '3', 0.93f);
    const DecodedZone z = DecodeZone(Format::TD3, s);
    EXPECT_EQ(z.format, Format::RusInternal);
    EXPECT_EQ(z.text, zone);
    EXPECT_FALSE(z.trusted[5]);
    EXPECT_EQ(z.repairs, 1);
    for (const CheckResult &check : z.checks)
        EXPECT_TRUE(check.valid) << check.name.toStdString();
}

TEST(ZoneDecoder, ACodeReadALittleLessLikelyStillChoosesItsLayout)
{
    const QString zone = QStringLiteral("PNRUS3ERNY42VA<WUKINA<<NATAL98<7R9EVNA<<<<<<"
                                        "4501234568RUS8504124F<<<<<<<3050917770001<88");
    struct Case
    {
        int position;
        char rival;
        float rivalScore;
        float printedScore;
        Format expected;
    };
    const Case cases[] = {
        {1, 'H', 0.95f, 0.92f, Format::RusInternal}, // an N a little like an H
        {4, '5', 0.99f, 0.92f, Format::RusInternal}, // no digit is a letter of the code
        {1, 'H', 0.95f, 0.8f, Format::TD3},          // clearly an H: the zone no longer reads
        {0, 'V', 0.93f, 0.92f, Format::MRVA},        // the likeliest letters choose first
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.position);
        std::vector<Scores> s = CleanScores(zone);
        Set(s, c.position, c.rival, c.rivalScore);
        Set(s, c.position, char(zone.at(c.position).toLatin1()), c.printedScore);
        const DecodedZone z = DecodeZone(Format::TD3, s);
        EXPECT_EQ(z.format, c.expected);
        EXPECT_EQ(z.plausible, c.expected == Format::RusInternal);
    }
}

TEST(ZoneDecoder, ARowWithoutExpiryDateLetsSeveralCodeLettersEachALittleOffChooseTheInternalPassport)
{
    const QString zone = QStringLiteral("PNRUS3ERNY42VA<WUKINA<<NATAL98<7R9EVNA<<<<<<"
                                        "4501234568RUS8504124F<<<<<<<3050917770001<88");
    struct Case
    {
        QString secondRow; // empty: the zone's own
        Format expected;
    };
    const Case cases[] = {
        {QString(), Format::RusInternal},
        // An expiry date where the internal passport has none: a passport.
        {QStringLiteral("4501234568RUS8504124F25010123050917770001<88"), Format::TD3},
    };
    for (const Case &c : cases) {
        const QString text = zone.left(44) + (c.secondRow.isEmpty() ? zone.mid(44) : c.secondRow);
        std::vector<Scores> s = CleanScores(text);
        // An H and a T each read a little likelier than the P and S printed:
        // together too far off for the code alone to choose the layout.
        Set(s, 0, 'H', 0.99f);
        Set(s, 4, 'T', 0.99f);
        const DecodedZone z = DecodeZone(Format::TD3, s);
        SCOPED_TRACE(int(c.expected));
        EXPECT_EQ(z.format, c.expected);
        if (c.expected != Format::RusInternal)
            continue;
        // The code is the layout's, and untrusted as it was not read so.
        EXPECT_EQ(z.text, zone);
        EXPECT_FALSE(z.trusted[0]);
        EXPECT_FALSE(z.trusted[4]);
        EXPECT_TRUE(z.trusted[1]);
        EXPECT_FALSE(z.allConfident);
    }
}
