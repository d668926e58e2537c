// A cell's background flattened: what lies lighter than its strokes, a band of
// colour and the gaps in it alike, becomes paper; the strokes keep their shape.

#include "Background.h"

#include <gtest/gtest.h>

using namespace mrz;

TEST(Background, WhatIsLighterThanTheStrokesBecomesPaper)
{
    // Ink values (dark = high) of a 20 x 20 cell: a stroke 4 wide, a band of
    // colour over most of the cell, and a gap in the band (paper) at its edge.
    struct Case
    {
        const char *what;
        float stroke, band, gap;
        bool flattened;
    };
    const Case cases[] = {
        {"black print over a band with a gap", 220.f, 110.f, 0.f, true},
        {"black print on paper", 220.f, 0.f, 0.f, true},
        {"a cell with no stroke above its background is left as it is", 112.f, 110.f, 0.f, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<float> cell(400);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                cell[size_t(y * 20 + x)] = x >= 8 && x < 12 ? c.stroke : x >= 16 ? c.gap : c.band;
        const std::vector<float> before = cell;
        FlattenBackground(cell);
        if (!c.flattened) {
            EXPECT_EQ(cell, before);
            continue;
        }
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const float v = cell[size_t(y * 20 + x)];
                if (x >= 8 && x < 12)
                    EXPECT_NEAR(v, c.stroke - c.band, 1e-3) << x;
                else
                    EXPECT_EQ(v, 0.f) << x;
            }
    }
}
