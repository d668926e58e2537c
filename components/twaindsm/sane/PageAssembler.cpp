#include "PageAssembler.h"

#include "RgbToBgr.h"

#include "platform/GlobalMemory.h"
#include "platform/DibBounds.h"
#include "MultiTWAIN.h" // the bitmap header record only

#include <algorithm>
#include <cmath>
#include <cstring>

namespace twainsane {

namespace {

using InfoHeader = TWAIN_BITMAPINFOHEADER;

int channelOf(SANE_Frame format)
{
    switch (format) {
    case SANE_FRAME_RED: return 2; // a DIB pixel is blue, green, red
    case SANE_FRAME_GREEN: return 1;
    case SANE_FRAME_BLUE: return 0;
    default: return -1;
    }
}

bool singleColour(SANE_Frame format)
{
    return channelOf(format) >= 0;
}

/// Bytes of a row that hold pixels.
std::size_t usedBytes(int bits, std::size_t width)
{
    return bits == 1 ? (width + 7) / 8 : bits == 8 ? width : 3 * width;
}

uint32_t tableSize(int bits)
{
    return bits == 1 ? 2u : bits == 8 ? 256u : 0u;
}

std::size_t headerAndTable(int bits)
{
    return sizeof(InfoHeader) + 4u * tableSize(bits);
}

void writeHeader(uint8_t *dib, int bits, int width, int lines, std::size_t stride, double dpi)
{
    const auto ppm = static_cast<int32_t>(std::lround(std::max(dpi, 0.0) / 0.0254));
    const InfoHeader header{40, width, lines, 1, uint16_t(bits), 0, uint32_t(stride * std::size_t(lines)),
                            ppm, ppm, 0, 0};
    std::memcpy(dib, &header, sizeof header);
    const uint32_t entries = tableSize(bits);
    for (uint32_t i = 0; i < entries; ++i) {
        const auto level = uint8_t(entries == 2 ? i * 255 : i);
        const uint8_t entry[4] = {level, level, level, 0};
        std::memcpy(dib + sizeof header + 4 * i, entry, 4);
    }
}

/// Sample `index` of a line of `depth`-bit samples, scaled to 0..255.
inline uint8_t sample(const uint8_t *line, std::size_t index, int depth)
{
    switch (depth) {
    case 1: return (line[index / 8] & (0x80u >> (index % 8))) ? 255 : 0;
    case 16: {
        uint16_t v;
        std::memcpy(&v, line + 2 * index, 2);
        return uint8_t(v >> 8);
    }
    default: return line[index];
    }
}

} // namespace

PageAssembler::~PageAssembler()
{
    reset();
}

int PageAssembler::DibBitsFor(const SANE_Parameters &frame)
{
    if (frame.pixels_per_line <= 0 || frame.bytes_per_line <= 0 || frame.lines == 0 || frame.lines < -1)
        return 0;
    // Nothing the layer would take: checked before any size is worked out.
    if (frame.pixels_per_line > twain::MaxDibSide || frame.lines > twain::MaxDibSide)
        return 0;
    if (frame.depth != 1 && frame.depth != 8 && frame.depth != 16)
        return 0;
    const int samples = frame.format == SANE_FRAME_RGB ? 3 : 1;
    // A line must hold its pixels.
    const uint64_t needed = (uint64_t(frame.pixels_per_line) * uint64_t(samples) * uint64_t(frame.depth) + 7) / 8;
    if (uint64_t(frame.bytes_per_line) < needed)
        return 0;
    switch (frame.format) {
    case SANE_FRAME_GRAY: return frame.depth == 1 ? 1 : 8;
    case SANE_FRAME_RGB:
    case SANE_FRAME_RED:
    case SANE_FRAME_GREEN:
    case SANE_FRAME_BLUE: return 24;
    default: return 0;
    }
}

void PageAssembler::reset()
{
    if (m_block) {
        GlobalUnlock(m_block);
        GlobalFree(m_block);
    }
    m_block = nullptr;
    m_pixels = nullptr;
    m_grown.clear();
    m_grown.shrink_to_fit();
    m_carry.clear();
    m_started = false;
    m_tooLong = false;
    m_bits = 0;
    m_line = 0;
    m_maxLine = 0;
    m_expected = 0;
    m_consumed = 0;
}

PageAssembler::Begin PageAssembler::beginFrame(const SANE_Parameters &frame)
{
    const int bits = DibBitsFor(frame);
    if (bits == 0)
        return Begin::Refused;
    if (m_started) {
        // Later frames carry the other colours of a colour page begun by a
        // single-colour frame; a page begun otherwise has no room for them.
        if (!singleColour(m_frame.format) || !singleColour(frame.format) || frame.pixels_per_line != m_width
            || frame.lines != m_frame.lines || frame.depth != m_frame.depth)
            return Begin::Refused;
    } else {
        m_width = frame.pixels_per_line;
        m_bits = bits;
        m_lines = frame.lines;
        m_stride = (std::size_t(m_width) * std::size_t(bits) + 31) / 32 * 4;
        m_rowBytes = usedBytes(bits, std::size_t(m_width));
        if (m_lines > 0) {
            const std::size_t size = headerAndTable(bits) + m_stride * std::size_t(m_lines);
            // Colour pages of single-colour frames start black, so a missing
            // frame leaves its channel dark instead of undefined.
            m_block = GlobalAlloc(singleColour(frame.format) ? GHND : GMEM_MOVEABLE, size);
            auto *dib = static_cast<uint8_t *>(GlobalLock(m_block));
            if (!dib) {
                GlobalFree(m_block);
                m_block = nullptr;
                return Begin::NoMemory;
            }
            m_pixels = dib + headerAndTable(bits);
        }
        m_started = true;
    }
    m_frame = frame;
    m_channel = channelOf(frame.format);
    m_line = 0;
    m_carry.clear();
    if (frame.lines > 0)
        m_expected += uint64_t(frame.bytes_per_line) * uint64_t(frame.lines);
    return Begin::Ok;
}

uint8_t *PageAssembler::row(int y)
{
    if (m_lines > 0)
        return y < m_lines ? m_pixels + std::size_t(m_lines - 1 - y) * m_stride : nullptr;
    if (y >= twain::MaxDibSide) {
        m_tooLong = true;
        return nullptr;
    }
    const std::size_t need = std::size_t(y + 1) * m_stride;
    if (m_grown.size() < need) {
        // Grown in steps, so a long page is not copied line by line.
        if (m_grown.capacity() < need)
            m_grown.reserve(std::min(std::max(need, m_grown.capacity() * 2),
                                     std::size_t(twain::MaxDibSide) * m_stride));
        m_grown.resize(need, 0);
    }
    return m_grown.data() + std::size_t(y) * m_stride;
}

void PageAssembler::convertLine(const uint8_t *line)
{
    uint8_t *dst = row(m_line);
    if (!dst)
        return; // more lines than announced, or than a DIB may have
    // The padding first: the block is not cleared, and may hold an earlier page.
    std::memset(dst + m_rowBytes, 0, m_stride - m_rowBytes);
    const std::size_t w = std::size_t(m_width);
    const int depth = m_frame.depth;
    if (m_frame.format == SANE_FRAME_GRAY) {
        if (depth == 1) {
            const std::size_t bytes = (w + 7) / 8;
            for (std::size_t i = 0; i < bytes; ++i)
                dst[i] = uint8_t(~line[i]);
            if (w % 8)
                dst[bytes - 1] &= uint8_t(0xFFu << (8 - w % 8));
        } else if (depth == 8) {
            std::memcpy(dst, line, w);
        } else {
            for (std::size_t x = 0; x < w; ++x)
                dst[x] = sample(line, x, depth);
        }
    } else if (m_frame.format == SANE_FRAME_RGB) {
        if (depth == 8) {
            RgbToBgr(line, dst, w);
        } else {
            for (std::size_t x = 0; x < w; ++x)
                for (std::size_t c = 0; c < 3; ++c)
                    dst[3 * x + 2 - c] = sample(line, 3 * x + c, depth);
        }
    } else {
        for (std::size_t x = 0; x < w; ++x)
            dst[3 * x + std::size_t(m_channel)] = sample(line, x, depth);
    }
    ++m_line;
    m_maxLine = std::max(m_maxLine, m_line);
}

void PageAssembler::feed(const uint8_t *data, std::size_t length)
{
    if (!m_started)
        return;
    m_consumed += length;
    const std::size_t lineBytes = std::size_t(m_frame.bytes_per_line);
    // First the line begun by an earlier piece.
    if (!m_carry.empty()) {
        const std::size_t take = std::min(length, lineBytes - m_carry.size());
        m_carry.insert(m_carry.end(), data, data + take);
        data += take;
        length -= take;
        if (m_carry.size() < lineBytes)
            return;
        convertLine(m_carry.data());
        m_carry.clear();
    }
    while (length >= lineBytes) {
        convertLine(data);
        data += lineBytes;
        length -= lineBytes;
    }
    m_carry.assign(data, data + length);
}

TW_HANDLE PageAssembler::finishPage(double dpi)
{
    const int lines = m_maxLine;
    TW_HANDLE result = nullptr;
    if (m_started && lines > 0) {
        if (m_block) {
            // A page shorter than announced: its rows move to the bottom of
            // the block, where a DIB of that height keeps them.
            uint8_t *dib = m_pixels - headerAndTable(m_bits);
            if (lines < m_lines)
                std::memmove(m_pixels, m_pixels + std::size_t(m_lines - lines) * m_stride,
                             std::size_t(lines) * m_stride);
            writeHeader(dib, m_bits, m_width, lines, m_stride, dpi);
            GlobalUnlock(m_block);
            result = m_block;
            m_block = nullptr;
            m_pixels = nullptr;
        } else {
            result = GlobalAlloc(GMEM_MOVEABLE, headerAndTable(m_bits) + m_stride * std::size_t(lines));
            auto *dib = static_cast<uint8_t *>(GlobalLock(result));
            if (dib) {
                writeHeader(dib, m_bits, m_width, lines, m_stride, dpi);
                uint8_t *pixels = dib + headerAndTable(m_bits);
                for (int y = 0; y < lines; ++y)
                    std::memcpy(pixels + std::size_t(lines - 1 - y) * m_stride,
                                m_grown.data() + std::size_t(y) * m_stride, m_stride);
                GlobalUnlock(result);
            } else {
                GlobalFree(result);
                result = nullptr;
            }
        }
    }
    reset();
    return result;
}

} // namespace twainsane
