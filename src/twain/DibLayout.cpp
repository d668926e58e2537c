#include "DibLayout.h"

#include "twain/MultiTWAIN.h"
#include "platform/PageImage.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace twain {

namespace {

template <typename T>
T readAt(const uint8_t *p, std::size_t offset)
{
    T v;
    std::memcpy(&v, p + offset, sizeof v);
    return v;
}

bool allowedBitCount(uint16_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

/// Shift and width of one bit-field mask, for scaling its value to 0..255.
struct Channel
{
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m) : mask(m)
    {
        if (!m)
            return;
        while (!(m & 1u)) {
            m >>= 1;
            ++shift;
        }
        while (m & 1u) {
            m >>= 1;
            ++bits;
        }
    }
    int value(uint32_t pixel) const
    {
        if (!mask)
            return 0;
        const uint32_t v = (pixel & mask) >> shift;
        const uint32_t max = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1u);
        return static_cast<int>((uint64_t(v) * 255u + max / 2) / max);
    }
};

struct Masks
{
    Channel red, green, blue;
};

Masks masksOf(const DibLayout &l, const uint8_t *block)
{
    if (l.compression == TWAIN_BI_BITFIELDS) {
        const std::size_t at = l.headerSize >= 52 ? 40 : l.headerSize;
        return {Channel(readAt<uint32_t>(block, at)), Channel(readAt<uint32_t>(block, at + 4)),
                Channel(readAt<uint32_t>(block, at + 8))};
    }
    if (l.bitCount == 16)
        return {Channel(0x7C00u), Channel(0x03E0u), Channel(0x001Fu)};
    return {Channel(0x00FF0000u), Channel(0x0000FF00u), Channel(0x000000FFu)};
}

/// The colour table as 256 ready colours, black past the table's end, so
/// that any 8-bit index finds its colour without a bounds test per pixel.
using Palette = std::array<QRgb, 256>;

Palette paletteOf(const DibLayout &l, const uint8_t *block)
{
    Palette table;
    for (uint32_t i = 0; i < table.size(); ++i)
        table[i] = DibTableColour(l, block, i);
    return table;
}

bool standardMasks(const Masks &m)
{
    return m.red.mask == 0x00FF0000u && m.green.mask == 0x0000FF00u && m.blue.mask == 0x000000FFu;
}

/// Row converters: every pixel read from inside `row` (width pixels of the
/// row's bit count), every colour written once into `out`.
void convertIndexedRow(const uint8_t *row, uint32_t w, uint16_t bits, const Palette &table, QRgb *out)
{
    switch (bits) {
    case 8:
        for (uint32_t x = 0; x < w; ++x)
            out[x] = table[row[x]];
        break;
    case 4: {
        uint32_t x = 0;
        for (; x + 1 < w; x += 2, ++row) {
            out[x] = table[*row >> 4];
            out[x + 1] = table[*row & 0x0Fu];
        }
        if (x < w)
            out[x] = table[*row >> 4];
        break;
    }
    case 1: {
        uint32_t x = 0;
        for (; x + 8 <= w; x += 8, ++row) {
            const uint8_t byte = *row;
            for (uint32_t b = 0; b < 8; ++b)
                out[x + b] = table[(byte >> (7u - b)) & 1u];
        }
        for (uint32_t b = 0; x < w; ++x, ++b)
            out[x] = table[(*row >> (7u - b)) & 1u];
        break;
    }
    default:
        break;
    }
}

/// One DIB pixel (blue, green, red) as an opaque colour.
inline QRgb bgrPixel(const uint8_t *p)
{
    return 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

#if defined(__x86_64__) || defined(__i386__)
/// Sixteen pixels per step from three 16-byte loads (exactly their 48
/// bytes). Into rows of a page-sized picture the stores bypass the cache
/// (`stream`, once the target is 16-byte aligned): the picture is far larger
/// than any cache, and a store that does not first read its line saves a
/// fifth of the time. The caller fences after its last row. Answers how many
/// pixels were converted.
__attribute__((target("ssse3"))) uint32_t convertBgrRowVector(const uint8_t *row, uint32_t w, QRgb *out, bool stream)
{
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    uint32_t x = 0;
    if (stream)
        for (; x < w && (reinterpret_cast<uintptr_t>(out + x) & 15u) != 0; ++x, row += 3)
            out[x] = bgrPixel(row);
    for (; x + 16 <= w; x += 16, row += 48) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + 32));
        const __m128i pixels[4] = {
            _mm_or_si128(_mm_shuffle_epi8(a, spread), opaque),
            _mm_or_si128(_mm_shuffle_epi8(_mm_alignr_epi8(b, a, 12), spread), opaque),
            _mm_or_si128(_mm_shuffle_epi8(_mm_alignr_epi8(c, b, 8), spread), opaque),
            _mm_or_si128(_mm_shuffle_epi8(_mm_srli_si128(c, 4), spread), opaque)};
        auto *at = reinterpret_cast<__m128i *>(out + x);
        if (stream)
            for (int i = 0; i < 4; ++i)
                _mm_stream_si128(at + i, pixels[i]);
        else
            for (int i = 0; i < 4; ++i)
                _mm_storeu_si128(at + i, pixels[i]);
    }
    return x;
}

