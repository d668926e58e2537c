#pragma once
// Where the parts of a packed DIB lie inside its memory block, worked out
// from its header with every size checked against the block, so no caller
// reads outside the block whatever the header claims.

#include "platform/DibBounds.h"

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace twain {

/// A run-length stream codes at most 255 pixels per two bytes; a stream
/// claiming far more pixels than that (beyond a small floor for pictures
/// that are mostly background) is refused, so a tiny file cannot make us
/// allocate a huge picture.
inline constexpr uint64_t RlePixelsPerByte = 128;
inline constexpr uint64_t RleFloorPixels = uint64_t(1) << 20;

struct DibLayout
{
    uint32_t headerSize = 0;    // biSize (12 for a core header)
    bool core = false;
    int32_t width = 0;
    int32_t height = 0;         // negative for top-down
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;     // as stored in the header
    uint32_t clrUsed = 0;
    uint32_t colours = 0;       // the colour count of TWAIN_DibNumColors
    uint32_t tableEntries = 0;  // entries actually in the colour table
    uint32_t entrySize = 4;     // 3 for a core header
    uint32_t masksSize = 0;     // bit-field masks after a 40-byte header
    uint64_t bitsOffset = 0;    // from the start of the block
    uint64_t rowBytes = 0;
    uint64_t bitsSize = 0;      // bytes of pixel data the DIB needs

    bool topDown() const { return height < 0; }
    uint32_t rows() const { return height < 0 ? 0u - static_cast<uint32_t>(height) : static_cast<uint32_t>(height); }
    bool uncompressed() const;
    /// Width, height and colour table within the bounds above (the sizes
    /// below are only worked out for such a header; they cannot overflow).
    bool withinLimits() const;
    uint64_t totalSize() const { return bitsOffset + bitsSize; }
};

/// The header alone: null when the block is too small for the header its
/// size field names (12 for a core header, at least 40 otherwise), or when
/// the header claims sizes beyond the bounds above.
std::optional<DibLayout> ReadDibHeader(const uint8_t *block, std::size_t blockSize);

/// The whole layout: null unless the header, the masks, the colour table and
/// every pixel row lie inside the block, and the header describes a bitmap
/// the format allows (bit count 1, 4, 8, 16, 24 or 32, positive width, a
/// nonzero height, a known compression with its data size when compressed,
/// a run-length stream that can code the pixels it claims).
/// `tableEntries` is the number of colours the table holds: the colour count
/// of TWAIN_DibNumColors, or, for the file writer, its own rule.
std::optional<DibLayout> ReadDibLayout(const uint8_t *block, std::size_t blockSize);

/// Colour count of a header (core: 2 ^ bit count; else biClrUsed or 2 ^ bit
/// count); above 256 it is 0.
uint32_t DibColourCount(const DibLayout &l);

/// The colour of table entry i (0xFFRRGGBB); black outside the table.
uint32_t DibTableColour(const DibLayout &l, const uint8_t *block, uint32_t i);

/// The DIB as a picture (top row first); a null image when the layout does
/// not fit the block or the compression cannot be decoded.
QImage DibToImage(const uint8_t *block, std::size_t blockSize);

/// The part `part` of an uncompressed DIB's picture (top row first) written
/// straight into `target` at `at`, as opaque 32-bit pixels, with no picture
/// in between. False, and nothing written, when the DIB is compressed or
/// does not fit its block, when `target` is not a 32-bit RGB image, or when
/// either rectangle is empty or does not lie wholly inside its picture.
bool DibRowsInto(const uint8_t *block, std::size_t blockSize, const QRect &part, QImage &target, QPoint at);

} // namespace twain
