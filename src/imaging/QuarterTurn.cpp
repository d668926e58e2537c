#include "imaging/QuarterTurn.h"

#include "imaging/PageImage.h"
#include "imaging/RowBands.h"

#include <QColorSpace>
#include <QTransform>
#include <algorithm>
#include <cstdint>

namespace imaging {

namespace {

// Pixels are moved in square tiles: a tile's rows in the source and its
// columns in the turned picture stay in the cache together.
constexpr int Tile = 64;

/// Turns the rows [from, to) of `out` from `in`: where each pixel of the
/// turned picture comes from, for a turn of quarter turns clockwise.
template <typename Pixel>
void TurnRows(const QImage &in, uchar *outBits, qsizetype outStride, int outWidth, int quarters, int from, int to)
{
    const int w = in.width(), h = in.height();
    const uchar *inBits = in.constBits();
    const qsizetype inStride = in.bytesPerLine();
    for (int ty = from; ty < to; ty += Tile) {
        const int yEnd = std::min(to, ty + Tile);
        for (int tx = 0; tx < outWidth; tx += Tile) {
            const int xEnd = std::min(outWidth, tx + Tile);
            for (int y = ty; y < yEnd; ++y) {
                auto *line = reinterpret_cast<Pixel *>(outBits + y * outStride);
                for (int x = tx; x < xEnd; ++x) {
                    // (sx, sy): the source pixel that lands at (x, y).
                    int sx, sy;
                    switch (quarters) {
                    case 1: sx = y, sy = h - 1 - x; break;
                    case 2: sx = w - 1 - x, sy = h - 1 - y; break;
                    default: sx = w - 1 - y, sy = x; break;
                    }
                    line[x] = reinterpret_cast<const Pixel *>(inBits + sy * inStride)[sx];
                }
            }
        }
    }
}

} // namespace

QImage QuarterTurned(const QImage &picture, int clockwise)
{
    const int depth = picture.depth();
    if (clockwise % 90 != 0 || picture.isNull() || (depth != 8 && depth != 32))
        return picture.transformed(QTransform().rotate(clockwise));
    const int quarters = (clockwise / 90 % 4 + 4) % 4;
    if (quarters == 0)
        return picture;
    const bool odd = quarters % 2 == 1;
    const int w = odd ? picture.height() : picture.width();
    const int h = odd ? picture.width() : picture.height();
    QImage out = NewPageImage(w, h, picture.format());
    if (out.isNull())
        return out;
    uchar *bits = out.bits(); // detached here, once, not in each band
    const qsizetype stride = out.bytesPerLine();
    InBands(h, [&](int, int from, int to) {
        if (depth == 8)
            TurnRows<std::uint8_t>(picture, bits, stride, w, quarters, from, to);
        else
            TurnRows<std::uint32_t>(picture, bits, stride, w, quarters, from, to);
    });
    out.setColorTable(picture.colorTable());
    out.setColorSpace(picture.colorSpace());
    out.setDotsPerMeterX(odd ? picture.dotsPerMeterY() : picture.dotsPerMeterX());
    out.setDotsPerMeterY(odd ? picture.dotsPerMeterX() : picture.dotsPerMeterY());
    return out;
}

} // namespace imaging
