#include "imaging/QuarterTurn.h"

#include "platform/PageImage.h"
#include "platform/RowBands.h"

#include <QColorSpace>
#include <QTransform>
#include <algorithm>
#include <cstdint>

namespace imaging {

namespace {

// Pixels are moved in square tiles: a tile's rows in the source and its
// columns in the turned picture stay in the cache together.
constexpr int Tile = 64;

/// Turns the rows [from, to) of `out` from `in`, for a turn of `Quarters`
/// quarter turns clockwise: each row of the turned picture is a column of
/// the source (or, half round, a row read backwards).
template <typename Pixel, int Quarters>
void TurnRows(const QImage &in, uchar *outBits, qsizetype outStride, int outWidth, int from, int to)
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
                // The source pixel that lands at (tx, y), and the step to the
                // one that lands next along the row.
                const uchar *from0;
                qsizetype step;
                if constexpr (Quarters == 1) {
                    from0 = inBits + (h - 1 - tx) * inStride + qsizetype(y) * qsizetype(sizeof(Pixel));
                    step = -inStride;
                } else if constexpr (Quarters == 2) {
                    from0 = inBits + (h - 1 - y) * inStride + qsizetype(w - 1 - tx) * qsizetype(sizeof(Pixel));
                    step = -qsizetype(sizeof(Pixel));
                } else {
                    from0 = inBits + qsizetype(tx) * inStride + qsizetype(w - 1 - y) * qsizetype(sizeof(Pixel));
                    step = inStride;
                }
                for (int x = tx; x < xEnd; ++x, from0 += step)
                    line[x] = *reinterpret_cast<const Pixel *>(from0);
            }
        }
    }
}

template <typename Pixel>
void TurnRows(const QImage &in, uchar *outBits, qsizetype outStride, int outWidth, int quarters, int from, int to)
{
    switch (quarters) {
    case 1: TurnRows<Pixel, 1>(in, outBits, outStride, outWidth, from, to); break;
    case 2: TurnRows<Pixel, 2>(in, outBits, outStride, outWidth, from, to); break;
    default: TurnRows<Pixel, 3>(in, outBits, outStride, outWidth, from, to); break;
    }
}

} // namespace

QImage QuarterTurned(const QImage &picture, int clockwise)
{
    const int depth = picture.depth();
    if (clockwise % 90 != 0 || picture.isNull())
        return picture.transformed(QTransform().rotate(clockwise));
    const int quarters = (clockwise / 90 % 4 + 4) % 4;
    if (quarters == 0)
        return picture;
    const bool odd = quarters % 2 == 1;
    if (depth != 8 && depth != 32) {
        QImage out = picture.transformed(QTransform().rotate(quarters * 90));
        out.setColorSpace(picture.colorSpace());
        out.setDotsPerMeterX(odd ? picture.dotsPerMeterY() : picture.dotsPerMeterX());
        out.setDotsPerMeterY(odd ? picture.dotsPerMeterX() : picture.dotsPerMeterY());
        return out;
    }
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
