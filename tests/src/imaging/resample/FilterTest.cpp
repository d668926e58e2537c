// The kernels at their break points, their support, and the filter table.
#include "imaging/engResample.h"

#include <gtest/gtest.h>
#include <cmath>
#include <string>

namespace {

TEST(ResampleFilter, BoxIsHalfOpenOnTheSignedDistance)
{
    EXPECT_EQ(BoxFilter(0.5f), 1.0f);
    EXPECT_EQ(BoxFilter(-0.5f), 0.0f);
    EXPECT_EQ(BoxFilter(0.0f), 1.0f);
    EXPECT_EQ(BoxFilter(std::nextafter(-0.5f, 0.0f)), 1.0f);
    EXPECT_EQ(BoxFilter(std::nextafter(0.5f, 1.0f)), 0.0f);
}

TEST(ResampleFilter, ValuesAtTheBreakPoints)
{
    EXPECT_EQ(TriangleFilter(0.0f), 1.0f);
    EXPECT_EQ(TriangleFilter(0.25f), 0.75f);
    EXPECT_EQ(TriangleFilter(-0.25f), 0.75f);
    EXPECT_EQ(TriangleFilter(1.0f), 0.0f);

    EXPECT_EQ(HermiteFilter(0.0f), 1.0f);
    EXPECT_EQ(HermiteFilter(0.5f), 0.5f);
    EXPECT_EQ(HermiteFilter(1.0f), 0.0f);

    EXPECT_EQ(BellFilter(0.0f), 0.75f);
    EXPECT_EQ(BellFilter(0.5f), 0.5f);  // both pieces meet here
    EXPECT_EQ(BellFilter(1.0f), 0.125f);
    EXPECT_EQ(BellFilter(1.5f), 0.0f);

    EXPECT_EQ(SplineFilter(0.0f), 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(SplineFilter(1.0f), 1.0f / 6.0f);
    EXPECT_FLOAT_EQ(SplineFilter(std::nextafter(1.0f, 0.0f)), 1.0f / 6.0f);
    EXPECT_EQ(SplineFilter(2.0f), 0.0f);

    EXPECT_EQ(Lanczos3Filter(0.0f), 1.0f);
    // sinc(1/2) * sinc(1/6) = (2/pi) * (3/pi)
    EXPECT_FLOAT_EQ(Lanczos3Filter(0.5f), static_cast<float>(6.0 / (M_PI * M_PI)));
    EXPECT_NEAR(Lanczos3Filter(1.0f), 0.0f, 1e-6f);
    EXPECT_NEAR(Lanczos3Filter(2.0f), 0.0f, 1e-6f);
    EXPECT_EQ(Lanczos3Filter(3.0f), 0.0f);
    EXPECT_LT(Lanczos3Filter(1.5f), 0.0f); // the negative lobe

    EXPECT_EQ(MitchellFilter(0.0f), static_cast<float>(16.0L / 18.0L));
    EXPECT_FLOAT_EQ(MitchellFilter(1.0f), 1.0f / 18.0f);
    EXPECT_NEAR(MitchellFilter(std::nextafter(1.0f, 0.0f)), 1.0f / 18.0f, 1e-6f);
    EXPECT_LT(MitchellFilter(1.5f), 0.0f);
    EXPECT_NEAR(MitchellFilter(std::nextafter(2.0f, 0.0f)), 0.0f, 1e-6f);
    EXPECT_EQ(MitchellFilter(2.0f), 0.0f);
}

TEST(ResampleFilter, TableNamesEachKernelWithItsSupport)
{
    const char *names[7] = {"Box", "Triangle", "Hermite", "Bell", "B-Spline", "Lanczos3", "Mitchell"};
    const TFilterProc procs[7] = {BoxFilter, TriangleFilter, HermiteFilter, BellFilter,
                                  SplineFilter, Lanczos3Filter, MitchellFilter};
    const float widths[7] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(std::string(ResampleFilters[i].Name), names[i]);
        EXPECT_EQ(ResampleFilters[i].Filter, procs[i]);
        EXPECT_EQ(ResampleFilters[i].Width, widths[i]);
    }
}

TEST(ResampleFilter, EveryKernelIsSymmetricAndVanishesAtItsWidth)
{
    for (const TResampleFilter &f : ResampleFilters) {
        SCOPED_TRACE(f.Name);
        for (float x = 0.0f; x < f.Width + 2.0f; x += 0.0625f) {
            if (f.Filter != BoxFilter || x != 0.5f) {
                EXPECT_EQ(f.Filter(x), f.Filter(-x)) << x;
            }
            if (x >= f.Width && f.Filter != BoxFilter) {
                EXPECT_EQ(f.Filter(x), 0.0f) << x;
            }
        }
        EXPECT_EQ(f.Filter(f.Width + 0.001f), 0.0f);
        EXPECT_EQ(f.Filter(-f.Width - 0.001f), 0.0f);
        EXPECT_EQ(f.Filter(1e30f), 0.0f);
    }
}

} // namespace
