#include "Components.h"

#include "Parallel.h"

#include <algorithm>
#include <numeric>

namespace mrz {

std::vector<std::uint8_t> DarkMask(const GrayImage &image, int window, float ratio, int minContrast)
{
    const int w = image.width, h = image.height;
    std::vector<std::uint8_t> mask(size_t(w) * size_t(h), 0);
    if (w == 0 || h == 0)
        return mask;
    // Integral image with one extra row and column of zeros.
    const size_t iw = size_t(w) + 1;
    std::vector<std::uint32_t> integral(iw * (size_t(h) + 1), 0);
    for (int y = 0; y < h; ++y) {
        std::uint32_t row = 0;
        const std::uint8_t *src = &image.pixels[size_t(y) * size_t(w)];
        std::uint32_t *dst = &integral[(size_t(y) + 1) * iw + 1];
        const std::uint32_t *above = dst - iw;
        for (int x = 0; x < w; ++x) {
            row += src[x];
            dst[x] = above[x] + row;
        }
    }
    const int r = std::max(1, window / 2);
    const std::int64_t scaled = std::int64_t(ratio * 1024.f);
    // Bands of rows on the cores, for a page's worth of pixels.
    const int bands = size_t(w) * size_t(h) >= (size_t(1) << 18) ? std::min(Workers(), h) : 1;
    ForEach(size_t(bands), [&](size_t band, int) {
    for (int y = int(h * band / size_t(bands)), end = int(h * (band + 1) / size_t(bands)); y < end; ++y) {
        const int ya = std::max(0, y - r), yb = std::min(h, y + r + 1);
        const std::uint32_t *ta = &integral[size_t(ya) * iw];
        const std::uint32_t *tb = &integral[size_t(yb) * iw];
        const std::uint8_t *src = &image.pixels[size_t(y) * size_t(w)];
        std::uint8_t *dst = &mask[size_t(y) * size_t(w)];
        // Dark: v < ratio * mean and mean - v >= minContrast, compared as
        // v * count against the window's sum, without a division per pixel.
        for (int x = 0; x < w; ++x) {
            const int xa = std::max(0, x - r), xb = std::min(w, x + r + 1);
            const std::int64_t sum = std::int64_t(tb[xb]) - tb[xa] - ta[xb] + ta[xa];
            const std::int64_t count = std::int64_t(xb - xa) * (yb - ya);
            const std::int64_t vc = std::int64_t(src[x]) * count;
            dst[x] = (vc * 1024 < sum * scaled && sum - vc >= minContrast * count) ? 1 : 0;
        }
    }
    });
    return mask;
}

namespace {

// Running maximum or minimum over 2 radius + 1 pixels along rows (step 1) or
// columns (step width) of a w x h image.
template <typename Pick>
std::vector<std::uint8_t> Running(const std::vector<std::uint8_t> &in, int w, int h, int radius, bool alongRows, Pick pick)
{
    std::vector<std::uint8_t> out(in.size());
    const int lines = alongRows ? h : w, length = alongRows ? w : h;
    const size_t step = alongRows ? 1 : size_t(w), next = alongRows ? size_t(w) : 1;
    for (int l = 0; l < lines; ++l) {
        const size_t base = size_t(l) * next;
        for (int i = 0; i < length; ++i) {
            std::uint8_t v = in[base + size_t(i) * step];
            for (int k = std::max(0, i - radius), e = std::min(length - 1, i + radius); k <= e; ++k)
                v = pick(v, in[base + size_t(k) * step]);
            out[base + size_t(i) * step] = v;
        }
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> StrokeMask(const GrayImage &image, int radius, int minContrast)
{
    const int w = image.width, h = image.height;
    const auto lighter = [](std::uint8_t a, std::uint8_t b) { return std::max(a, b); };
    const auto darker = [](std::uint8_t a, std::uint8_t b) { return std::min(a, b); };
    std::vector<std::uint8_t> closed = Running(image.pixels, w, h, radius, true, lighter);
    closed = Running(closed, w, h, radius, false, lighter);
    closed = Running(closed, w, h, radius, true, darker);
    closed = Running(closed, w, h, radius, false, darker);
    std::vector<std::uint8_t> mask(image.pixels.size());
    for (size_t i = 0; i < mask.size(); ++i)
        mask[i] = int(closed[i]) - int(image.pixels[i]) >= minContrast ? 1 : 0;
    return mask;
}

namespace {

int Find(std::vector<int> &parent, int a)
{
    while (parent[size_t(a)] != a) {
        parent[size_t(a)] = parent[size_t(parent[size_t(a)])];
        a = parent[size_t(a)];
    }
    return a;
}

void Unite(std::vector<int> &parent, int a, int b)
{
    a = Find(parent, a);
    b = Find(parent, b);
    if (a != b)
        parent[size_t(std::max(a, b))] = std::min(a, b);
}

} // namespace

std::vector<Blob> Components(const std::vector<std::uint8_t> &mask, int width, int height)
{
    return LabelComponents(mask, width, height).blobs;
}

Labelled LabelComponents(const std::vector<std::uint8_t> &mask, int width, int height)
{
    // Runs of dark pixels per row, joined with the overlapping runs of the row
    // above (8-connected: touching diagonally counts).
    std::vector<Run> runs;
    std::vector<size_t> rowStart(size_t(height) + 1, 0);
    for (int y = 0; y < height; ++y) {
        rowStart[size_t(y)] = runs.size();
        const std::uint8_t *m = &mask[size_t(y) * size_t(width)];
        for (int x = 0; x < width;) {
            if (!m[x]) {
                ++x;
                continue;
            }
            const int s = x;
            while (x < width && m[x])
                ++x;
            runs.push_back({y, s, x});
        }
    }
    rowStart[size_t(height)] = runs.size();
    std::vector<int> parent(runs.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (int y = 1; y < height; ++y) {
        size_t a = rowStart[size_t(y) - 1];
        const size_t aEnd = rowStart[size_t(y)];
        for (size_t b = rowStart[size_t(y)]; b < rowStart[size_t(y) + 1]; ++b) {
            while (a < aEnd && runs[a].x1 < runs[b].x0)
                ++a;
            for (size_t k = a; k < aEnd && runs[k].x0 <= runs[b].x1; ++k)
                Unite(parent, int(k), int(b));
        }
    }
    std::vector<int> index(runs.size(), -1);
    std::vector<int> owner(runs.size());
    std::vector<Blob> blobs;
    for (size_t i = 0; i < runs.size(); ++i) {
        const int root = Find(parent, int(i));
        int &slot = index[size_t(root)];
        const Run &r = runs[i];
        if (slot < 0) {
            slot = int(blobs.size());
            blobs.push_back({r.x0, r.y, r.x1, r.y + 1, 0});
        }
        Blob &b = blobs[size_t(slot)];
        b.x0 = std::min(b.x0, r.x0);
        b.x1 = std::max(b.x1, r.x1);
        b.y0 = std::min(b.y0, r.y);
        b.y1 = std::max(b.y1, r.y + 1);
        b.area += r.x1 - r.x0;
        owner[i] = slot;
    }
    // The runs grouped by their component (a counting sort keeps row order).
    Labelled out;
    out.first.assign(blobs.size() + 1, 0);
    for (int o : owner)
        ++out.first[size_t(o) + 1];
    for (size_t k = 1; k < out.first.size(); ++k)
        out.first[k] += out.first[k - 1];
    out.runs.resize(runs.size());
    std::vector<int> fill(out.first.begin(), out.first.end() - 1);
    for (size_t i = 0; i < runs.size(); ++i)
        out.runs[size_t(fill[size_t(owner[i])]++)] = runs[i];
    out.blobs = std::move(blobs);
    return out;
}

} // namespace mrz
