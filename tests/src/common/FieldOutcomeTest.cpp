// A field's outcome painted on its control, and read back as the host reads it.
#include "common/FieldOutcome.h"
#include "base/ResString.h"
#include "base/engCommon9rMessages.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TNullableDateEdit.h"

#include <QDate>
#include <gtest/gtest.h>

using recognition::TFieldMark;
using recognition::TFieldOutcome;
using recognition::TMarking;

namespace {

TFieldOutcome outcome(bool doubtful, bool error, bool differs)
{
    TFieldOutcome o;
    o.doubtful = doubtful;
    o.error = error;
    o.differs = differs;
    return o;
}

} // namespace

TEST(FieldOutcome, TextMarkingIsRedForAnyMarkAndReadsAsADoubt)
{
    ui::TCaptionedEdit text;
    ui::TNullableDateEdit date;
    for (QWidget *control : {static_cast<QWidget *>(&text), static_cast<QWidget *>(&date)}) {
        for (const TFieldOutcome &o : {outcome(true, false, false), outcome(false, true, false), outcome(false, false, true)}) {
            recognition::PaintOutcome(control, o, TMarking::Text);
            EXPECT_EQ(recognition::MarkOf(control), TFieldMark::Doubtful);
        }
        recognition::PaintOutcome(control, TFieldOutcome(), TMarking::Text);
        EXPECT_EQ(recognition::MarkOf(control), TFieldMark::None) << "an unmarked value is back to normal";
    }
    text.SetHint(QStringLiteral("выдан"));
    recognition::PaintOutcome(&text, outcome(true, false, false), TMarking::Text);
    EXPECT_TRUE(text.IsFontRed());
    EXPECT_FALSE(text.BackgroundColor().isValid()) << "red letters only";
    EXPECT_EQ(text.Hint(), QStringLiteral("выдан")) << "the hint is the window's own";
}

TEST(FieldOutcome, BackgroundMarkingLetsTheErrorWinWithItsHint)
{
    ui::TCaptionedEdit text;
    recognition::PaintOutcome(&text, outcome(true, true, false), TMarking::Background);
    EXPECT_EQ(text.BackgroundColor(), ui::ErroneousFieldBackground());
    EXPECT_EQ(text.Hint(), LoadResString(&_S_ERROR_IN_RECOGNITION));
    EXPECT_EQ(recognition::MarkOf(&text), TFieldMark::Erroneous);
    recognition::PaintOutcome(&text, outcome(true, false, false), TMarking::Background);
    EXPECT_EQ(text.BackgroundColor(), ui::DoubtfulFieldBackground());
    EXPECT_EQ(text.Hint(), LoadResString(&_S_DOUNT_IN_RECOGNITION));
    EXPECT_EQ(recognition::MarkOf(&text), TFieldMark::Doubtful);
    recognition::PaintOutcome(&text, outcome(false, false, true), TMarking::Background);
    EXPECT_EQ(text.BackgroundColor(), ui::NormalFieldBackground()) << "this marking never shows a difference";
    EXPECT_TRUE(text.Hint().isEmpty());
    EXPECT_EQ(recognition::MarkOf(&text), TFieldMark::None);
    EXPECT_FALSE(text.IsFontRed());

    ui::TNullableDateEdit date;
    recognition::PaintOutcome(&date, outcome(false, true, false), TMarking::Background);
    EXPECT_EQ(recognition::MarkOf(&date), TFieldMark::Erroneous);
    recognition::ClearOutcome(&date, TMarking::Background);
    EXPECT_FALSE(date.BackgroundColor().isValid()) << "the system's colour, not white";
    EXPECT_TRUE(date.Hint().isEmpty());
    EXPECT_EQ(recognition::MarkOf(&date), TFieldMark::None);
}

TEST(FieldOutcome, DifferenceFromTheCurrentValue)
{
    EXPECT_FALSE(recognition::TextDiffers(QStringLiteral("Иванов"), QStringLiteral("  ")))
        << "a blank current value has nothing to differ from";
    EXPECT_FALSE(recognition::TextDiffers(QStringLiteral(" иванов "), QStringLiteral("ИВАНОВ")));
    EXPECT_TRUE(recognition::TextDiffers(QString(), QStringLiteral("Иванов")));
    EXPECT_TRUE(recognition::TextDiffers(QStringLiteral("Иванова"), QStringLiteral("Иванов")));

    const QDate day(1980, 5, 17);
    EXPECT_FALSE(recognition::DateDiffers(day, QDate()));
    EXPECT_FALSE(recognition::DateDiffers(QDate(), QDate()));
    EXPECT_FALSE(recognition::DateDiffers(day, day));
    EXPECT_TRUE(recognition::DateDiffers(QDate(), day)) << "an empty date differs from a current one";
    EXPECT_TRUE(recognition::DateDiffers(day.addDays(1), day));
}
