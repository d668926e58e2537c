#include "LineGrid.h"

#include "Statistics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
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

// Cell centres along a row: x(i) = a + b i + c i^2, the pitch changing
// steadily along the row as it does on a page seen at an angle.
struct Grid
{
    double a = 0, b = 0, c = 0;
    double At(double i) const { return a + (b + c * i) * i; }
    double PitchAt(double i) const { return b + 2.0 * c * i; }
    /// The cell index (real) at position x.
    double IndexOf(double x) const
    {
        double i = (x - a) / b;
        for (int k = 0; k < 3; ++k)
            i -= (At(i) - x) / PitchAt(i);
        return i;
    }
    Grid From(int first) const { return {At(first), PitchAt(first), c}; }
};

Grid FitGrid(const std::vector<double> &is, const std::vector<double> &xs, bool curved)
{
    if (!curved) {
        const Line l = FitLine(is, xs);
        return {l.a, l.b, 0.0};
    }
    // Least squares x = a + b i + c i^2 over centred indices, by the normal equations.
    double mean = 0;
    for (double i : is)
        mean += i;
    mean /= double(is.size());
    double s[5] = {}, t[3] = {};
    for (size_t k = 0; k < is.size(); ++k) {
        const double d = is[k] - mean;
        double p = 1;
        for (int e = 0; e < 5; ++e, p *= d)
            s[e] += p;
        t[0] += xs[k], t[1] += xs[k] * d, t[2] += xs[k] * d * d;
    }
    const double m[3][3] = {{s[0], s[1], s[2]}, {s[1], s[2], s[3]}, {s[2], s[3], s[4]}};
    auto det3 = [](const double q[3][3]) {
        return q[0][0] * (q[1][1] * q[2][2] - q[1][2] * q[2][1]) - q[0][1] * (q[1][0] * q[2][2] - q[1][2] * q[2][0]) +
               q[0][2] * (q[1][0] * q[2][1] - q[1][1] * q[2][0]);
    };
    const double det = det3(m);
    if (std::fabs(det) < 1e-9)
        return FitGrid(is, xs, false);
    double coef[3];
    for (int col = 0; col < 3; ++col) {
        double q[3][3];
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k)
                q[r][k] = k == col ? t[r] : m[r][k];
        coef[col] = det3(q) / det;
    }
    // Back from centred indices: x = A + B d + C d^2 with d = i - mean.
    const double A = coef[0], B = coef[1], C = coef[2];
    return {A - B * mean + C * mean * mean, B - 2.0 * C * mean, C};
}

