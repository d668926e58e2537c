// The zone benchmark's counting: what makes a reading right, false valid or a
// zone where there is none, and how Tesseract's text is taken as a zone.

#include "MrzFields.h"
#include "MrzScore.h"
#include "PageGenerator.h"
#include "TesseractZone.h"

#include <gtest/gtest.h>

using mrzbench::Expected;
using mrzbench::Reading;

namespace {

Expected Truth(bool hasZone, bool legible = true, bool printedCheckErrors = false)
{
    Expected e;
    e.hasZone = hasZone;
    e.legible = legible;
    e.printedCheckErrors = printedCheckErrors;
    if (hasZone)
        e.lines = {QStringLiteral("ABC<<"), QStringLiteral("12345")};
    return e;
}

Reading Read(bool found, const char *text, bool valid, double ms = 1)
{
    return Reading{found, QString::fromLatin1(text), valid, ms};
}

} // namespace

TEST(MrzBenchScore, EachReadingCountsWhereItBelongs)
{
    struct Row
    {
        const char *what;
        Expected truth;
        Reading reading;
        bool right, falseValid, foundWhereNone;
        int errors; // characters of the 10 wrong
        bool named; // among the pictures not read right
    };
    const Row rows[] = {
        {"right and valid", Truth(true), Read(true, "ABC<<12345", true), true, false, false, 0, false},
        {"right but not vouched for", Truth(true), Read(true, "ABC<<12345", false), true, false, false, 0, false},
        {"one character wrong, vouched for", Truth(true), Read(true, "ABC<<12845", true), false, true, false, 1, true},
        {"one character wrong", Truth(true), Read(true, "ABC<<12845", false), false, false, false, 1, true},
        {"not found", Truth(true), Read(false, "", false), false, false, false, 10, true},
        {"print with a failing check digit, called valid", Truth(true, true, true), Read(true, "ABC<<12345", true), true, true, false, 0, true},
        {"illegible, read right", Truth(true, false), Read(true, "ABC<<12345", false), false, false, false, 0, false},
        {"no zone, none found", Truth(false), Read(false, "", false), false, false, false, 0, false},
        {"no zone, one found", Truth(false), Read(true, "XYZ", false), false, false, true, 0, true},
        {"no zone, one found and vouched for", Truth(false), Read(true, "XYZ", true), false, true, true, 0, true},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        mrzbench::Tally t;
        t.Add(r.truth, r.reading);
        EXPECT_EQ(t.AllRight(), r.right ? 1 : 0);
        EXPECT_EQ(t.LegibleZones(), r.truth.hasZone && r.truth.legible ? 1 : 0);
        EXPECT_EQ(t.FalseValid(), r.falseValid ? 1 : 0);
        EXPECT_EQ(t.FoundWhereNone(), r.foundWhereNone ? 1 : 0);
        EXPECT_EQ(t.Found(), r.truth.hasZone && r.reading.found ? 1 : 0);
        EXPECT_DOUBLE_EQ(t.CharacterErrorRate(), r.truth.hasZone ? r.errors / 10.0 : 0.0);
        EXPECT_EQ(mrzbench::Miss(r.truth, r.reading).isEmpty(), !r.named);
    }
}

TEST(MrzBenchScore, MedianAndMeanTimes)
{
    struct Row
    {
        std::vector<double> ms;
        double median, mean;
    };
    const Row rows[] = {{{5}, 5, 5}, {{9, 1, 5}, 5, 5}, {{10, 2, 4, 100}, 7, 29}};
    for (const Row &r : rows) {
        mrzbench::Tally t;
        for (double ms : r.ms)
            t.Add(Truth(true), Read(true, "ABC<<12345", false, ms));
        EXPECT_DOUBLE_EQ(t.MedianMs(), r.median);
        EXPECT_DOUBLE_EQ(t.MeanMs(), r.mean);
    }
}

