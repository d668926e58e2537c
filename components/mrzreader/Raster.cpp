#include "Raster.h"

#include "Parallel.h"

#include <algorithm>
#include <cmath>

namespace mrz {

namespace {

bool Is32Bit(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

/// Adds to each block's sum the grey of the block's part of one row: the
/// row's channel sums over the block, weighted once. Factor 0: `factor`
/// pixels a block, else Factor.
template <int Factor>
void AddColourBlocks(const QRgb *px, int blocks, GreyOf grey, std::uint32_t *sums, int factor = Factor)
{
    const int k = Factor ? Factor : factor;
    const bool brightest = grey == GreyOf::Brightest;
    for (int ox = 0; ox < blocks; ++ox, px += k) {
        std::uint32_t r = 0, g = 0, b = 0;
        for (int i = 0; i < k; ++i) {
            const QRgb p = px[i];
            r += (p >> 16) & 0xff;
            g += (p >> 8) & 0xff;
            b += p & 0xff;
        }
        sums[ox] += brightest ? std::max(r, std::max(g, b)) : (r * 77 + g * 150 + b * 29) >> 8;
    }
}

} // namespace

QImage ReadableFormat(const QImage &page)
{
    if (page.format() == QImage::Format_Grayscale8 || Is32Bit(page.format()))
        return page;
    if (page.isGrayscale())
        return page.convertToFormat(QImage::Format_Grayscale8);
    return page.convertToFormat(QImage::Format_RGB32);
}

GrayImage Reduce(const QImage &page, int factor, GreyOf grey)
{
    GrayImage out;
    factor = std::max(1, factor);
    out.width = page.width() / factor;
    out.height = page.height() / factor;
    if (out.width <= 0 || out.height <= 0)
        return {};
    out.pixels.assign(size_t(out.width) * size_t(out.height), 0);
    const bool gray = page.format() == QImage::Format_Grayscale8;
    const std::uint32_t area = std::uint32_t(factor * factor);
    // Bands of rows of the reduction, each on a core.
    const int bands = std::min(Workers(), out.height);
    ForEach(size_t(bands), [&](size_t band, int) {
    std::vector<std::uint32_t> sums(size_t(out.width));
    // A grey page's blocks are their columns' sums over the block's rows,
    // taken a whole row at a time (which the compiler turns into vector
    // adds), then added across.
    std::vector<std::uint32_t> columns(gray ? size_t(out.width) * size_t(factor) : 0);
    const int firstRow = int(out.height * band / size_t(bands)), endRow = int(out.height * (band + 1) / size_t(bands));
    for (int oy = firstRow; oy < endRow; ++oy) {
        std::fill(sums.begin(), sums.end(), 0u);
        if (gray) {
            std::fill(columns.begin(), columns.end(), 0u);
            for (int dy = 0; dy < factor; ++dy) {
                const uchar *line = page.constScanLine(oy * factor + dy);
                for (size_t x = 0; x < columns.size(); ++x)
                    columns[x] += line[x];
            }
            for (int ox = 0, x = 0; ox < out.width; ++ox)
                for (int k = 0; k < factor; ++k, ++x)
                    sums[size_t(ox)] += columns[size_t(x)];
        } else {
            for (int dy = 0; dy < factor; ++dy) {
                const QRgb *px = reinterpret_cast<const QRgb *>(page.constScanLine(oy * factor + dy));
                // The factors of pages of every size up to A4 at 600 dpi
                // have loops of their own, unrolled.
                switch (factor) {
                case 2: AddColourBlocks<2>(px, out.width, grey, sums.data()); break;
                case 3: AddColourBlocks<3>(px, out.width, grey, sums.data()); break;
                case 4: AddColourBlocks<4>(px, out.width, grey, sums.data()); break;
                case 6: AddColourBlocks<6>(px, out.width, grey, sums.data()); break;
                default: AddColourBlocks<0>(px, out.width, grey, sums.data(), factor); break;
                }
            }
        }
        std::uint8_t *dst = &out.pixels[size_t(oy) * size_t(out.width)];
        for (int ox = 0; ox < out.width; ++ox)
            dst[ox] = std::uint8_t(sums[size_t(ox)] / area);
    }
    });
    return out;
}

Sampler::Sampler(const QImage &page, GreyOf grey)
    : m_bits(page.constBits()), m_stride(page.bytesPerLine()), m_width(page.width()), m_height(page.height()),
      m_gray(page.format() == QImage::Format_Grayscale8), m_brightest(grey == GreyOf::Brightest)
{
}

float Sampler::Pixel(int x, int y) const
{
    // Outside the page counts as white paper, which is what a scanner's lid shows.
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 255.f;
    const uchar *line = m_bits + y * m_stride;
    if (m_gray)
        return line[x];
    return m_brightest ? PixelGrey<Kind::Brightest>(line, x) : PixelGrey<Kind::Luma>(line, x);
}

float Sampler::AtAny(int ix, int iy, float ax, float ay) const
{
    const float top = Pixel(ix, iy) + (Pixel(ix + 1, iy) - Pixel(ix, iy)) * ax;
    const float bottom = Pixel(ix, iy + 1) + (Pixel(ix + 1, iy + 1) - Pixel(ix, iy + 1)) * ax;
    return top + (bottom - top) * ay;
}

template <Sampler::Kind K>
float Sampler::AreaOf(float x, float y, float ux, float uy, float vx, float vy, float footprint, int taps) const
{
    float sum = 0.f;
    const float step = footprint / float(taps);
    const float first = -footprint / 2.f + step / 2.f;
    for (int j = 0; j < taps; ++j) {
        const float b = first + step * float(j);
        for (int i = 0; i < taps; ++i) {
            const float a = first + step * float(i);
            sum += AtOf<K>(x + a * ux + b * vx, y + a * uy + b * vy);
        }
    }
    return sum / float(taps * taps);
}

float Sampler::Area(float x, float y, float ux, float uy, float vx, float vy, float footprint, int taps) const
{
    if (taps <= 1)
        return At(x, y);
    return m_gray        ? AreaOf<Kind::Grey>(x, y, ux, uy, vx, vy, footprint, taps)
           : m_brightest ? AreaOf<Kind::Brightest>(x, y, ux, uy, vx, vy, footprint, taps)
                         : AreaOf<Kind::Luma>(x, y, ux, uy, vx, vy, footprint, taps);
}

} // namespace mrz