/// Rows at least this wide are a page's: streamed past the cache.
constexpr uint32_t StreamedRowPixels = 1024;

bool hasVectorShuffle()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

/// Answers whether stores bypassed the cache (the caller then fences).
bool convertBgrRow(const uint8_t *row, uint32_t w, QRgb *out, bool intoPage)
{
    uint32_t x = 0;
    bool streamed = false;
#if defined(__x86_64__) || defined(__i386__)
    // A page is some ten million pixels: the one conversion between the
    // scanner's DIB and the window's bitmap is worth doing sixteen at a time.
    if (hasVectorShuffle()) {
        streamed = intoPage && w >= StreamedRowPixels;
        x = convertBgrRowVector(row, w, out, streamed);
        row += std::size_t(x) * 3u;
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        // Four pixels from three 32-bit reads: B0 G0 R0 B1 | G1 R1 B2 G2 | R2 B3 G3 R3.
        for (; x + 4 <= w; x += 4, row += 12) {
            const uint32_t a = readAt<uint32_t>(row, 0), b = readAt<uint32_t>(row, 4), c = readAt<uint32_t>(row, 8);
            out[x] = 0xFF000000u | (a & 0x00FFFFFFu);
            out[x + 1] = 0xFF000000u | (a >> 24) | ((b & 0xFFFFu) << 8);
            out[x + 2] = 0xFF000000u | (b >> 16) | ((c & 0xFFu) << 16);
            out[x + 3] = 0xFF000000u | (c >> 8);
        }
    }
    for (; x < w; ++x, row += 3)
        out[x] = bgrPixel(row);
    return streamed;
}

void convertXrgbRow(const uint8_t *row, uint32_t w, QRgb *out)
{
    std::memcpy(out, row, std::size_t(w) * 4u);
    for (uint32_t x = 0; x < w; ++x)
        out[x] |= 0xFF000000u;
}

/// Every 16-bit value's colour, worked out once per picture instead of
/// once per pixel.
std::vector<QRgb> lookup16(const Masks &m)
{
    std::vector<QRgb> lut(65536);
    for (uint32_t p = 0; p < lut.size(); ++p)
        lut[p] = qRgb(m.red.value(p), m.green.value(p), m.blue.value(p));
    return lut;
}

void convert16Row(const uint8_t *row, uint32_t w, const std::vector<QRgb> &lut, QRgb *out)
{
    for (uint32_t x = 0; x < w; ++x)
        out[x] = lut[readAt<uint16_t>(row, 2u * x)];
}

void convert32Row(const uint8_t *row, uint32_t w, const Masks &m, QRgb *out)
{
    for (uint32_t x = 0; x < w; ++x) {
        const uint32_t p = readAt<uint32_t>(row, 4u * x);
        out[x] = qRgb(m.red.value(p), m.green.value(p), m.blue.value(p));
    }
}