TEST(MrzBenchScore, TesseractsTextTakenAsAZone)
{
    mrzpages::Random rng(4);
    const QStringList zone = mrzpages::ZoneLines(QStringLiteral("TD1"), mrzpages::RandomData(QStringLiteral("TD1"), rng));
    QString broken = zone[1];
    broken[0] = broken[0] == QLatin1Char('1') ? QLatin1Char('2') : QLatin1Char('1'); // a date digit under its check
    const QString spaced = QString(zone[0]).insert(10, QLatin1Char(' '));
    struct Row
    {
        const char *what;
        QString output;
        bool wholePicture, found, valid;
        QString text;
    };
    const Row rows[] = {
        {"a crop: the zone's rows after a stray line", QStringLiteral("AB\n") + spaced + "\n" + zone[1] + "\n" + zone[2] + "\n",
         false, true, true, zone.join(QString())},
        {"a crop: short rows padded", zone[0].left(20) + "\n" + zone[1] + "\n" + zone[2], false, true, false,
         zone[0].left(20) + QString(10, QLatin1Char('<')) + zone[1] + zone[2]},
        {"a whole picture: text lines of other lengths left out",
         QStringLiteral("REPUBLIC OF NOWHERE\n") + zone.join(QLatin1Char('\n')) + "\nPAGE 2", true, true, true, zone.join(QString())},
        {"a whole picture: a row without a filler is no zone row", zone[0] + "\nABCDEFGHIJKLMNOPQRSTUVWXYZ0123\n" + zone[2], true,
         false, false, QString()},
        {"a failing check digit", zone[0] + "\n" + broken + "\n" + zone[2], false, true, false, zone[0] + broken + zone[2]},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        const Reading got = mrzbench::ZoneFromText(r.output, 3, 30, r.wholePicture);
        EXPECT_EQ(got.found, r.found);
        EXPECT_EQ(got.valid, r.valid);
        if (r.found) {
            EXPECT_EQ(got.text, r.text);
        }
    }
    EXPECT_TRUE(mrzbench::AnyZoneFromText(QStringLiteral("x\n") + zone.join(QLatin1Char('\n'))).found);
    EXPECT_FALSE(mrzbench::AnyZoneFromText(QStringLiteral("Dear reader,\nno zone here at all\n")).found);
}

TEST(MrzBenchScore, TargetsJudgedOnlyWhereThereIsSomethingToJudge)
{
    using mrzbench::Verdict;
    struct Row
    {
        const char *what;
        Verdict got, want;
    };
    const Row rows[] = {
        {"share of an empty set", mrzbench::AtLeast(0, 0, 0.995), Verdict::NotMeasured},
        {"share just reached", mrzbench::AtLeast(995, 1000, 0.995), Verdict::Met},
        {"share one short", mrzbench::AtLeast(994, 1000, 0.995), Verdict::Missed},
        {"all of one", mrzbench::AtLeast(1, 1, 1.0), Verdict::Met},
        {"none of one", mrzbench::AtLeast(0, 1, 1.0), Verdict::Missed},
        {"none where there is nothing", mrzbench::NoneOf(0, 0), Verdict::NotMeasured},
        {"none of three", mrzbench::NoneOf(0, 3), Verdict::Met},
        {"one of three", mrzbench::NoneOf(1, 3), Verdict::Missed},
        {"time over no pictures", mrzbench::AtMost(0, 100, 0), Verdict::NotMeasured},
        {"time at the limit", mrzbench::AtMost(100, 100, 5), Verdict::Met},
        {"time over the limit", mrzbench::AtMost(100.5, 100, 5), Verdict::Missed},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(r.got, r.want);
    }
    EXPECT_STREQ(mrzbench::VerdictText(Verdict::NotMeasured), "not measured");
    EXPECT_STRNE(mrzbench::VerdictText(Verdict::Met), mrzbench::VerdictText(Verdict::Missed));
}

TEST(MrzBenchScore, InternalPassportJudgedOnEveryFieldOfItsTruth)
{
    mrzpages::Random rng(11);
    mrzpages::PageTruth page;
    page.recipe.format = QStringLiteral("RUSPN");
    page.recipe.hasZone = true;
    page.data = mrzpages::RandomData(page.recipe.format, rng);
    page.lines = mrzpages::ZoneLines(page.recipe.format, page.data);
    const QJsonObject truth = mrzpages::TruthJson(page).value(QStringLiteral("fields")).toObject();
    const mrz::Fields read = mrz::ParseFields(mrz::Format::RusInternal, page.lines.join(QString()));
    ASSERT_TRUE(mrzbench::FieldsRight(truth, read)) << "the zone read as printed is right";

    struct Row
    {
        const char *what;
        mrz::FieldText mrz::Fields::*field;
    };
    // Latin and digit fields as well as the Cyrillic names: each alone decides.
    const Row rows[] = {
        {"surname", &mrz::Fields::surname},         {"given name", &mrz::Fields::givenNames},
        {"patronymic", &mrz::Fields::patronymic},   {"series and number", &mrz::Fields::documentNumber},
        {"birth date", &mrz::Fields::birthDate},    {"sex", &mrz::Fields::sex},
        {"issue date", &mrz::Fields::issueDate},    {"division code", &mrz::Fields::divisionCode},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        mrz::Fields wrong = read;
        (wrong.*r.field).value += QLatin1Char('0');
        EXPECT_FALSE(mrzbench::FieldsRight(truth, wrong));
    }
    QJsonObject unknown = truth;
    unknown.insert(QStringLiteral("placeOfBirth"), QStringLiteral("x"));
    EXPECT_FALSE(mrzbench::FieldsRight(unknown, read)) << "a truth field the reader has no name for";
}
