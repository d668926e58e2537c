// The cells of a row fitted to its marks: where a coarse scan breaks,
// loses or adds marks, the cells stay on the characters.

#include "LineGrid.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace mrz;

namespace {

constexpr double kPitch = 20;   // strip pixels per character
constexpr double kHeight = 24;  // the strip's character height
constexpr double kFirst = 34;   // centre of the first character: one height into the strip, half a pitch on
constexpr int kCount = 30;

Blob Mark(double cx, double width = 14, double cy = 30)
{
    const int x0 = int(std::lround(cx - width / 2)), x1 = int(std::lround(cx + width / 2));
    return {x0, int(cy - kHeight / 2), x1, int(cy + kHeight / 2), int((x1 - x0) * kHeight * 0.4)};
}

// A row of kCount characters with a mark each, on an upright strip at page scale.
RowMarks Row(std::vector<Blob> marks)
{
    RowMarks row;
    row.frame = {QPointF(0, 0), QPointF(1, 0), QPointF(0, 1)};
    row.scale = 1;
    row.pitch = kPitch;
    row.marks = std::move(marks);
    std::sort(row.marks.begin(), row.marks.end(), [](const Blob &a, const Blob &b) { return a.Cx() < b.Cx(); });
    return row;
}

std::vector<Blob> Marks(int from = 0, int to = kCount)
{
    std::vector<Blob> marks;
    for (int i = from; i < to; ++i)
        marks.push_back(Mark(kFirst + i * kPitch));
    return marks;
}

void ExpectCellsOnTheCharacters(const RowGrid &grid, double pitch = kPitch)
{
    ASSERT_TRUE(grid.ok);
    ASSERT_EQ(int(grid.cells.size()), kCount);
    for (int i = 0; i < kCount; ++i)
        EXPECT_NEAR(grid.cells[size_t(i)].centre.x(), kFirst + i * pitch, 1.0) << "cell " << i;
    EXPECT_NEAR(grid.pitch, pitch, 0.1);
}

} // namespace

TEST(RowGrid, CellsOnAWholeRow)
{
    const RowGrid grid = FitRow(Row(Marks()), kCount, kPitch * 1.03, {});
    ExpectCellsOnTheCharacters(grid);
    EXPECT_NEAR(grid.cells.front().centre.y(), 30, 0.5);
}

TEST(RowGrid, BrokenCharactersDoNotMoveTheCellsAfterThem)
{
    // Three characters each broken into two pieces half a pitch apart, as a
    // blurred coarse scan leaves thin strokes: counting from mark to mark would
    // take each piece for a character of its own.
    std::vector<Blob> marks;
    for (int i = 0; i < kCount; ++i) {
        const double c = kFirst + i * kPitch;
        if (i == 4 || i == 11 || i == 19) {
            marks.push_back(Mark(c - 5, 3));
            marks.push_back(Mark(c + 5, 3));
        } else {
            marks.push_back(Mark(c));
        }
    }
    ExpectCellsOnTheCharacters(FitRow(Row(marks), kCount, kPitch, {}));
}

TEST(RowGrid, MissingCharactersAtTheEndsAndInside)
{
    // Faint first two and last characters and a gap inside: the row's start
    // as the search found it still places the first cell.
    std::vector<Blob> marks = Marks(2, kCount - 1);
    marks.erase(marks.begin() + 10, marks.begin() + 13);
    ExpectCellsOnTheCharacters(FitRow(Row(marks), kCount, kPitch, {}));
}

TEST(RowGrid, StrayPrintBeyondTheRowIsLeftOut)
{
    // A mark of the background a pitch after the last character, and one
    // before the first: the row keeps its own kCount cells.
    std::vector<Blob> marks = Marks();
    marks.push_back(Mark(kFirst + kCount * kPitch));
    marks.push_back(Mark(kFirst + (kCount + 1) * kPitch, 10));
    ExpectCellsOnTheCharacters(FitRow(Row(marks), kCount, kPitch, {}));
}

TEST(RowGrid, APitchOffTheEstimateIsFound)
{
    // The printer's pitch 2.5 % wider than the zone's estimate.
    const double pitch = kPitch * 1.025;
    std::vector<Blob> marks;
    for (int i = 0; i < kCount; ++i)
        marks.push_back(Mark(kFirst + i * pitch));
    ExpectCellsOnTheCharacters(FitRow(Row(marks), kCount, kPitch, {}), pitch);
}

