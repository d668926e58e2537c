#include "LineGrid.h"

#include "Statistics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace mrz {

namespace {

constexpr double kStripHeight = 24.0; // strip pixels per character height


struct Line
{
    double a = 0, b = 0; // y = a + b x
};

Line FitLine(const std::vector<double> &xs, const std::vector<double> &ys)
{
    const double n = double(xs.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < xs.size(); ++i)
        sx += xs[i], sy += ys[i], sxx += xs[i] * xs[i], sxy += xs[i] * ys[i];
    Line l;
    const double den = n * sxx - sx * sx;
    l.b = (n >= 2 && std::fabs(den) > 1e-9) ? (n * sxy - sx * sy) / den : 0.0;
    l.a = n > 0 ? (sy - l.b * sx) / n : 0.0;
    return l;
}

struct Phase
{
    double x0 = 0;    ///< centre of a cell
    double pitch = 0;
};

// The pitch near `pitch` at which the marks line up best with a regular grid,
// and the grid's phase: the longest weighted sum of unit vectors at the
// marks' phases. No mark is counted from its neighbour, so a broken or
// missing character does not move the cells after it.
Phase FindPhase(const std::vector<double> &xs, const std::vector<double> &ws, double pitch)
{
    Phase best;
    double bestLength = -1;
    for (int step = -40; step <= 40; ++step) {
        const double p = pitch * (1.0 + 0.002 * step);
        double c = 0, s = 0;
        for (size_t k = 0; k < xs.size(); ++k) {
            const double a = 2.0 * std::numbers::pi * xs[k] / p;
            c += ws[k] * std::cos(a);
            s += ws[k] * std::sin(a);
        }
        const double length = c * c + s * s;
        if (length > bestLength) {
            bestLength = length;
            best = {std::atan2(s, c) / (2.0 * std::numbers::pi) * p, p};
        }
    }
    return best;
}

struct InkThreshold
{
    float ratio;     ///< dark: below this part of the local mean
    int minContrast; ///< and at least this much below it
};

// Print at full contrast is ink at a fifth or less of the paper's brightness,
// and a pixel under 0.72 of its neighbourhood's mean is ink. Faded print, a
// worn ribbon or a light scan leave the ink much closer to the paper; the
// strokes would fall apart under that threshold, so it follows the row's own
// depth of ink: the darkest few per cent of the band against its paper.
InkThreshold InkThresholdOf(const GrayImage &strip, int top, int bottom)
{
    constexpr float kFullRatio = 0.72f;
    constexpr int kFullContrast = 20;
    constexpr double kFullDepth = 0.6; // a depth of ink at which nothing needs to adapt
    std::array<int, 256> histogram{};
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < strip.width; ++x, ++n)
            ++histogram[strip.pixels[size_t(y) * size_t(strip.width) + size_t(x)]];
    if (n == 0)
        return {kFullRatio, kFullContrast};
    const auto percentile = [&](double q) {
        const int wanted = int(q * n);
        int seen = 0;
        for (int v = 0; v < 256; ++v)
            if ((seen += histogram[size_t(v)]) > wanted)
                return v;
        return 255;
    };
    const int inkLevel = percentile(0.04), paper = percentile(0.8);
    if (paper <= 0)
        return {kFullRatio, kFullContrast};
    const double depth = double(paper - inkLevel) / paper;
    const double share = std::clamp(depth / kFullDepth, 0.25, 1.0);
    return {float(1.0 - (1.0 - kFullRatio) * share), std::max(6, int(std::lround(kFullContrast * share)))};
}

} // namespace

