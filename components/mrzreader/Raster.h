#pragma once
// Grey rasters the reader works on: a box-averaged reduction of the page for
// the search, and sub-pixel sampling of the page for the characters.

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace mrz {

struct GrayImage
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; ///< row-major, stride == width

    std::uint8_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

/// How a colour pixel becomes grey: its luma, as the eye sees it, or its
/// brightest channel. The zone is printed in black: under the brightest
/// channel coloured print, stamps, security backgrounds and frames drawn
/// around the zone turn light, while the zone's ink stays dark.
enum class GreyOf { Luma, Brightest };

/// The page in a format the reader samples directly (8-bit grey or 32-bit
/// RGB); other formats are converted once.
QImage ReadableFormat(const QImage &page);

/// The page reduced by an integer factor, each pixel the mean grey of its
/// factor x factor block. page must be in ReadableFormat.
GrayImage Reduce(const QImage &page, int factor, GreyOf grey = GreyOf::Luma);

/// Grey values of the page at real positions (pixel edges at integers, so the
/// first pixel's centre is 0.5), bilinear, white (255) outside, as paper
/// beyond the page's edge. page must be in ReadableFormat and outlive the
/// sampler.
class Sampler
{
public:
    explicit Sampler(const QImage &page, GreyOf grey = GreyOf::Luma);

    /// Bilinear grey at (x, y); inline, as the reader takes millions of them.
    float At(float x, float y) const
    {
        return m_gray ? AtOf<Kind::Grey>(x, y) : m_brightest ? AtOf<Kind::Brightest>(x, y) : AtOf<Kind::Luma>(x, y);
    }
    /// Both read the same value everywhere: one page, and either grey (where
    /// the grey of a pixel is its only channel) or the same of its channels.
    bool ReadsAlike(const Sampler &other) const
    {
        return m_bits == other.m_bits && m_stride == other.m_stride && m_width == other.m_width
               && m_height == other.m_height && m_gray == other.m_gray && (m_gray || m_brightest == other.m_brightest);
    }
    /// Mean of taps x taps bilinear samples spread over a footprint of size
    /// `footprint` around (x, y) along the unit axes (ux, uy) and (vx, vy).
    float Area(float x, float y, float ux, float uy, float vx, float vy, float footprint, int taps) const;

private:
    /// How a pixel's grey is had: the page's own grey, or a colour pixel's
    /// brightest channel or luma. Chosen once per call, not per pixel.
    enum class Kind { Grey, Brightest, Luma };

    template <Kind K>
    static float PixelGrey(const uchar *line, int x)
    {
        if constexpr (K == Kind::Grey) {
            return line[x];
        } else {
            const QRgb p = reinterpret_cast<const QRgb *>(line)[x];
            if constexpr (K == Kind::Brightest)
                return float(std::max(qRed(p), std::max(qGreen(p), qBlue(p))));
            else
                return float((qRed(p) * 77 + qGreen(p) * 150 + qBlue(p) * 29) >> 8);
        }
    }

    template <Kind K>
    float AtOf(float x, float y) const
    {
        const float fx = x - 0.5f, fy = y - 0.5f;
        const float flx = std::floor(fx), fly = std::floor(fy);
        const int ix = int(flx), iy = int(fly);
        const float ax = fx - flx, ay = fy - fly;
        if (ix < 0 || iy < 0 || ix + 1 >= m_width || iy + 1 >= m_height)
            return AtAny(ix, iy, ax, ay);
        const uchar *l0 = m_bits + iy * m_stride;
        const uchar *l1 = l0 + m_stride;
        const float p00 = PixelGrey<K>(l0, ix), p01 = PixelGrey<K>(l0, ix + 1), p10 = PixelGrey<K>(l1, ix),
                    p11 = PixelGrey<K>(l1, ix + 1);
        const float top = p00 + (p01 - p00) * ax;
        const float bottom = p10 + (p11 - p10) * ax;
        return top + (bottom - top) * ay;
    }

    template <Kind K>
    float AreaOf(float x, float y, float ux, float uy, float vx, float vy, float footprint, int taps) const;

    float Pixel(int x, int y) const;
    /// At near the edges: (ix, iy) the pixel left of and above the point,
    /// (ax, ay) how far the point lies beyond it.
    float AtAny(int ix, int iy, float ax, float ay) const;

    const uchar *m_bits;
    qsizetype m_stride;
    int m_width;
    int m_height;
    bool m_gray;
    bool m_brightest;
};

} // namespace mrz