TEST(RowGrid, AGivenSlopeIsKept)
{
    // Marks scattered across the row (pieces of characters) would tilt a row
    // fitted on its own; the slope the zone's rows share is kept.
    std::vector<Blob> marks;
    for (int i = 0; i < kCount; ++i)
        marks.push_back(Mark(kFirst + i * kPitch, 14, 30 + 0.01 * (kFirst + i * kPitch) + (i % 7 == 3 ? 4 : 0)));
    const RowGrid own = FitRow(Row(marks), kCount, kPitch, {});
    const RowGrid shared = FitRow(Row(marks), kCount, kPitch, {}, 0.01);
    ASSERT_TRUE(own.ok);
    ASSERT_TRUE(shared.ok);
    EXPECT_NEAR(shared.slope, 0.01, 1e-9);
    EXPECT_GT(std::fabs(own.slope - 0.01), 1e-4);
    const double rise = shared.cells.back().centre.y() - shared.cells.front().centre.y();
    EXPECT_NEAR(rise, 0.01 * (kCount - 1) * kPitch, 0.3);
}

TEST(RowGrid, APitchThatChangesAlongTheRowIsFollowed)
{
    // A camera held at an angle: the pitch grows or shrinks steadily along the
    // row (by the given part from the first character to the last), with
    // characters missing inside and at the ends; every cell stays on its
    // character and knows the pitch where it lies.
    struct Case
    {
        double change;
        int from, to;
    };
    for (const Case c : {Case{0.15, 0, kCount}, Case{-0.15, 0, kCount}, Case{0.10, 1, kCount - 2}, Case{-0.08, 2, kCount}}) {
        std::vector<double> centres, pitches;
        double x = kFirst;
        for (int i = 0; i < kCount; ++i) {
            const double pitch = kPitch * (1.0 + c.change * (double(i) / (kCount - 1) - 0.5));
            centres.push_back(x);
            pitches.push_back(pitch);
            x += pitch;
        }
        std::vector<Blob> marks;
        for (int i = c.from; i < c.to; ++i)
            if (i != 12 && i != 13)
                marks.push_back(Mark(centres[size_t(i)]));
        const RowGrid grid = FitRow(Row(marks), kCount, kPitch, {});
        ASSERT_TRUE(grid.ok) << c.change;
        ASSERT_EQ(int(grid.cells.size()), kCount);
        for (int i = 0; i < kCount; ++i) {
            EXPECT_NEAR(grid.cells[size_t(i)].centre.x(), centres[size_t(i)], 1.0) << c.change << " cell " << i;
            EXPECT_NEAR(grid.cells[size_t(i)].pitch, pitches[size_t(i)], 0.05 * kPitch) << c.change << " cell " << i;
        }
    }
}

TEST(RowGrid, ABentRowIsFollowed)
{
    // An open booklet bends its rows: the characters' centres leave a straight
    // line by a parabola, up or down, with the row's own slope or the one the
    // zone's rows share. A bend beyond a third of a character is not a page
    // but print that does not belong to one row, and the line stays straight.
    struct Case
    {
        double sag; // strip pixels the middle of the row lies below its ends
        bool shared;
        bool followed;
    };
    for (const Case c : {Case{5, false, true}, Case{-5, false, true}, Case{4, true, true}, Case{0, true, true},
                         Case{14, false, false}}) {
        std::vector<double> ys;
        std::vector<Blob> marks;
        for (int i = 0; i < kCount; ++i) {
            const double t = (i - (kCount - 1) / 2.0) / ((kCount - 1) / 2.0);
            ys.push_back(30 + c.sag * (1 - t * t));
            marks.push_back(Mark(kFirst + i * kPitch, 14, ys.back()));
        }
        const RowGrid grid = c.shared ? FitRow(Row(marks), kCount, kPitch, {}, 0.0) : FitRow(Row(marks), kCount, kPitch, {});
        ASSERT_TRUE(grid.ok) << c.sag;
        double worst = 0;
        for (int i = 0; i < kCount; ++i)
            worst = std::max(worst, std::fabs(grid.cells[size_t(i)].centre.y() - ys[size_t(i)]));
        if (c.followed)
            EXPECT_LT(worst, 1.0) << c.sag;
        else
            EXPECT_GT(worst, 0.25 * std::fabs(c.sag)) << c.sag;
    }
}

