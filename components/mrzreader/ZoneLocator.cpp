#include "ZoneLocator.h"

#include "Parallel.h"

#include "Components.h"
#include "Raster.h"

#include "Statistics.h"

#include <algorithm>
#include <iterator>
#include <cmath>
#include <numbers>

namespace mrz {

namespace {

// A mark in a frame where the rows run along x (the page turned by one of the
// search's directions).
struct Mark
{
    float x0, y0, x1, y1;
    float Cx() const { return 0.5f * (x0 + x1); }
    float Cy() const { return 0.5f * (y0 + y1); }
    float H() const { return y1 - y0; }
    float W() const { return x1 - x0; }
};

struct Row
{
    std::vector<int> marks;
    float x0 = 0, x1 = 0;   // extent along the row
    float height = 0;       // median mark height
    double a = 0, b = 0;    // centre line y = a + b x
    float YAt(float x) const { return float(a + b * x); }
};

// Rows are searched in frames turned kDirections times over half a turn, so
// a row lies within half a step (7.5 degrees) of one frame's axis; chains
// follow a little more than that.
constexpr int kDirections = 12;
constexpr float kMaxSlope = 0.16f; // 9 degrees


// Links every mark to the mark that follows it along the row, keeping only
// links that both ends agree on, and returns the chains (pieces of rows too).
std::vector<Row> Chain(const std::vector<Mark> &marks)
{
    const int n = int(marks.size());
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        order[size_t(i)] = i;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return marks[size_t(a)].x0 < marks[size_t(b)].x0; });
    std::vector<float> x0s(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        x0s[size_t(i)] = marks[size_t(order[size_t(i)])].x0;

    std::vector<int> next(size_t(n), -1), prev(size_t(n), -1);
    std::vector<float> nextCost(size_t(n), 1e30f), prevCost(size_t(n), 1e30f);
    for (int i = 0; i < n; ++i) {
        const Mark &a = marks[size_t(i)];
        const float reach = 1.6f * a.H() + 1.f;
        auto it = std::lower_bound(x0s.begin(), x0s.end(), a.x0 + 0.2f * a.W());
        for (auto k = size_t(it - x0s.begin()); k < size_t(n) && x0s[k] <= a.x1 + reach; ++k) {
            const int j = order[k];
            if (j == i)
                continue;
            const Mark &b = marks[size_t(j)];
            const float hm = std::max(a.H(), b.H());
            const float dx = b.Cx() - a.Cx();
            const float gap = b.x0 - a.x1;
            if (dx <= 0 || gap > 1.6f * hm + 1.f || gap < -0.3f * hm)
                continue;
            if (std::min(a.H(), b.H()) < 0.3f * hm)
                continue;
            const float dy = std::fabs(b.Cy() - a.Cy());
            if (dy > 0.35f * hm + kMaxSlope * dx + 0.5f)
                continue;
            const float cost = dx + 3.f * dy;
            if (cost < nextCost[size_t(i)]) {
                nextCost[size_t(i)] = cost;
                next[size_t(i)] = j;
            }
        }
    }
    for (int i = 0; i < n; ++i) {
        const int j = next[size_t(i)];
        if (j >= 0 && nextCost[size_t(i)] < prevCost[size_t(j)]) {
            prevCost[size_t(j)] = nextCost[size_t(i)];
            prev[size_t(j)] = i;
        }
    }
    std::vector<Row> rows;
    for (int i = 0; i < n; ++i) {
        if (prev[size_t(i)] >= 0 && next[size_t(prev[size_t(i)])] == i)
            continue; // not the head of a chain
        Row r;
        for (int k = i; k >= 0;) {
            r.marks.push_back(k);
            const int j = next[size_t(k)];
            k = (j >= 0 && prev[size_t(j)] == k) ? j : -1;
        }
        if (r.marks.size() < 3)
            continue;
        std::vector<float> heights;
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        r.x0 = 1e30f;
        r.x1 = -1e30f;
        for (int k : r.marks) {
            const Mark &m = marks[size_t(k)];
            heights.push_back(m.H());
            r.x0 = std::min(r.x0, m.x0);
            r.x1 = std::max(r.x1, m.x1);
            sx += m.Cx(), sy += m.Cy(), sxx += double(m.Cx()) * m.Cx(), sxy += double(m.Cx()) * m.Cy();
        }
        r.height = float(Median(heights));
        const double cnt = double(r.marks.size());
        const double den = cnt * sxx - sx * sx;
        r.b = den > 1e-9 ? (cnt * sxy - sx * sy) / den : 0.0;
        r.a = (sy - r.b * sx) / cnt;
        rows.push_back(std::move(r));
    }
    return rows;
}

// How long a stretch of a row (in characters' heights) glare or a band of
// colour may hide between two pieces that are still one row.
constexpr float kGlareGap = 5.f;

// Joins rows that continue each other across a break (a faint or broken
// character, or a patch of glare, splits a row in two).
void JoinBroken(std::vector<Row> &rows)
{
    std::sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.x0 < b.x0; });
    for (size_t i = 0; i < rows.size(); ++i) {
        for (size_t j = i + 1; j < rows.size(); ++j) {
            Row &a = rows[i];
            const Row &b = rows[j];
            const float h = std::max(a.height, b.height);
            const float gap = b.x0 - a.x1;
            if (gap < -1.f * h || gap > kGlareGap * h)
                continue;
            // Heights differ between pieces of letters and pieces of fillers.
            if (std::fabs(a.YAt(b.x0) - b.YAt(b.x0)) > 0.4f * h || std::fabs(a.height - b.height) > 0.5f * h)
                continue;
            // A short piece has no slope of its own worth keeping.
            if (a.marks.size() < 8 || b.marks.size() < 8) {
                const Row &longer = a.marks.size() >= b.marks.size() ? a : b;
                const double slope = longer.b;
                const float ax0 = a.x0, bx1 = b.x1;
                const double ymid = longer.YAt(0.5f * (ax0 + bx1));
                a.b = slope;
                a.a = ymid - slope * 0.5 * (ax0 + bx1);
                a.x1 = std::max(a.x1, b.x1);
                a.height = longer.height;
                a.marks.insert(a.marks.end(), b.marks.begin(), b.marks.end());
                rows.erase(rows.begin() + std::ptrdiff_t(j));
                --j;
                continue;
            }
            const float span0 = a.x1 - a.x0, span1 = b.x1 - b.x0;
            a.b = (a.b * span0 + b.b * span1) / (span0 + span1);
            const float mid = 0.5f * (a.x0 + b.x1);
            const double ymid = 0.5 * (a.YAt(a.x0) + b.YAt(b.x1));
            a.a = ymid - a.b * mid;
            a.x1 = b.x1;
            a.marks.insert(a.marks.end(), b.marks.begin(), b.marks.end());
            rows.erase(rows.begin() + std::ptrdiff_t(j));
            --j;
        }
    }
}

