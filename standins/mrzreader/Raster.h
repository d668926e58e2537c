#pragma once
// Grey rasters the reader works on: a box-averaged reduction of the page for
// the search, and sub-pixel sampling of the page for the characters.

#include <QImage>

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
/// first pixel's centre is 0.5), bilinear, 0 outside. page must be in
/// ReadableFormat and outlive the sampler.
class Sampler
{
public:
    explicit Sampler(const QImage &page, GreyOf grey = GreyOf::Luma);

    float At(float x, float y) const;
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
    float Pixel(int x, int y) const;

    const uchar *m_bits;
    qsizetype m_stride;
    int m_width;
    int m_height;
    bool m_gray;
    bool m_brightest;
};

} // namespace mrz