// The grid near `pitch` at which the marks line up best: the longest weighted
// sum of unit vectors at the marks' phases, the positions first warped by a
// pitch that changes steadily along the row.
// No mark is counted from its neighbour, so a broken or missing character
// does not move the cells after it.
Grid FindPhase(const std::vector<double> &xs, const std::vector<double> &ws, double pitch)
{
    double lo = 1e30, hi = -1e30;
    for (double x : xs)
        lo = std::min(lo, x), hi = std::max(hi, x);
    const double mid = 0.5 * (lo + hi), span = std::max(hi - lo, pitch);
    Grid best;
    double bestLength = -1;
    std::vector<double> warped(xs.size());
    auto tryGrid = [&](int bend, double p) {
        // Pitch p (1 + g (x - mid)): the cell index runs as (x - mid - g (x - mid)^2 / 2) / p.
        const double g = 0.05 * bend / span;
        double c = 0, s = 0;
        for (size_t k = 0; k < xs.size(); ++k) {
            const double d = xs[k] - mid;
            const double a = 2.0 * std::numbers::pi * (d - 0.5 * g * d * d) / p;
            c += ws[k] * std::cos(a);
            s += ws[k] * std::sin(a);
        }
        // A bent grid fits any marks a little better: it has to earn it.
        const double length = (c * c + s * s) * (1.0 - 0.004 * std::abs(bend));
        if (length > bestLength) {
            bestLength = length;
            // Cell 0 where the warped phase is zero next to the middle;
            // x(i) ~ mid + phase + p i + g p^2 i^2 / 2 (to first order in g).
            const double phase = std::atan2(s, c) / (2.0 * std::numbers::pi) * p;
            best = {mid + phase + 0.5 * g * phase * phase, p * (1.0 + g * phase), 0.5 * g * p * p};
            return true;
        }
        return false;
    };
    // Coarse steps of the pitch and of its change (a fifth from end to end at
    // most), then the pitch finely where the best coarse grid lies.
    int bestBend = 0;
    double bestPitch = pitch;
    for (int bend = -4; bend <= 4; ++bend)
        for (int step = -25; step <= 25; ++step)
            if (tryGrid(bend, pitch * (1.0 + 0.004 * step)))
                bestBend = bend, bestPitch = pitch * (1.0 + 0.004 * step);
    for (int step = -3; step <= 3; ++step)
        tryGrid(bestBend, bestPitch * (1.0 + 0.001 * step));
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

// A page that is not flat (an open booklet) bends the row: the marks' centres
// leave the straight line by a parabola. Fitted to what the line leaves over,
// with the tilt kept (the rows of a zone share it), and again without the
// marks that stand off it (pieces of characters, background print).
struct Bend
{
    double mid = 0, c0 = 0, c2 = 0;
    double half = 0; ///< how far from the middle the marks that carry it reach
    // Beyond its marks the bend goes on straight, as it leaves them: the
    // parabola would climb ever faster over cells no mark shows (a row whose
    // end is blank or lost), and tear them off the row.
    double At(double x) const
    {
        const double d = x - mid, inside = std::clamp(d, -half, half);
        return c0 + c2 * inside * inside + 2 * c2 * inside * (d - inside);
    }
};

Bend BendOf(const std::vector<double> &xs, const std::vector<double> &ys, const Line &line)
{
    Bend bend;
    if (xs.size() < 16)
        return bend;
    double lo = 1e30, hi = -1e30;
    for (double x : xs)
        lo = std::min(lo, x), hi = std::max(hi, x);
    bend.mid = 0.5 * (lo + hi);
    bend.half = 0.5 * (hi - lo);
    std::vector<bool> use(xs.size(), true);
    for (int pass = 0; pass < 2; ++pass) {
        // Least squares r = c0 + c2 q, q = (x - mid)^2.
        double n = 0, sq = 0, sqq = 0, sr = 0, sqr = 0;
        for (size_t k = 0; k < xs.size(); ++k) {
            if (!use[k])
                continue;
            const double q = (xs[k] - bend.mid) * (xs[k] - bend.mid), r = ys[k] - line.a - line.b * xs[k];
            n += 1, sq += q, sqq += q * q, sr += r, sqr += q * r;
        }
        const double den = n * sqq - sq * sq;
        if (n < 16 || den <= 1e-9)
            return {};
        bend.c2 = (n * sqr - sq * sr) / den;
        bend.c0 = (sr - bend.c2 * sq) / n;
        for (size_t k = 0; k < xs.size(); ++k)
            use[k] = std::fabs(ys[k] - line.a - line.b * xs[k] - bend.At(xs[k])) < 0.12 * kStripHeight;
    }
    // No more than a third of a character high over the row.
    const double half = 0.5 * (hi - lo);
    if (std::fabs(bend.c2) * half * half > kStripHeight / 3)
        return {};
    return bend;
}

struct Slant
{
    double at = 0;     ///< shear at strip x = 0
    double change = 0; ///< per strip pixel along the row
};

// The slant of the characters along the row: seen at an angle, their upright
// strokes lean against the row, by an amount that changes along it. In each
// stretch of the row, the shear under which the ink's column profile is
// sharpest (the strokes stand straight), and a line through those.
Slant SlantOf(const std::vector<std::uint8_t> &mask, int width, int top, int bottom)
{
    constexpr int kSteps = 10;        // shears -0.5 .. 0.5
    constexpr double kStep = 0.05;
    const int stretch = int(6 * kStripHeight);
    const double mid = 0.5 * (top + bottom);
    std::vector<double> xs, shears, weights;
    std::vector<int> profile;
    for (int from = 0; from + stretch / 2 < width; from += stretch) {
        const int to = std::min(width, from + stretch);
        const int margin = int(0.5 * (bottom - top)) + 1;
        double best = -1, bestShear = 0;
        int ink = 0;
        for (int k = -kSteps; k <= kSteps; ++k) {
            const double shear = k * kStep;
            profile.assign(size_t(to - from + 2 * margin), 0);
            ink = 0;
            for (int y = top; y < bottom; ++y) {
                const double shift = shear * (y - mid);
                const std::uint8_t *m = &mask[size_t(y) * size_t(width)];
                for (int x = from; x < to; ++x)
                    if (m[x]) {
                        const int at = int(std::lround(x - from - shift)) + margin;
                        if (at >= 0 && at < int(profile.size()))
                            ++profile[size_t(at)], ++ink;
                    }
            }
            double sharp = 0;
            for (int c : profile)
                sharp += double(c) * c;
            if (sharp > best)
                best = sharp, bestShear = shear;
        }
        if (ink < 40)
            continue;
        xs.push_back(0.5 * (from + to));
        shears.push_back(bestShear);
        weights.push_back(ink);
    }
    if (xs.empty())
        return {};
    double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t k = 0; k < xs.size(); ++k) {
        const double w = weights[k];
        sw += w, sx += w * xs[k], sy += w * shears[k], sxx += w * xs[k] * xs[k], sxy += w * xs[k] * shears[k];
    }
    const double den = sw * sxx - sx * sx;
    Slant out;
    out.change = (xs.size() >= 3 && den > 1e-9) ? (sw * sxy - sx * sy) / den : 0.0;
    out.at = (sy - out.change * sx) / sw;
    return out;
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
    const Slant slant = SlantOf(mask, strip.width, bandTop, bandBottom);
    row.shear = slant.at;
    row.shearChange = slant.change;
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
    // A line drawn across the row (a frame around the zone, against its first
    // or last character) is thin and reaches, alone or in pieces one above
    // the other, well beyond a character's height: it is no character.
    std::vector<bool> line(marks.size(), false);
    for (size_t i = 0; i < marks.size(); ++i) {
        const Blob &a = marks[i];
        if (a.Width() > 0.25 * kStripHeight)
            continue;
        int top = a.y0, bottom = a.y1;
        for (size_t j = 0; j < marks.size(); ++j) {
            const Blob &b = marks[j];
            if (j != i && b.Width() <= 0.25 * kStripHeight && std::min(a.x1, b.x1) - std::max(a.x0, b.x0) > 0)
                top = std::min(top, b.y0), bottom = std::max(bottom, b.y1);
        }
        line[i] = bottom - top > 1.4 * kStripHeight;
    }
    for (size_t i = marks.size(); i-- > 0;)
        if (line[i])
            marks.erase(marks.begin() + std::ptrdiff_t(i));
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

RowGrid FitRow(const RowMarks &row, int count, double pitch, QPointF fillerOffset, std::optional<double> slope,
               std::optional<double> firstAt)
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
    Grid g = FindPhase(xs, ws, p0);
    std::vector<int> index(all.size());
    std::vector<double> off(all.size());
    auto place = [&] {
        for (size_t k = 0; k < all.size(); ++k) {
            const double at = g.IndexOf(xs[k]);
            index[k] = int(std::lround(at));
            off[k] = at - index[k];
        }
    };
    place();
    // The grid through the whole marks that sit on it, by least squares; a
    // steadily changing pitch only when enough marks carry it.
    for (int iter = 0; iter < 3; ++iter) {
        std::vector<double> is, cs;
        for (size_t k = 0; k < all.size(); ++k)
            if (ws[k] >= 0.5 && std::fabs(off[k]) < 0.25)
                is.push_back(index[k]), cs.push_back(xs[k]);
        if (is.size() < 4)
            return grid;
        const Grid fitted = FitGrid(is, cs, is.size() >= 10);
        const auto [first, last] = std::minmax_element(is.begin(), is.end());
        const double p0first = fitted.PitchAt(*first), p0last = fitted.PitchAt(*last);
        if (std::min(p0first, p0last) < 0.8 * p0 || std::max(p0first, p0last) > 1.2 * p0)
            return grid;
        g = fitted;
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
    grid.whole = hi - lo + 1 == count;
    if (hi - lo + 1 > count) {
        // Where the zone's other rows start, if known, decides; a mark beyond
        // an end (a frame drawn against the row) might outweigh a filler.
        int bestStart = lo;
        // The distance from that start costs far more than any marks weigh.
        double bestWeight = -std::numeric_limits<double>::infinity();
        for (int s = lo; s + count - 1 <= hi; ++s) {
            double w = 0;
            for (size_t k : onGrid)
                w += (index[k] >= s && index[k] < s + count) ? ws[k] : 0.0;
            if (firstAt)
                w -= 1000.0 * std::fabs(g.At(s) - *firstAt) / g.PitchAt(s);
            if (w > bestWeight)
                bestWeight = w, bestStart = s;
        }
        lo = bestStart;
        hi = bestStart + count - 1;
    } else {
        // Fewer cells hold marks than the row has characters (faint ones at an
        // end): the row's start as the search found it (one character height
        // into the strip) places them.
        const double p = g.PitchAt(lo);
        const int first = int(std::lround((g.At(lo) - (firstAt ? *firstAt : kStripHeight + 0.45 * p)) / p));
        // Where the zone's other rows start, when known, may also drop a mark
        // before that start: the edge of a crop or a frame's corner against
        // the row, which the span of its marks alone takes for a character.
        lo -= std::clamp(first, firstAt ? -1 : 0, count - 1 - (hi - lo));
    }
    std::vector<Blob> marks;
    std::vector<double> markXs;
    for (size_t k : onGrid)
        if (index[k] >= lo && index[k] < lo + count)
            marks.push_back(all[k]), markXs.push_back(xs[k]);
    if (marks.size() < 4)
        return grid;
    g = g.From(lo);
    // A page seen at an angle changes the pitch by a fifth or so from one end
    // of a row to the other; a grid that changes it by half or more over the
    // cells placed beyond its marks is no row of a zone.
    const double firstPitch = g.PitchAt(0), lastPitch = g.PitchAt(count - 1);
    if (!(firstPitch > 0 && lastPitch > 0) || std::max(firstPitch, lastPitch) > 1.5 * std::min(firstPitch, lastPitch))
        return grid;

    // Across the row: the capitals' top and the baseline around a centre line
    // fitted through every mark.
    std::vector<double> ys;
    for (const Blob &b : marks)
        ys.push_back(cy(b));
    Line centre = FitLine(markXs, ys);
    {
        // How far the row's own slope may be off: its standard error.
        double sxx = 0, srr = 0, mean = 0;
        for (double x : markXs)
            mean += x;
        mean /= double(markXs.size());
        for (size_t k = 0; k < ys.size(); ++k) {
            const double r = ys[k] - centre.a - centre.b * markXs[k];
            sxx += (markXs[k] - mean) * (markXs[k] - mean), srr += r * r;
        }
        grid.slopeError = sxx > 0 && ys.size() > 2 ? std::sqrt(srr / double(ys.size() - 2) / sxx) : 1.0;
    }
    if (slope) {
        std::vector<double> intercepts;
        for (size_t k = 0; k < ys.size(); ++k)
            intercepts.push_back(ys[k] - *slope * markXs[k]);
        centre = {Median(intercepts), *slope};
    }
    // The row was found along the strip: a centre line that climbs steeply
    // across it rests on a few marks that are no row (a fifth is some eleven
    // degrees, far beyond what the search leaves).
    if (!(std::fabs(centre.b) <= 0.2))
        return grid;
    const Bend bend = BendOf(markXs, ys, centre);
    auto centreAt = [&](double x) { return centre.a + centre.b * x + bend.At(x); };
    std::vector<double> tops, bottoms;
    for (const Blob &b : marks) {
        if (b.Height() < tall)
            continue;
        const double c = centreAt(b.Cx());
        tops.push_back(b.y0 - c);
        bottoms.push_back(b.y1 - c);
    }
    const double offset = 0.5 * (Median(tops) + Median(bottoms));

    const QPointF u = row.frame.u, v = row.frame.v;
    QPointF ud = u + centre.b * v;
    ud /= std::hypot(ud.x(), ud.y());
    grid.u = ud;
    grid.v = QPointF(-ud.y(), ud.x());
    grid.pitch = (g.At(count - 1) - g.At(0)) / (count - 1) / row.scale;
    grid.slope = centre.b;
    grid.marks = int(marks.size());
    for (int i = 0; i < count; ++i) {
        const double x = g.At(i);
        const double y = centreAt(x) + offset;
        // Along the upright strokes, one unit across the row.
        QPointF up = v + (row.shear + row.shearChange * x) * u;
        up /= up.x() * grid.v.x() + up.y() * grid.v.y();
        grid.cells.push_back({row.frame.ToPage(x / row.scale, y / row.scale), g.PitchAt(i) / row.scale, up});
    }
    grid.ok = true;
    return grid;
}

} // namespace mrz