struct Group
{
    std::vector<const Row *> rows;
    double score;
};

bool Parallel(const Row &a, const Row &b)
{
    const float h = std::max(a.height, b.height);
    const float spanA = a.x1 - a.x0, spanB = b.x1 - b.x0;
    if (std::fabs(a.b - b.b) > 0.035 || std::fabs(a.height - b.height) > 0.4f * h)
        return false;
    // Rows of a zone are equally long, but the search may miss a few characters
    // at either end of one; they must overlap for most of their length.
    const float overlap = std::min(a.x1, b.x1) - std::max(a.x0, b.x0);
    return overlap > 0.7f * std::max(spanA, spanB) && std::fabs(a.x0 - b.x0) < 6.f * h;
}

float Spacing(const Row &a, const Row &b)
{
    const float mid = 0.5f * (a.x0 + a.x1);
    return b.YAt(mid) - a.YAt(mid);
}

std::vector<Group> Groups(const std::vector<Row> &rows)
{
    std::vector<const Row *> sorted;
    for (const Row &r : rows)
        sorted.push_back(&r);
    std::sort(sorted.begin(), sorted.end(),
              [](const Row *a, const Row *b) { return a->YAt(0.5f * (a->x0 + a->x1)) < b->YAt(0.5f * (b->x0 + b->x1)); });
    std::vector<Group> groups;
    auto spacingOk = [](const Row &a, const Row &b, float s) {
        const float h = std::max(a.height, b.height);
        return s > 1.15f * h && s < 3.2f * h;
    };
    for (size_t i = 0; i < sorted.size(); ++i) {
        for (size_t j = i + 1; j < sorted.size(); ++j) {
            const Row &a = *sorted[i], &b = *sorted[j];
            const float s1 = Spacing(a, b);
            if (!Parallel(a, b) || !spacingOk(a, b, s1))
                continue;
            const double pairScore = double(a.marks.size() + b.marks.size());
            groups.push_back({{&a, &b}, pairScore});
            for (size_t k = j + 1; k < sorted.size(); ++k) {
                const Row &c = *sorted[k];
                const float s2 = Spacing(b, c);
                if (!Parallel(b, c) || !spacingOk(b, c, s2) || std::fabs(s2 - s1) > 0.25f * s1)
                    continue;
                groups.push_back({{&a, &b, &c}, pairScore + double(c.marks.size())});
            }
        }
    }
    std::sort(groups.begin(), groups.end(), [](const Group &a, const Group &b) { return a.score > b.score; });
    return groups;
}

} // namespace

int SearchFactor(QSize page)
{
    const int longSide = std::max(page.width(), page.height());
    return std::max(1, longSide / 1100);
}

