#pragma once
// Turns the frames SANE delivers for one page into a packed bottom-up DIB in
// a global memory block: grey 1 bit becomes a 1-bit DIB (SANE's 1 is black,
// the DIB's 0 is black), grey 8 or 16 bits an 8-bit grey DIB, colour (one RGB
// frame or three single-colour frames, 1, 8 or 16 bits a sample) a 24-bit
// DIB. Lines arrive in pieces of any size; a page of unknown length (lines
// -1) grows as lines come, up to the longest side a DIB may have (the layer
// refuses longer ones). Sixteen-bit samples keep their high byte. The bytes
// that pad a row to four are zero: the block may hold an earlier page.

#include "TwainTypes.h"

#include <sane/sane.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace twainsane {

class PageAssembler
{
public:
    PageAssembler() = default;
    ~PageAssembler();
    PageAssembler(const PageAssembler &) = delete;
    PageAssembler &operator=(const PageAssembler &) = delete;

    enum class Begin { Ok, Refused, NoMemory };
    /// Starts the next frame of the page (the first frame starts the page):
    /// Refused when the format cannot be turned into a DIB or a later frame
    /// does not add a colour to the page the first began, NoMemory when the
    /// page's block cannot be had.
    Begin beginFrame(const SANE_Parameters &frame);
    /// Consumes bytes of the current frame; bytes past the announced lines
    /// are dropped.
    void feed(const uint8_t *data, std::size_t length);
    /// The bytes the frames announced so far, and those consumed.
    uint64_t expectedBytes() const { return m_expected; }
    uint64_t consumedBytes() const { return m_consumed; }
    /// Lines completed in the current frame.
    int linesDone() const { return m_line; }
    /// True once a page of unknown length reached the longest side a DIB
    /// may have; the lines past it are dropped.
    bool tooLong() const { return m_tooLong; }
    /// The finished page as a DIB of the lines that arrived, taking `dpi` as
    /// its resolution; null without a single line or without memory. The
    /// assembler is empty again afterwards.
    TW_HANDLE finishPage(double dpi);
    /// Drops the page being built.
    void reset();

    /// Bits per pixel of the DIB for a frame (1, 8 or 24); 0 when unsupported.
    static int DibBitsFor(const SANE_Parameters &frame);

private:
    void convertLine(const uint8_t *line);
    uint8_t *row(int y);

    SANE_Parameters m_frame{};
    bool m_started = false;
    int m_bits = 0;
    int m_width = 0;
    int m_lines = -1;         // -1 while unknown
    std::size_t m_stride = 0; // DIB row bytes
    int m_channel = -1;       // byte within a BGR pixel for single-colour frames, -1 for all
    std::size_t m_rowBytes = 0; // bytes of a DIB row the pixels fill; the rest is padding
    bool m_tooLong = false;
    TW_HANDLE m_block = nullptr;   // the DIB when the length is known
    uint8_t *m_pixels = nullptr;   // its pixel rows
    std::vector<uint8_t> m_grown;  // top-down rows when the length is unknown
    std::vector<uint8_t> m_carry;  // the part of a line still incomplete
    int m_line = 0;
    int m_maxLine = 0;
    uint64_t m_expected = 0;
    uint64_t m_consumed = 0;
};

} // namespace twainsane
