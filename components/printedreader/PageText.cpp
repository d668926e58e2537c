#include "PageText.h"

#include "MrzReader.h"

#include <tesseract/baseapi.h>

#include <algorithm>
#include <cmath>

namespace printed {

namespace {

// Pictures smaller than a line of text hold nothing to read.
constexpr int kSmallestSide = 16;

// The lines' median height, less what the slant adds to a line's box.
double MedianHeight(const std::vector<QRect> &boxes, double radians)
{
    std::vector<double> h;
    const double slant = std::abs(std::sin(radians));
    for (const QRect &b : boxes)
        if (b.height() >= 4 && b.width() >= b.height())
            h.push_back(std::max(0.5 * b.height(), b.height() - b.width() * slant));
    if (h.empty())
        return 0;
    std::nth_element(h.begin(), h.begin() + h.size() / 2, h.end());
    return h[h.size() / 2];
}

} // namespace

PageText ReadPageText(tesseract::TessBaseAPI &api, const QImage &page, DocumentKind kind, const mrz::MrzResult *zone)
{
    PageText out;
    if (page.isNull() || std::min(page.width(), page.height()) < kSmallestSide)
        return out;
    if (zone && zone->found)
        out.page = PlaceByZone(page, kind, *zone);
    if (out.page.grey.isNull()) {
        // No zone to place it by: the layout's lines tell the text's size
        // and slant.
        out.page = Reduced(page);
        if (out.page.grey.isNull())
            return out;
        SetPicture(api, out.page.grey);
        const Layout layout = AnalyseLayout(api);
        const double scale = ScaleFor(MedianHeight(layout.lines, layout.deskewRadians));
        // Tesseract's angle turns the picture level in its own sense of
        // rotation (y upwards), the opposite of the picture's.
        const double radians = std::abs(layout.deskewRadians) > 0.004 && std::abs(layout.deskewRadians) < 0.2
                                   ? -layout.deskewRadians
                                   : 0.0;
        if (radians != 0.0 || std::abs(scale - 1.0) > 0.15) {
            out.page = Adjusted(out.page, radians, scale);
            if (out.page.grey.isNull())
                return out;
        }
    }
    SetPicture(api, out.page.grey);
    out.lines = ReadLines(api);
    return out;
}

} // namespace printed
