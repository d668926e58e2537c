// The test-page generator's truth against its pictures: wherever rotation,
// keystone, aspect change, photographs and crops put the zone, the corners the
// truth gives must hold the zone's ink; crops state their characters' height;
// pages without a zone say so and still carry text.

#include "PageGenerator.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLineF>

#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

using mrzpages::Capture;
using mrzpages::PageRecipe;

namespace {

struct Case
{
    const char *name;
    Capture capture;
    const char *format;
    double rotation;
    double keystone;
    int keystoneSide;
    double aspect;
    bool extras; // glare on the zone, colour background and an annotation frame
};

const Case kCases[] = {
    {"scan turned 37 degrees", Capture::Scan, "TD3", 37, 0, 0, 1.0, false},
    {"scan turned 211 degrees", Capture::Scan, "TD1", 211, 0, 0, 1.02, true},
    {"photo, far top edge", Capture::Camera, "TD3", 8, 0.15, 0, 1.0, false},
    {"photo, far left edge, turned", Capture::Camera, "TD2", 118, 0.15, 3, 0.9, true},
    {"photo, far right edge, upside down", Capture::Camera, "TD1", 183, 0.1, 1, 1.1, true},
    {"zone alone, upright", Capture::ZoneOnly, "TD3", 0, 0.05, 2, 1.0, false},
    {"zone alone, quarter turn", Capture::ZoneOnly, "TD1", 92, 0.03, 0, 0.95, true},
    {"zone alone, any angle", Capture::ZoneOnly, "TD2", 301, 0, 0, 1.0, false},
};

PageRecipe RecipeOf(const Case &c, double contrast)
{
    PageRecipe r;
    r.format = QString::fromLatin1(c.format);
    r.capture = c.capture;
    r.dpi = c.capture == Capture::Camera ? 150 : 200;
    r.a4 = c.capture == Capture::Scan;
    r.rotation = c.rotation;
    r.keystone = c.keystone;
    r.keystoneSide = c.keystoneSide;
    r.aspect = c.aspect;
    r.blur = 0.4;
    r.noise = 3;
    r.light = 0.2;
    r.cropMargin = 0.5;
    r.glare = c.extras ? 0.5 : 0;
    r.glareOnZone = c.extras;
    r.colourBackground = c.extras;
    r.annotationFrame = c.extras;
    r.contrast = contrast;
    return r;
}

mrzpages::Page Draw(const PageRecipe &recipe, std::uint64_t seed = 11)
{
    mrzpages::Random rng(seed);
    const specimens::MrzData data = mrzpages::RandomData(recipe.format, rng);
    return mrzpages::MakePage(recipe, data, rng);
}

// The zone's ink alone: the page drawn twice from the same seed, once with the
// zone printed in the paper's colour, and the pixels that differ.
std::vector<QPoint> ZoneInk(const Case &c)
{
    const QImage with = Draw(RecipeOf(c, 1.0)).image.convertToFormat(QImage::Format_Grayscale8);
    const QImage without = Draw(RecipeOf(c, 0.0)).image.convertToFormat(QImage::Format_Grayscale8);
    std::vector<QPoint> ink;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (std::abs(int(with.constScanLine(y)[x]) - int(without.constScanLine(y)[x])) > 60)
                ink.emplace_back(x, y);
    return ink;
}

// Distance of p below the zone's top edge, in pixels (the rows run parallel
// to it even when keystone makes the zone's sides converge).
double Down(const QPolygonF &zone, QPointF p)
{
    const QLineF top(zone[0], zone[1]);
    const QPointF down = QPointF(-top.dy(), top.dx()) / top.length();
    return QPointF::dotProduct(p - zone[0], down);
}

} // namespace

TEST(MrzPages, TheZoneCornersHoldTheZonesInkUnderEveryTransform)
{
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        const mrzpages::Page page = Draw(RecipeOf(c, 1.0));
        const QPolygonF &zone = page.truth.zone;
        ASSERT_EQ(zone.size(), 4);
        ASSERT_GT(page.truth.charPx, 4);
        const std::vector<QPoint> ink = ZoneInk(c);
        ASSERT_GT(ink.size(), 200u);
        // Every ink pixel inside the corners, give or take the blur's spread and
        // the printer's jitter; the corners themselves near the ink (a zone
        // drawn too large would pass the first check alone).
        const double slack = 0.2 * page.truth.charPx + 2;
        int outside = 0;
        for (const QPoint &p : ink)
            outside += zone.containsPoint(p, Qt::OddEvenFill) ? 0 : 1;
        if (outside) {
            int far = 0;
            for (const QPoint &p : ink) {
                if (zone.containsPoint(p, Qt::OddEvenFill))
                    continue;
                double nearest = 1e9;
                for (int i = 0; i < 4; ++i) {
                    const QLineF edge(zone[i], zone[(i + 1) % 4]);
                    const QPointF d = QPointF(edge.dx(), edge.dy()) / edge.length();
                    const double t = std::clamp(QPointF::dotProduct(QPointF(p) - edge.p1(), d), 0.0, edge.length());
                    nearest = std::min(nearest, QLineF(QPointF(p), edge.p1() + d * t).length());
                }
                far += nearest > slack ? 1 : 0;
            }
            EXPECT_EQ(far, 0) << "ink pixels beyond the zone's corners";
        }
        for (const QPointF &corner : zone) {
            double nearest = 1e9;
            for (const QPoint &p : ink)
                nearest = std::min(nearest, QLineF(corner, QPointF(p)).length());
            EXPECT_LT(nearest, 1.2 * page.truth.charPx) << "a corner away from the ink";
        }
    }
}