RowMarks MeasureRow(const Sampler &page, QPointF first, QPointF u, double length, double height)
{
    RowMarks row;
    row.scale = kStripHeight / std::max(height, 1.0);
    const QPointF v(-u.y(), u.x());
    row.frame = {first - height * u - 1.3 * height * v, u, v};
    GrayImage strip;
    strip.width = int((length + 2 * height) * row.scale);
    strip.height = int(2.6 * height * row.scale);
    if (strip.width < 8 || strip.height < 8 || strip.width > 20000)
        return row;
    strip.pixels.resize(size_t(strip.width) * size_t(strip.height));
    const float footprint = float(1.0 / row.scale);
    const int taps = std::clamp(int(std::ceil(footprint - 0.2f)), 1, 2);
    const float ux = float(u.x() / row.scale), uy = float(u.y() / row.scale);
    for (int y = 0; y < strip.height; ++y) {
        const QPointF start = row.frame.ToPage(0.5 / row.scale, (y + 0.5) / row.scale);
        float px = float(start.x()), py = float(start.y());
        std::uint8_t *dst = &strip.pixels[size_t(y) * size_t(strip.width)];
        for (int x = 0; x < strip.width; ++x, px += ux, py += uy) {
            const float g = page.Area(px, py, float(u.x()), float(u.y()), float(v.x()), float(v.y()), footprint, taps);
            dst[x] = std::uint8_t(std::clamp(g, 0.f, 255.f));
        }
    }

    // Only the band of this row: characters of the rows above and below that
    // reach into the strip must not join its characters.
    const int bandTop = std::max(0, int(strip.height / 2.0 - 0.85 * kStripHeight));
    const int bandBottom = std::min(strip.height, int(strip.height / 2.0 + 0.85 * kStripHeight) + 1);
    const InkThreshold ink = InkThresholdOf(strip, bandTop, bandBottom);
    std::vector<std::uint8_t> mask = DarkMask(strip, int(kStripHeight * 2.5) | 1, ink.ratio, ink.minContrast);
    std::fill(mask.begin(), mask.begin() + std::ptrdiff_t(bandTop) * strip.width, std::uint8_t(0));
    std::fill(mask.begin() + std::ptrdiff_t(bandBottom) * strip.width, mask.end(), std::uint8_t(0));
    std::vector<Blob> marks;
    const double mid = strip.height / 2.0;
    for (const Blob &b : Components(mask, strip.width, strip.height)) {
        const double h = b.Height(), w = b.Width();
        if (h < 0.3 * kStripHeight || h > 1.7 * kStripHeight || w > 2.2 * kStripHeight || b.area < 6)
            continue;
        if (std::fabs(b.Cy() - mid) > 0.65 * kStripHeight)
            continue;
        marks.push_back(b);
    }
    std::sort(marks.begin(), marks.end(), [](const Blob &a, const Blob &b) { return a.Cx() < b.Cx(); });
    if (marks.size() < 6)
        return row;
    std::vector<double> steps;
    for (size_t i = 1; i < marks.size(); ++i)
        steps.push_back(marks[i].Cx() - marks[i - 1].Cx());
    const double step = Median(steps);
    // Stray marks beyond the ends of the row stand apart from it.
    while (marks.size() > 6 && marks[1].Cx() - marks[0].Cx() > 2.2 * step)
        marks.erase(marks.begin());
    while (marks.size() > 6 && marks[marks.size() - 1].Cx() - marks[marks.size() - 2].Cx() > 2.2 * step)
        marks.pop_back();
    row.marks = std::move(marks);
    row.pitch = step;
    return row;
}

