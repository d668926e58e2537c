// Labels found as OCR reads them (slips, look-alike letters of the other
// script, stray punctuation) and nothing else taken for one; values taken
// from where their labels point.
#include "LabelFinder.h"
#include "Labels.h"

#include <gtest/gtest.h>

namespace {

using printed::DocumentKind;
using printed::LabelRole;

struct LabelCase
{
    const char *reading;
    const char *label;
    bool matches;
};

class LabelMatch : public testing::TestWithParam<LabelCase>
{
};

TEST_P(LabelMatch, ToleratesSlipsOnly)
{
    const LabelCase c = GetParam();
    EXPECT_EQ(printed::MatchesLabel(QString::fromUtf8(c.reading), QString::fromUtf8(c.label)), c.matches)
        << "\"" << c.reading << "\" as \"" << c.label << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Readings, LabelMatch,
    testing::Values(LabelCase{"Фамилия", "Фамилия", true}, LabelCase{"‘Фамилия", "Фамилия", true},
                    LabelCase{"Фамилня", "Фамилия", true}, LabelCase{"‘Отчество.", "Отчество", true},
                    LabelCase{"место рождения", "Место рождения", true},
                    LabelCase{"Mесто poждения", "Место рождения", true}, // Latin M, p, o
                    LabelCase{"Bara выдачи / Date of issue", "Дата выдачи / Date of issue", true},
                    LabelCase{"Фамилия / Surmame", "Фамилия / Surname", true},
                    LabelCase{"Имя", "Имя", true}, LabelCase{"Им", "Имя", false}, LabelCase{"Имв", "Имя", false},
                    LabelCase{"Полу", "Пол", false}, LabelCase{"Дата рождения", "Дата выдачи", false},
                    LabelCase{"Место жительства", "Место рождения", false},
                    LabelCase{"ПЕТРОВСКАЯ", "Фамилия", false}));

struct NumberCase
{
    const char *reading;
    const char *number;
};

class LicenceNumber : public testing::TestWithParam<NumberCase>
{
};

TEST_P(LicenceNumber, ReadsTheFieldNumbersOnly)
{
    const NumberCase c = GetParam();
    EXPECT_EQ(printed::LicenceNumber(QString::fromUtf8(c.reading)).toStdString(), std::string(c.number))
        << "\"" << c.reading << "\"";
}

INSTANTIATE_TEST_SUITE_P(Readings, LicenceNumber,
                         testing::Values(NumberCase{"1.", "1"}, NumberCase{"4a)", "4a"}, NumberCase{"4а)", "4a"},
                                         NumberCase{"4b)", "4b"}, NumberCase{"4с)", "4c"}, NumberCase{"5.", "5"},
                                         NumberCase{"9,", "9"}, NumberCase{"4)", ""}, NumberCase{"99", ""},
                                         NumberCase{"1", ""}, NumberCase{"B1", ""}, NumberCase{"2a)", ""},
                                         NumberCase{"1988", ""}));

// A form of two columns, as OCR gives it: words with their boxes in lines.
printed::OcrWord Word(const char *text, int x, int y, int height)
{
    printed::OcrWord w;
    w.text = QString::fromUtf8(text);
    w.box = QRect(x, y, int(w.text.size()) * height * 2 / 3, height);
    return w;
}

printed::OcrLine Line(std::vector<printed::OcrWord> words)
{
    printed::OcrLine l;
    for (const auto &w : words)
        l.box = l.box.united(w.box);
    l.words = std::move(words);
    return l;
}

QString ValueText(const std::vector<printed::ValueLine> &value)
{
    QStringList lines;
    for (const auto &l : value)
        lines << l.Text();
    return lines.join(QLatin1Char('|'));
}

TEST(LabelValues, ComeFromWhereTheLabelPoints)
{
    // Labels above values in two columns; a label left of its value; a value
    // of two lines ended by the next label; a value whose row holds the other
    // column's value.
    const std::vector<printed::OcrLine> lines = {
        Line({Word("Фамилия", 100, 100, 12), Word("Пол", 600, 100, 12)}),
        Line({Word("ИВАНОВ", 100, 120, 22), Word("МУЖ.", 600, 120, 22)}),
        Line({Word("Место", 100, 170, 12), Word("рождения", 160, 170, 12)}),
        Line({Word("ГОР.", 100, 190, 22), Word("ЛУГОВСК", 160, 190, 22), Word("Дата", 600, 195, 12),
              Word("выдачи", 650, 195, 12)}),
        Line({Word("ЗАРЕЧНОЙ", 100, 225, 22), Word("ОБЛ.", 260, 225, 22), Word("01.02.2003", 600, 225, 22)}),
        Line({Word("Имя", 100, 270, 12), Word("ИВАН", 400, 264, 22)}),
    };
    const auto hits = printed::FindLabels(lines, DocumentKind::InternalPassport);
    auto valueOf = [&](LabelRole role) {
        for (const auto &h : hits)
            if (h.role == role)
                return ValueText(printed::ValueOf(h, hits, lines, DocumentKind::InternalPassport, 3)).toStdString();
        return std::string("no label");
    };
    EXPECT_EQ(valueOf(LabelRole::Surname), "ИВАНОВ");
    EXPECT_EQ(valueOf(LabelRole::Sex), "МУЖ.");
    EXPECT_EQ(valueOf(LabelRole::BirthPlace), "ГОР. ЛУГОВСК|ЗАРЕЧНОЙ ОБЛ.");
    EXPECT_EQ(valueOf(LabelRole::IssueDate), "01.02.2003");
    EXPECT_EQ(valueOf(LabelRole::GivenName), "ИВАН");
}

} // namespace