/// Rows of an uncompressed DIB into 32-bit pixels. The layout has been
/// checked (every row lies inside the block) and `part` lies inside the
/// picture (top row first); its top left pixel goes to `dest`.
void convertRows(const DibLayout &l, const uint8_t *block, const QRect &part, uchar *dest, qsizetype stride)
{
    const uint32_t w = static_cast<uint32_t>(l.width);
    const uint32_t h = l.rows();
    const Masks masks = masksOf(l, block);
    Palette table{};
    std::vector<QRgb> lut;
    if (l.bitCount <= 8)
        table = paletteOf(l, block);
    else if (l.bitCount == 16)
        lut = lookup16(masks);
    const bool xrgb = l.bitCount == 32 && standardMasks(masks);
    // A part narrower than the picture goes through a whole converted row:
    // packed pixels do not start on a byte for every column.
    const bool whole = part.x() == 0 && uint32_t(part.width()) == w;
    std::vector<QRgb> scratch(whole ? 0 : w);
    bool streamed = false;
    for (int r = 0; r < part.height(); ++r) {
        const uint32_t y = uint32_t(part.y() + r);
        const uint32_t fileRow = l.topDown() ? y : h - 1 - y;
        const uint8_t *row = block + l.bitsOffset + uint64_t(fileRow) * l.rowBytes;
        QRgb *target = reinterpret_cast<QRgb *>(dest + qsizetype(r) * stride);
        QRgb *out = whole ? target : scratch.data();
        switch (l.bitCount) {
        case 1:
        case 4:
        case 8:
            convertIndexedRow(row, w, l.bitCount, table, out);
            break;
        case 16:
            convert16Row(row, w, lut, out);
            break;
        case 24:
            streamed |= convertBgrRow(row, w, out, whole);
            break;
        case 32:
            if (xrgb)
                convertXrgbRow(row, w, out);
            else
                convert32Row(row, w, masks, out);
            break;
        default:
            break;
        }
        if (!whole)
            std::memcpy(target, out + part.x(), std::size_t(part.width()) * sizeof(QRgb));
    }
#if defined(__x86_64__) || defined(__i386__)
    if (streamed)
        _mm_sfence(); // the streamed pixels are seen before the picture is used
#endif
}