std::vector<ZoneCandidate> LocateZones(const QImage &page, int maxCandidates, float inkRatio, int minContrast,
                                       int surroundings, int strokeRadius)
{
    const int factor = SearchFactor(page.size());
    const GrayImage small = Reduce(page, factor, GreyOf::Brightest);
    if (small.width < 16 || small.height < 16)
        return {};
    const int window = std::max(15, std::max(small.width, small.height) / std::max(1, surroundings)) | 1;
    const std::vector<std::uint8_t> mask =
        strokeRadius > 0 ? StrokeMask(small, strokeRadius, minContrast) : DarkMask(small, window, inkRatio, minContrast);
    const Labelled labelled = LabelComponents(mask, small.width, small.height);
    // A row of a zone holds at least 30 characters, so its characters are at
    // most a fourteenth of the picture's long side high (a picture of the zone
    // alone); larger marks are pictures, frames and blocks of colour.
    const float maxSize = std::min(float(std::min(small.width, small.height)),
                                   float(std::max(small.width, small.height)) / 14.f);
    // Marks no frame could keep are left out once: a mark up to maxSize high
    // and four times as wide has no box side beyond 3.6 maxSize at any angle.
    std::vector<int> kept;
    for (size_t i = 0; i < labelled.blobs.size(); ++i) {
        const Blob &b = labelled.blobs[i];
        if (b.area >= 3 && std::max(b.Width(), b.Height()) >= 3 && std::min(b.Width(), b.Height()) <= 3.6f * maxSize + 2.f)
            kept.push_back(int(i));
    }

    // Each direction's candidates on a core of its own, gathered in the
    // order of the directions.
    std::vector<std::vector<ZoneCandidate>> found(kDirections);
    ForEach(size_t(kDirections), [&](size_t direction, int) {
        const int d = int(direction);
        std::vector<ZoneCandidate> &out = found[direction];
        // Marks in a frame turned so that rows at this direction run along x;
        // a mark's box in the frame is measured from its runs' corners.
        const double angle = d * std::numbers::pi / kDirections;
        const float c = float(std::cos(angle)), s = float(std::sin(angle));
        std::vector<Mark> marks;
        marks.reserve(kept.size());
        for (int i : kept) {
            Mark m{1e30f, 1e30f, -1e30f, -1e30f};
            for (int k = labelled.first[size_t(i)]; k < labelled.first[size_t(i) + 1]; ++k) {
                const Run &r = labelled.runs[size_t(k)];
                for (const float y : {float(r.y), float(r.y + 1)})
                    for (const float x : {float(r.x0), float(r.x1)}) {
                        const float fx = x * c + y * s, fy = y * c - x * s;
                        m.x0 = std::min(m.x0, fx), m.x1 = std::max(m.x1, fx);
                        m.y0 = std::min(m.y0, fy), m.y1 = std::max(m.y1, fy);
                    }
            }
            if (m.H() < 3.f || m.H() > maxSize || m.W() > 4.f * m.H() + 2.f)
                continue;
            marks.push_back(m);
        }
        std::vector<Row> rows = Chain(marks);
        JoinBroken(rows);
        std::erase_if(rows, [](const Row &r) {
            return r.marks.size() < 8 || r.x1 - r.x0 < 12.f * r.height || std::fabs(r.b) > kMaxSlope;
        });
        auto toPage = [&](float x, float y) {
            return QPointF((double(x) * c - double(y) * s) * factor, (double(x) * s + double(y) * c) * factor);
        };
        for (const Group &g : Groups(rows)) {
            ZoneCandidate cand;
            // Of the same rows found in two neighbouring frames, the frame that
            // runs closer along them sees them better.
            double lean = 0;
            for (const Row *r : g.rows)
                lean = std::max(lean, std::fabs(r->b));
            cand.score = g.score - lean;
            // All rows span the zone's full length: the union of what was found.
            // The characters share one size: a row of fillers has lower marks,
            // so the tallest row's height stands for all.
            float x0 = 1e30f, x1 = -1e30f, height = 0;
            for (const Row *r : g.rows)
                x0 = std::min(x0, r->x0), x1 = std::max(x1, r->x1), height = std::max(height, r->height);
            for (const Row *r : g.rows)
                cand.lines.push_back({toPage(x0, r->YAt(x0)), toPage(x1, r->YAt(x1)), double(height) * factor,
                                      int(r->marks.size())});
            out.push_back(std::move(cand));
        }
    });
    std::vector<ZoneCandidate> out;
    for (std::vector<ZoneCandidate> &f : found)
        std::move(f.begin(), f.end(), std::back_inserter(out));
    std::sort(out.begin(), out.end(), [](const ZoneCandidate &a, const ZoneCandidate &b) { return a.score > b.score; });
    // The same rows are found once per frame at most, but a pair may come back
    // inside a triple; a pair is kept, since the triple may hold a foreign row.
    std::vector<ZoneCandidate> distinct;
    for (ZoneCandidate &c : out) {
        bool same = false;
        for (const ZoneCandidate &d : distinct) {
            if (d.lines.size() != c.lines.size())
                continue;
            // Neighbouring frames find the same rows, perhaps in the other
            // order and from the other end: rows are the same by their middles.
            bool all = true;
            for (const ZoneLine &l : c.lines) {
                const QPointF mid = (l.start + l.end) / 2;
                bool any = false;
                for (const ZoneLine &k : d.lines) {
                    const QPointF other = (k.start + k.end) / 2;
                    any = any || std::hypot(mid.x() - other.x(), mid.y() - other.y()) < l.height;
                }
                all = all && any;
            }
            same = same || all;
        }
        if (same)
            continue;
        distinct.push_back(std::move(c));
        if (int(distinct.size()) >= maxCandidates)
            break;
    }
    return distinct;
}

} // namespace mrz