TEST(MrzPages, ZoneCropsStateTheHeightOfTheirCharacters)
{
    for (const Case &c : kCases) {
        if (c.capture != Capture::ZoneOnly)
            continue;
        SCOPED_TRACE(c.name);
        const mrzpages::Page page = Draw(RecipeOf(c, 1.0));
        const std::vector<QPoint> ink = ZoneInk(c);
        ASSERT_FALSE(ink.empty());
        // The first row's ink along the zone's height: a run of occupied pixel
        // steps from the top edge down to the first gap.
        std::vector<int> rows(size_t(2 * QLineF(page.truth.zone[0], page.truth.zone[3]).length()) + 8, 0);
        for (const QPoint &p : ink) {
            const double d = Down(page.truth.zone, p) + 4;
            if (d >= 0 && d < double(rows.size()))
                ++rows[size_t(d)];
        }
        const auto first = std::find_if(rows.begin(), rows.end(), [](int n) { return n > 2; });
        const auto gap = std::find_if(first, rows.end(), [](int n) { return n <= 2; });
        const double height = double(gap - first);

        EXPECT_NEAR(height, page.truth.charPx, std::max(2.5, 0.15 * page.truth.charPx));
        // A crop: the characters take at most half the picture's side across
        // the rows, and a good share of it when the zone lies square.
        const QLineF side(page.truth.zone[0], page.truth.zone[3]);
        const double across = std::abs(side.dy()) > std::abs(side.dx()) ? page.image.height() : page.image.width();
        EXPECT_LE(page.truth.charPx, 0.5 * across);
        if (std::abs(std::remainder(c.rotation, 90.0)) < 10) {
            EXPECT_GE(page.truth.charPx, 0.08 * across);
        }
    }
}

TEST(MrzPages, PagesWithoutAZoneHaveNoZoneInTheirTruth)
{
    for (const Capture capture : {Capture::Scan, Capture::Camera}) {
        SCOPED_TRACE(int(capture));
        PageRecipe r;
        r.capture = capture;
        r.hasZone = false;
        r.rotation = capture == Capture::Camera ? 20 : 0;
        r.dpi = 150;
        r.a4 = false;
        const mrzpages::Page page = Draw(r);
        EXPECT_TRUE(page.truth.zone.isEmpty());
        EXPECT_TRUE(page.truth.lines.isEmpty());
        const QJsonObject json = mrzpages::TruthJson(page.truth);
        EXPECT_FALSE(json.value(QStringLiteral("has_zone")).toBool(true));
        EXPECT_TRUE(json.value(QStringLiteral("lines")).toArray().isEmpty());
        // The rows a zone would fill carry ordinary text instead: the bottom
        // fifth of the card has dark print.
        const QImage g = page.image.convertToFormat(QImage::Format_Grayscale8);
        int dark = 0;
        for (int y = 0; y < g.height(); ++y)
            for (int x = 0; x < g.width(); ++x)
                dark += g.constScanLine(y)[x] < 90 ? 1 : 0;
        EXPECT_GT(dark, 500);
    }
}

TEST(MrzPages, TheRealWorldMixHasEveryConditionAndTheScanMixNone)
{
    int camera = 0, crops = 0, negatives = 0, anyAngle = 0, steep = 0, glare = 0, colour = 0, frames = 0;
    const int n = 400;
    for (int i = 0; i < n; ++i) {
        mrzpages::Random scanRng(5 * 1000003ULL + std::uint64_t(i)), worldRng(i);
        PageRecipe r = mrzpages::RandomRecipe(scanRng);
        const PageRecipe scan = r;
        EXPECT_EQ(scan.capture, Capture::Scan);
        EXPECT_EQ(scan.rotation, 0);
        EXPECT_EQ(scan.keystone, 0);
        mrzpages::RandomConditions(r, worldRng);
        camera += r.capture == Capture::Camera ? 1 : 0;
        crops += r.capture == Capture::ZoneOnly ? 1 : 0;
        negatives += r.hasZone ? 0 : 1;
        anyAngle += std::fmod(r.rotation + 360.0, 90.0) > 15 && std::fmod(r.rotation + 360.0, 90.0) < 75 ? 1 : 0;
        steep += r.keystone > 0.1 ? 1 : 0;
        EXPECT_LE(r.keystone, 0.15);
        EXPECT_TRUE(r.hasZone || r.capture != Capture::ZoneOnly) << "a crop around no zone";
        EXPECT_TRUE(r.hasZone || !r.annotationFrame);
        glare += r.glareOnZone ? 1 : 0;
        colour += r.colourBackground ? 1 : 0;
        frames += r.annotationFrame ? 1 : 0;
    }
    for (const int count : {camera, crops, anyAngle, steep, glare, colour, frames})
        EXPECT_GT(count, n / 25);
    EXPECT_GT(negatives, n / 50);
    EXPECT_LT(negatives, n / 5);
}

TEST(MrzPages, PicturesFromTheFieldAreTheSameOnEveryDraw)
{
    // Surfaces, glare and crops draw from the page's own streams only, so a
    // set kept on disk and one drawn afresh agree.
    for (int index : {0, 1, 2, 3, 4, 5}) {
        SCOPED_TRACE(index);
        const mrzpages::Page a = mrzpages::MakeSetPage(77, index, 150, mrzpages::SetMix::RealWorld);
        const mrzpages::Page b = mrzpages::MakeSetPage(77, index, 150, mrzpages::SetMix::RealWorld);
        EXPECT_EQ(a.truth.lines, b.truth.lines);
        EXPECT_EQ(a.truth.zone, b.truth.zone);
        EXPECT_EQ(a.image, b.image);
    }
}