RowGrid FitRow(const RowMarks &row, int count, double pitch, QPointF fillerOffset, std::optional<double> slope)
{
    RowGrid grid;
    const std::vector<Blob> &all = row.marks;
    if (all.size() < 6 || pitch <= 0 || count < 2)
        return grid;
    // Fillers are the only low characters, and their box does not sit in the
    // middle of their cell: their centres are moved by the glyph's own offset,
    // so that a row of many fillers does not tilt or stretch the grid.
    std::vector<double> heights, widths, areas;
    for (const Blob &b : all) {
        heights.push_back(b.Height());
        widths.push_back(b.Width());
        areas.push_back(b.area);
    }
    std::sort(heights.begin(), heights.end());
    const double tall = 0.8 * heights[size_t(double(heights.size() - 1) * 0.9)];
    const double p0 = pitch;
    auto cx = [&](const Blob &b) { return b.Cx() - (b.Height() < tall ? fillerOffset.x() * p0 : 0.0); };
    auto cy = [&](const Blob &b) { return b.Cy() - (b.Height() < tall ? fillerOffset.y() * p0 : 0.0); };
    // Marks wider than a character are characters run together with a line of
    // the background, and pieces of a character broken by a coarse scan stand
    // off its centre: both count little for where the cells are.
    const double typicalWidth = Median(widths), typicalArea = std::max(1.0, Median(areas));
    std::vector<double> xs, ws;
    for (const Blob &b : all) {
        xs.push_back(cx(b));
        ws.push_back(b.Width() <= 1.4 * typicalWidth + 1 ? std::min(1.0, b.area / typicalArea) : 0.0);
    }
    const Phase phase = FindPhase(xs, ws, p0);
    double x0 = phase.x0, p = phase.pitch;
    std::vector<int> index(all.size());
    std::vector<double> off(all.size());
    auto place = [&] {
        for (size_t k = 0; k < all.size(); ++k) {
            const double at = (xs[k] - x0) / p;
            index[k] = int(std::lround(at));
            off[k] = at - index[k];
        }
    };
    place();
    // The grid through the whole marks that sit on it, by least squares.
    for (int iter = 0; iter < 2; ++iter) {
        std::vector<double> is, cs;
        for (size_t k = 0; k < all.size(); ++k)
            if (ws[k] >= 0.5 && std::fabs(off[k]) < 0.25)
                is.push_back(index[k]), cs.push_back(xs[k]);
        if (is.size() < 4)
            return grid;
        const Line l = FitLine(is, cs);
        if (l.b < 0.9 * p || l.b > 1.1 * p)
            return grid;
        x0 = l.a, p = l.b;
        place();
    }
    // The row's cells: of the cells that hold marks on the grid, the `count`
    // in a row that hold the most (stray print beyond the ends left out).
    std::vector<size_t> onGrid;
    for (size_t k = 0; k < all.size(); ++k)
        if (std::fabs(off[k]) < 0.35 && ws[k] > 0)
            onGrid.push_back(k);
    if (onGrid.size() < 4)
        return grid;
    int lo = index[onGrid.front()], hi = lo;
    for (size_t k : onGrid)
        lo = std::min(lo, index[k]), hi = std::max(hi, index[k]);
    if (hi - lo + 1 > count) {
        int bestStart = lo;
        double bestWeight = -1;
        for (int s = lo; s + count - 1 <= hi; ++s) {
            double w = 0;
            for (size_t k : onGrid)
                w += (index[k] >= s && index[k] < s + count) ? ws[k] : 0.0;
            if (w > bestWeight)
                bestWeight = w, bestStart = s;
        }
        lo = bestStart;
        hi = bestStart + count - 1;
    } else {
        // Fewer cells hold marks than the row has characters (faint ones at an
        // end): the row's start as the search found it (one character height
        // into the strip) places them.
        const int first = int(std::lround((x0 + lo * p - kStripHeight - 0.45 * p) / p));
        lo -= std::clamp(first, 0, count - 1 - (hi - lo));
    }
    std::vector<Blob> marks;
    std::vector<double> markXs;
    for (size_t k : onGrid)
        if (index[k] >= lo && index[k] < lo + count)
            marks.push_back(all[k]), markXs.push_back(xs[k]);
    if (marks.size() < 4)
        return grid;
    x0 += lo * p;

    // Across the row: the capitals' top and the baseline around a centre line
    // fitted through every mark.
    std::vector<double> ys;
    for (const Blob &b : marks)
        ys.push_back(cy(b));
    Line centre = FitLine(markXs, ys);
    if (slope) {
        std::vector<double> intercepts;
        for (size_t k = 0; k < ys.size(); ++k)
            intercepts.push_back(ys[k] - *slope * markXs[k]);
        centre = {Median(intercepts), *slope};
    }
    std::vector<double> tops, bottoms;
    for (const Blob &b : marks) {
        if (b.Height() < tall)
            continue;
        const double c = centre.a + centre.b * b.Cx();
        tops.push_back(b.y0 - c);
        bottoms.push_back(b.y1 - c);
    }
    const double offset = 0.5 * (Median(tops) + Median(bottoms));

    const QPointF u = row.frame.u, v = row.frame.v;
    QPointF ud = u + centre.b * v;
    ud /= std::hypot(ud.x(), ud.y());
    grid.u = ud;
    grid.v = QPointF(-ud.y(), ud.x());
    grid.pitch = p / row.scale;
    grid.slope = centre.b;
    grid.marks = int(marks.size());
    for (int i = 0; i < count; ++i) {
        const double x = x0 + p * i;
        const double y = centre.a + centre.b * x + offset;
        grid.cells.push_back({row.frame.ToPage(x / row.scale, y / row.scale)});
    }
    grid.ok = true;
    return grid;
}

} // namespace mrz