/// Run-length decoding of RLE8 and RLE4 data into colour indexes; rows and
/// columns past the bitmap and data past the block are dropped, never read.
QImage decodeRle(const DibLayout &l, const uint8_t *block)
{
    const uint32_t w = static_cast<uint32_t>(l.width);
    const uint32_t h = l.rows();
    QImage image(int(w), int(h), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const Palette table = paletteOf(l, block);
    image.fill(table[0]);
    const uint8_t *p = block + l.bitsOffset;
    const uint8_t *end = p + l.bitsSize;
    const bool four = l.compression == TWAIN_BI_RLE4;
    uint32_t x = 0, y = 0; // y counts from the bottom row
    auto put = [&](uint32_t index) {
        if (x < w && y < h)
            reinterpret_cast<QRgb *>(image.scanLine(int(h - 1 - y)))[x] = table[index & 0xFFu];
        ++x;
    };
    while (end - p >= 2 && y < h) {
        const uint8_t count = p[0];
        const uint8_t value = p[1];
        p += 2;
        if (count > 0) {
            for (uint32_t i = 0; i < count; ++i)
                put(four ? ((i & 1u) ? (value & 0x0Fu) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            if (end - p < 2)
                break;
            x += p[0];
            y += p[1];
            p += 2;
        } else { // absolute run, padded to 16 bits
            const uint32_t n = value;
            const uint32_t bytes = four ? (n + 1u) / 2u : n;
            const uint32_t padded = (bytes + 1u) & ~1u;
            if (static_cast<uint64_t>(end - p) < padded)
                break;
            for (uint32_t i = 0; i < n; ++i)
                put(four ? ((i & 1u) ? (p[i / 2] & 0x0Fu) : (p[i / 2] >> 4)) : p[i]);
            p += padded;
        }
    }
    return image;
}

} // namespace

bool DibLayout::uncompressed() const
{
    return compression == TWAIN_BI_RGB || compression == TWAIN_BI_BITFIELDS;
}

bool DibLayout::withinLimits() const
{
    return width >= -MaxDibSide && width <= MaxDibSide && height >= -MaxDibSide && height <= MaxDibSide
        && tableEntries <= MaxDibTableEntries;
}

std::optional<DibLayout> ReadDibHeader(const uint8_t *block, std::size_t blockSize)
{
    if (!block || blockSize < sizeof(TWAIN_BITMAPCOREHEADER))
        return std::nullopt;
    DibLayout l;
    l.headerSize = readAt<uint32_t>(block, 0);
    if (l.headerSize == sizeof(TWAIN_BITMAPCOREHEADER)) {
        l.core = true;
        l.width = readAt<uint16_t>(block, 4);
        l.height = readAt<uint16_t>(block, 6);
        l.bitCount = readAt<uint16_t>(block, 10);
        l.entrySize = 3;
    } else {
        if (l.headerSize < sizeof(TWAIN_BITMAPINFOHEADER) || l.headerSize > blockSize)
            return std::nullopt;
        l.width = readAt<int32_t>(block, 4);
        l.height = readAt<int32_t>(block, 8);
        l.bitCount = readAt<uint16_t>(block, 14);
        l.compression = readAt<uint32_t>(block, 16);
        l.sizeImage = readAt<uint32_t>(block, 20);
        l.clrUsed = readAt<uint32_t>(block, 32);
    }
    l.colours = DibColourCount(l);
    // The table holds biClrUsed entries, or a full table for 8 bits or less.
    if (l.clrUsed != 0)
        l.tableEntries = l.clrUsed;
    else if (l.bitCount <= 8)
        l.tableEntries = 1u << l.bitCount;
    if (!l.withinLimits())
        return std::nullopt;
    if (l.compression == TWAIN_BI_BITFIELDS && l.headerSize == sizeof(TWAIN_BITMAPINFOHEADER))
        l.masksSize = 12;
    l.bitsOffset = uint64_t(l.headerSize) + l.masksSize + uint64_t(l.tableEntries) * l.entrySize;
    if (l.width > 0) {
        l.rowBytes = (uint64_t(uint32_t(l.width)) * l.bitCount + 31u) / 32u * 4u;
        l.bitsSize = l.uncompressed() ? l.rowBytes * l.rows() : l.sizeImage;
    }
    return l;
}

std::optional<DibLayout> ReadDibLayout(const uint8_t *block, std::size_t blockSize)
{
    std::optional<DibLayout> l = ReadDibHeader(block, blockSize);
    if (!l || !allowedBitCount(l->bitCount) || l->width <= 0 || l->height == 0)
        return std::nullopt;
    switch (l->compression) {
    case TWAIN_BI_RGB:
        break;
    case TWAIN_BI_RLE8:
    case TWAIN_BI_RLE4:
        if (l->bitCount != (l->compression == TWAIN_BI_RLE8 ? 8 : 4) || l->topDown() || l->sizeImage == 0)
            return std::nullopt;
        if (uint64_t(uint32_t(l->width)) * l->rows()
            > std::max(RleFloorPixels, uint64_t(l->sizeImage) * RlePixelsPerByte))
            return std::nullopt;
        break;
    case TWAIN_BI_BITFIELDS:
        // The masks follow a 40-byte header or sit inside a longer one.
        if ((l->bitCount != 16 && l->bitCount != 32) || l->core
            || (l->headerSize != sizeof(TWAIN_BITMAPINFOHEADER) && l->headerSize < 52))
            return std::nullopt;
        break;
    default:
        return std::nullopt;
    }
    if (l->totalSize() > blockSize)
        return std::nullopt;
    return l;
}

uint32_t DibColourCount(const DibLayout &l)
{
    uint64_t n;
    if (l.core)
        n = l.bitCount < 32 ? (uint64_t(1) << l.bitCount) : 0;
    else if (l.clrUsed != 0)
        n = l.clrUsed;
    else
        n = l.bitCount < 32 ? (uint64_t(1) << l.bitCount) : 0;
    return n > 256 ? 0u : static_cast<uint32_t>(n);
}

uint32_t DibTableColour(const DibLayout &l, const uint8_t *block, uint32_t i)
{
    if (i >= l.tableEntries)
        return qRgb(0, 0, 0);
    const uint8_t *e = block + l.headerSize + l.masksSize + uint64_t(i) * l.entrySize;
    return qRgb(e[2], e[1], e[0]);
}

QImage DibToImage(const uint8_t *block, std::size_t blockSize)
{
    const std::optional<DibLayout> l = ReadDibLayout(block, blockSize);
    if (!l)
        return QImage();
    if (!l->uncompressed())
        return decodeRle(*l, block);
    QImage image = imaging::NewPageImage(l->width, int(l->rows()), QImage::Format_RGB32);
    if (!image.isNull())
        convertRows(*l, block, image.rect(), image.bits(), image.bytesPerLine());
    return image;
}

bool DibRowsInto(const uint8_t *block, std::size_t blockSize, const QRect &part, QImage &target, QPoint at)
{
    const std::optional<DibLayout> l = ReadDibLayout(block, blockSize);
    if (!l || !l->uncompressed())
        return false;
    if (target.format() != QImage::Format_RGB32 && target.format() != QImage::Format_ARGB32
        && target.format() != QImage::Format_ARGB32_Premultiplied)
        return false;
    const QRect picture(0, 0, l->width, int(l->rows()));
    if (part.isEmpty() || !picture.contains(part) || !target.rect().contains(QRect(at, part.size())))
        return false;
    convertRows(*l, block, part, target.scanLine(at.y()) + qsizetype(at.x()) * 4, target.bytesPerLine());
    return true;
}

} // namespace twain