TEST(RowGrid, WhereTheOtherRowsStartDecidesAnAmbiguousEnd)
{
    // A mark on the grid one cell beyond the row's end (a frame drawn against
    // the last character) and a light filler at the first: by weight the
    // cells would take the stray mark; where the zone's other rows start
    // keeps them on the characters. A row missing its first characters
    // starts there too.
    std::vector<Blob> stray = Marks();
    stray.front() = Mark(kFirst, 14, 30);
    stray.front().area = 20;
    stray.push_back(Mark(kFirst + kCount * kPitch, 14));
    const RowGrid byWeight = FitRow(Row(stray), kCount, kPitch, {});
    ASSERT_TRUE(byWeight.ok);
    EXPECT_NEAR(byWeight.cells.front().centre.x(), kFirst + kPitch, 1.0) << "the case must be ambiguous by weight";
    ExpectCellsOnTheCharacters(FitRow(Row(stray), kCount, kPitch, {}, std::nullopt, kFirst));

    // The stray mark before the first character instead (a crop's edge or a
    // frame's corner against it), the other rows' start found a few pixels
    // off as it is on a page: that start still decides, whether the marks
    // reach past the row's length or, its last character lost, just fill it.
    std::vector<Blob> before = Marks();
    before.back().area = 20;
    before.push_back(Mark(kFirst - kPitch, 14));
    ExpectCellsOnTheCharacters(FitRow(Row(before), kCount, kPitch, {}, std::nullopt, kFirst + 3));
    before.erase(std::find_if(before.begin(), before.end(), [](const Blob &b) { return b.area == 20; }));
    ExpectCellsOnTheCharacters(FitRow(Row(before), kCount, kPitch, {}, std::nullopt, kFirst + 3));

    const RowGrid late = FitRow(Row(Marks(4, kCount)), kCount, kPitch, {}, std::nullopt, kFirst);
    ExpectCellsOnTheCharacters(late);
    EXPECT_FALSE(late.whole);
    EXPECT_TRUE(FitRow(Row(Marks()), kCount, kPitch, {}).whole);
}

TEST(RowMarks, ALineDrawnAcrossTheRowIsNoCharacter)
{
    // Blocks the size of characters on white, and a thin line across the row
    // next to the last one, whole or broken into pieces one above the other;
    // a thin mark of a character's height (an I or a 1) stays a character.
    struct Case
    {
        const char *name;
        int lineTop, gapTop, gapBottom, lineBottom; // the line's pieces (y), a gap between them
        bool isLine;
    };
    const int h = 24, pitch = 20, n = 12, y0 = 40;
    for (const Case c : {Case{"whole line", 10, 0, 0, 90, true}, Case{"line in two pieces", 12, 48, 53, 88, true},
                         Case{"thin character", y0, 0, 0, y0 + h, false}}) {
        SCOPED_TRACE(c.name);
        QImage page(400, 130, QImage::Format_Grayscale8);
        page.fill(255);
        QPainter p(&page);
        for (int i = 0; i < n; ++i)
            p.fillRect(30 + i * pitch, y0, 13, h, Qt::black);
        const int x = 30 + n * pitch + 2;
        if (c.gapBottom > c.gapTop) {
            p.fillRect(x, c.lineTop, 3, c.gapTop - c.lineTop, Qt::black);
            p.fillRect(x, c.gapBottom, 3, c.lineBottom - c.gapBottom, Qt::black);
        } else {
            p.fillRect(x, c.lineTop, 3, c.lineBottom - c.lineTop, Qt::black);
        }
        p.end();
        const Sampler sampler(page);
        const RowMarks row = MeasureRow(sampler, QPointF(30 + 6.5, y0 + h / 2.0), QPointF(1, 0), (n + 1) * pitch, h);
        ASSERT_GE(row.marks.size(), size_t(n));
        EXPECT_EQ(row.marks.size(), size_t(c.isLine ? n : n + 1));
    }
}

TEST(RowGrid, ARowsOwnSlopeComesWithItsStandardError)
{
    // The zone's rows may keep slopes of their own (converging on a slanted
    // picture) only as far as those are sure: marks on a line leave little
    // doubt, marks scattered across the row (pieces of characters) more.
    auto fitted = [](double scatter) {
        std::vector<Blob> marks;
        for (int i = 0; i < kCount; ++i)
            marks.push_back(Mark(kFirst + i * kPitch, 14, 30 + 0.01 * i * kPitch + ((i * 7) % 5 - 2) * scatter));
        return FitRow(Row(marks), kCount, kPitch, {});
    };
    const RowGrid tidy = fitted(0), scattered = fitted(2);
    ASSERT_TRUE(tidy.ok && scattered.ok);
    EXPECT_NEAR(tidy.slope, 0.01, 2 * tidy.slopeError + 0.002);
    EXPECT_GT(scattered.slopeError, 2 * tidy.slopeError);
    EXPECT_LT(scattered.slopeError, 0.01);
}
