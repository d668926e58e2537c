#include "LineGrid.h"

#include "Statistics.h"

#include <algorithm>
#include <cmath>

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

    std::vector<std::uint8_t> mask = DarkMask(strip, int(kStripHeight * 2.5) | 1, 0.72f, 20);
    // Only the band of this row: characters of the rows above and below that
    // reach into the strip must not join its characters.
    const int bandTop = std::max(0, int(strip.height / 2.0 - 0.85 * kStripHeight));
    const int bandBottom = std::min(strip.height, int(strip.height / 2.0 + 0.85 * kStripHeight) + 1);
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

RowGrid FitRow(const RowMarks &row, int count, double pitch, QPointF fillerOffset)
{
    RowGrid grid;
    std::vector<Blob> marks = row.marks;
    if (marks.size() < 6 || pitch <= 0 || count < 2)
        return grid;
    // Fillers are the only low characters, and their box does not sit in the
    // middle of their cell: their centres are moved by the glyph's own offset,
    // so that a row of many fillers does not tilt or stretch the grid.
    std::vector<double> heights;
    for (const Blob &b : marks)
        heights.push_back(b.Height());
    std::sort(heights.begin(), heights.end());
    const double tall = 0.8 * heights[size_t(double(heights.size() - 1) * 0.9)];
    double p = row.pitch > 0 ? row.pitch : pitch;
    auto cx = [&](const Blob &b) { return b.Cx() - (b.Height() < tall ? fillerOffset.x() * p : 0.0); };
    auto cy = [&](const Blob &b) { return b.Cy() - (b.Height() < tall ? fillerOffset.y() * p : 0.0); };
    // Marks wider than a character are characters run together with a line of
    // the background; their centres would pull the grid, so they only count
    // for the extent of the row.
    std::vector<double> widths;
    for (const Blob &b : marks)
        widths.push_back(b.Width());
    const double typicalWidth = Median(widths);
    double x0 = cx(marks.front());
    std::vector<int> index(marks.size());
    for (int round = 0; round < 8; ++round) {
        // Count the cells from mark to mark, so that a small error of the pitch
        // does not add up along the row.
        // The strip starts one character height before the row's first
        // character, which places the first mark even when the first few
        // characters left no mark. Pieces of one broken character share a cell.
        index[0] = std::max(0, int(std::lround((cx(marks[0]) - kStripHeight - 0.45 * p) / p)));
        for (size_t k = 1; k < marks.size(); ++k)
            index[k] = index[k - 1] + std::max(0, int(std::lround((cx(marks[k]) - cx(marks[k - 1])) / p)));
        for (int iter = 0; iter < 3; ++iter) {
            std::vector<double> is, xs;
            for (size_t k = 0; k < marks.size(); ++k) {
                const double off = (cx(marks[k]) - x0) / p - index[k];
                const bool clean = marks[k].Width() <= 1.4 * typicalWidth + 1;
                // After the first pass, marks far off their cell are left out.
                if (clean && (iter == 0 || std::fabs(off) < 0.2)) {
                    is.push_back(index[k]);
                    xs.push_back(cx(marks[k]));
                }
            }
            if (is.size() < 4)
                return grid;
            const Line l = FitLine(is, xs);
            if (l.b <= 0)
                return grid;
            x0 = l.a, p = l.b;
        }
        const int lo = *std::min_element(index.begin(), index.end());
        const int hi = *std::max_element(index.begin(), index.end());
        if (hi - lo <= count - 1) {
            // Keep the cells where the marks put them, within the row.
            if (hi > count - 1)
                x0 += (hi - (count - 1)) * p;
            else if (lo < 0)
                x0 += lo * p;
            break;
        }
        // More marks than characters: drop the end mark that stands further off.
        if (marks.size() < 8)
            return grid;
        const double gapFront = marks[1].Cx() - marks[0].Cx();
        const double gapBack = marks.back().Cx() - marks[marks.size() - 2].Cx();
        if (gapFront > gapBack)
            marks.erase(marks.begin());
        else
            marks.pop_back();
        index.resize(marks.size());
        x0 = cx(marks.front());
    }

    // Across the row: the capitals' top and the baseline around a centre line
    // fitted through every mark.
    std::vector<double> xs, ys;
    for (const Blob &b : marks)
        xs.push_back(cx(b)), ys.push_back(cy(b));
    const Line centre = FitLine(xs, ys);
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
    for (int i = 0; i < count; ++i) {
        const double x = x0 + p * i;
        const double y = centre.a + centre.b * x + offset;
        grid.cells.push_back({row.frame.ToPage(x / row.scale, y / row.scale)});
    }
    grid.ok = true;
    return grid;
}

} // namespace mrz
