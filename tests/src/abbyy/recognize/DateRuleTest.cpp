// The documented conversion of engine date texts.
#include "abbyy/engABBYY9r_FM_RecognizeDate.h"

#include <gtest/gtest.h>

using abbyy::DateFromEngineText;

TEST(DateRule, DayFirstFormsWithAnyOneSeparator)
{
    EXPECT_EQ(DateFromEngineText("15.03.1984"), QDate(1984, 3, 15));
    EXPECT_EQ(DateFromEngineText("5.3.1984"), QDate(1984, 3, 5));
    EXPECT_EQ(DateFromEngineText("15/03/1984"), QDate(1984, 3, 15));
    EXPECT_EQ(DateFromEngineText("15-03-1984"), QDate(1984, 3, 15));
    EXPECT_EQ(DateFromEngineText("15 03 1984"), QDate(1984, 3, 15));
    EXPECT_EQ(DateFromEngineText("  01.12.2030 \r\n"), QDate(2030, 12, 1));
}

TEST(DateRule, IsoFormIsYearFirst)
{
    EXPECT_EQ(DateFromEngineText("1984-03-15"), QDate(1984, 3, 15));
    // Day-first with hyphens must not be mistaken for ISO and vice versa.
    EXPECT_EQ(DateFromEngineText("03-04-2001"), QDate(2001, 4, 3));
}

TEST(DateRule, ImpossibleDaysDoNotConvert)
{
    EXPECT_FALSE(DateFromEngineText("31.04.2001").isValid());
    EXPECT_FALSE(DateFromEngineText("29.02.2001").isValid());
    EXPECT_EQ(DateFromEngineText("29.02.2000"), QDate(2000, 2, 29));
    EXPECT_FALSE(DateFromEngineText("00.01.2001").isValid());
    EXPECT_FALSE(DateFromEngineText("12.13.2001").isValid());
    EXPECT_FALSE(DateFromEngineText("01.01.0000").isValid());
}

TEST(DateRule, OtherTextsDoNotConvert)
{
    for (const char *text : {"", "   ", "15.03.84", "15.03/1984", "15..03.1984", "1984.03.15",
                             "15 MAR 1984", "15.03.1984 г.", "150384", "15.03.19840",
                             "12.O3.1984"})
        EXPECT_FALSE(DateFromEngineText(QString::fromUtf8(text)).isValid()) << text;
    // Digits of other scripts are not read as numbers.
    EXPECT_FALSE(DateFromEngineText(QString::fromUtf8("١٥.٠٣.١٩٨٤")).isValid());
}
