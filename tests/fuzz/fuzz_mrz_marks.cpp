// The zone reader's picture stages alone, on small pictures: the reduction of
// the page, the dark marks and their components and the search for rows of
// characters forming a zone; or one row drawn upright as the reader draws
// each row of a zone, its marks found and its character cells fitted. One of
// the two per input, and without the reading of the characters (their own
// target), a picture takes milliseconds. Beyond "no crash": a reduced pixel
// lies within its block, a dark mark is darker than the paper by the
// contrast asked for, the components account for every mark, a zone lies on
// the page with two or three rows, and fitted cells follow each other
// along the row at a pitch that changes steadily.
//
// Input: one byte of options (bit 0 grey pixels instead of black and white,
// bit 1 a page of 32-bit pixels, bit 7 one row instead of a page), one byte
// of width / 4 - 4, one byte of scales (bits 0-1 the picture's magnification
// - 1). A page: options bits 2-3 which of the reader's ideas of ink, bits 4-5
// the candidate zones - 1, scales bits 2-3 a reduction of the page - 1. A
// row: options bits 2-3 its characters (12, 30, 36, 44), bit 4 read from the
// right; then one byte of its slope and one of its characters' height. Then
// the picture's rows: one bit per pixel, or for grey four bits per pixel.
#include "FuzzGlyphs.h"
#include "FuzzCheck.h"

#include "Components.h"
#include "GlyphBank.h"
#include "LineGrid.h"
#include "Raster.h"
#include "ZoneLocator.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

using namespace mrz;

// Larger pictures only repeat what these show, slower: a zone of small
// characters fits in a picture of 256 x 96.
constexpr int kLargestSide = 256;
constexpr int kLargestArea = 24576;

QImage Picture(int width, const uint8_t *data, size_t size, bool grey, bool colour, int scale)
{
    const size_t perRow = grey ? size_t(width) / 2 : size_t(width) / 8 + (width % 8 ? 1 : 0);
    const int height = int(std::min<size_t>({size / perRow, size_t(kLargestSide / scale),
                                             size_t(kLargestArea / (width * scale * scale))}));
    if (height < 1 || width * scale > kLargestSide)
        return {};
    QImage image(width * scale, height * scale, colour ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y) {
        const uint8_t *src = data + size_t(y / scale) * perRow;
        uchar *row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const int c = x / scale;
            const uint8_t v = grey ? uint8_t(17 * ((src[c / 2] >> (c % 2 ? 0 : 4)) & 15))
                                   : ((src[c / 8] >> (7 - c % 8)) & 1 ? 0 : 255);
            if (colour)
                reinterpret_cast<QRgb *>(row)[x] = qRgb(v, v, v);
            else
                row[x] = v;
        }
    }
    return image;
}

uint8_t Luma(const QImage &page, int x, int y)
{
    return page.format() == QImage::Format_Grayscale8
               ? page.constScanLine(y)[x]
               : uint8_t(qGray(reinterpret_cast<const QRgb *>(page.constScanLine(y))[x]));
}

void CheckReduction(const QImage &page, const GrayImage &small, int factor)
{
    const bool none = page.width() < factor || page.height() < factor;
    FUZZ_CHECK(none ? small.width == 0 && small.height == 0
                    : small.width == page.width() / factor && small.height == page.height() / factor);
    FUZZ_CHECK(small.pixels.size() == size_t(small.width) * size_t(small.height));
    // Every seventh block is enough to catch a block read from the wrong place.
    for (int i = 0; i < small.width * small.height; i += 7) {
        const int ox = i % small.width, oy = i / small.width;
        int lo = 255, hi = 0;
        for (int y = oy * factor; y < (oy + 1) * factor; ++y)
            for (int x = ox * factor; x < (ox + 1) * factor; ++x)
                lo = std::min<int>(lo, Luma(page, x, y)), hi = std::max<int>(hi, Luma(page, x, y));
        FUZZ_CHECK(small.At(ox, oy) >= lo && small.At(ox, oy) <= hi);
    }
}

void CheckMarks(const GrayImage &small, int minContrast)
{
    const std::vector<std::uint8_t> mask = DarkMask(small, 15, 0.85f, minContrast);
    FUZZ_CHECK(mask.size() == small.pixels.size());
    size_t dark = 0;
    for (size_t i = 0; i < mask.size(); ++i) {
        FUZZ_CHECK(mask[i] <= 1);
        FUZZ_CHECK(!mask[i] || small.pixels[i] + minContrast <= 255);
        dark += mask[i];
    }
    size_t area = 0;
    for (const Blob &b : Components(mask, small.width, small.height)) {
        FUZZ_CHECK(b.x0 >= 0 && b.y0 >= 0 && b.x1 <= small.width && b.y1 <= small.height);
        FUZZ_CHECK(b.x0 < b.x1 && b.y0 < b.y1);
        // Connected, so at least one pixel in every row and column of its box.
        FUZZ_CHECK(b.area >= std::max(b.Width(), b.Height()) && b.area <= b.Width() * b.Height());
        area += size_t(b.area);
    }
    FUZZ_CHECK(area == dark);
}

bool Finite(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

void CheckGrid(const RowGrid &grid, int count)
{
    if (!grid.ok)
        return;
    FUZZ_CHECK(grid.cells.size() == size_t(count) && grid.marks >= 4);
    FUZZ_CHECK(std::isfinite(grid.pitch) && grid.pitch > 0);
    FUZZ_CHECK(std::fabs(std::hypot(grid.u.x(), grid.u.y()) - 1) < 1e-6);
    FUZZ_CHECK(std::fabs(grid.u.x() * grid.v.x() + grid.u.y() * grid.v.y()) < 1e-6);
    // Along the characters' axis at a pitch that changes steadily (a page
    // seen at an angle) by at most a half from end to end, and no cell
    // further across the row from the next than a fraction of the pitch (a
    // bent page).
    double lo = 1e30, hi = 0;
    for (size_t i = 0; i < grid.cells.size(); ++i) {
        const Cell &c = grid.cells[i];
        FUZZ_CHECK(Finite(c.centre) && std::isfinite(c.pitch) && c.pitch > 0 && Finite(c.up));
        FUZZ_CHECK(std::fabs(c.up.x() * grid.v.x() + c.up.y() * grid.v.y() - 1) < 1e-6);
        lo = std::min(lo, c.pitch), hi = std::max(hi, c.pitch);
        if (i == 0)
            continue;
        const QPointF d = c.centre - grid.cells[i - 1].centre;
        const double along = d.x() * grid.u.x() + d.y() * grid.u.y(), across = d.x() * grid.v.x() + d.y() * grid.v.y();
        FUZZ_CHECK(along > 0.7 * grid.pitch && along < 1.3 * grid.pitch && std::fabs(across) < 0.2 * grid.pitch);
    }
    FUZZ_CHECK(hi <= 1.5 * lo * (1 + 1e-9));
    if (grid.cells.size() >= 3) {
        // The change of pitch is the same from cell to cell.
        const double change = grid.cells[1].pitch - grid.cells[0].pitch;
        for (size_t i = 2; i < grid.cells.size(); ++i)
            FUZZ_CHECK(std::fabs(grid.cells[i].pitch - grid.cells[i - 1].pitch - change) < 1e-6 * grid.pitch);
    }
}

// One row drawn upright, as the reader draws each row of a zone, its marks
// found and its cells fitted: the row starts a character's height into the
// picture, at its middle, and runs across it at the slope given (or back
// from its right edge), for at most 14 characters: the strip the reader
// draws is some 1500 samples per character, and the cells of a longer row
// are fitted as those of a shorter one.
void CheckRow(const QImage &page, int scale, uint8_t options, uint8_t slope, uint8_t height, const GlyphBank &bank)
{
    const double h = (3.0 + height / 16.0) * scale;
    const double length = std::min(page.width() - 2 * h, 14 * h);
    if (length < 6 * h)
        return;
    const double angle = (slope - 128) / 128.0 * 0.15;
    QPointF u(std::cos(angle), std::sin(angle)), first(h, page.height() / 2.0);
    if (options & 16)
        u = -u, first.setX(page.width() - h);
    const Sampler sampler(page);
    const RowMarks row = MeasureRow(sampler, first, u, length, h);
    FUZZ_CHECK(row.scale > 0 && std::isfinite(row.scale));
    FUZZ_CHECK(row.pitch == 0 || (row.pitch > 0 && row.marks.size() >= 6));
    for (size_t i = 1; i < row.marks.size(); ++i)
        FUZZ_CHECK(row.marks[i - 1].Cx() <= row.marks[i].Cx());
    if (row.pitch <= 0)
        return;
    static const int kCount[4] = {12, 30, 36, 44};
    const int count = kCount[(options >> 2) & 3];
    const RowGrid own = FitRow(row, count, row.pitch, bank.FillerOffset());
    CheckGrid(own, count);
    // Fitted again with a slope the zone's rows share.
    if (own.ok)
        CheckGrid(FitRow(row, count, row.pitch, bank.FillerOffset(), own.slope), count);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::StartGlyphs(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    QString error;
    const GlyphBank *bank = GlyphBank::Instance(&error);
    FUZZ_CHECK(bank);
    if (size < 3)
        return 0;
    const uint8_t options = data[0], scales = data[2];
    const bool oneRow = options & 128;
    const size_t header = oneRow ? 5 : 3;
    if (size < header)
        return 0;
    const int scale = 1 + (scales & 3);
    const QImage page =
        ReadableFormat(Picture(16 + 4 * data[1], data + header, size - header, options & 1, options & 2, scale));
    if (page.isNull())
        return 0;
    if (oneRow) {
        CheckRow(page, scale, options, data[3], data[4], *bank);
        return 0;
    }
    // The reader's three ideas of ink: usual, strict, and loose for faded print.
    static const struct
    {
        float ratio;
        int contrast;
    } kInk[4] = {{0.85f, 16}, {0.72f, 16}, {0.93f, 8}, {0.85f, 16}};
    const auto ink = kInk[(options >> 2) & 3];
    const int factor = 1 + ((scales >> 2) & 3);
    const GrayImage small = Reduce(page, factor);
    CheckReduction(page, small, factor);
    CheckMarks(small, ink.contrast);

    const int candidates = 1 + ((options >> 4) & 3);
    const std::vector<ZoneCandidate> zones = LocateZones(page, candidates, ink.ratio, ink.contrast);
    FUZZ_CHECK(int(zones.size()) <= candidates);
    for (const ZoneCandidate &zone : zones) {
        FUZZ_CHECK(zone.lines.size() == 2 || zone.lines.size() == 3);
        for (const ZoneLine &l : zone.lines) {
            FUZZ_CHECK(l.marks >= 8 && l.height > 0);
            // The row's ends lie on the page, up to a character's height and
            // the row's greatest slope over its length.
            const QPointF along = l.end - l.start;
            const double off = l.height + 0.125 * std::hypot(along.x(), along.y());
            for (QPointF p : {l.start, l.end})
                FUZZ_CHECK(Finite(p) && p.x() > -off && p.y() > -off && p.x() < page.width() + off &&
                           p.y() < page.height() + off);
        }
    }
    return 0;
}
