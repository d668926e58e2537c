// Page assembly from SANE frames without a device: pieces of any size,
// pages shorter or longer than announced, pages of unknown length that never
// end, formats and frame sequences refused, row padding cleared whatever the
// block held before; and the product names of the sources; colour lines
// swapped to the DIB's order.
#include "PageAssembler.h"
#include "RgbToBgr.h"
#include "SaneDevices.h"
#include "twain/DibLayout.h"
#include "twain/LockedBlock.h"
#include "twain/MultiTWAIN.h"

#include <QImage>
#include <gtest/gtest.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// A page too big for memory must meet an allocation that fails, as it does
// without the address checker, rather than the checker's report of a size
// it will not serve.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1";
}
#endif

using twainsane::PageAssembler;
using Begin = twainsane::PageAssembler::Begin;

namespace {

bool begins(PageAssembler &page, const SANE_Parameters &p)
{
    return page.beginFrame(p) == Begin::Ok;
}

SANE_Parameters frame(SANE_Frame format, int depth, int width, int lines, int padding = 0)
{
    const int samples = format == SANE_FRAME_RGB ? 3 : 1;
    SANE_Parameters p{};
    p.format = format;
    p.last_frame = format == SANE_FRAME_RGB || format == SANE_FRAME_GRAY || format == SANE_FRAME_BLUE;
    p.depth = depth;
    p.pixels_per_line = width;
    p.lines = lines;
    p.bytes_per_line = (width * samples * depth + 7) / 8 + padding;
    return p;
}

/// Line bytes whose values tell line, column and sample apart.
std::vector<uint8_t> frameBytes(const SANE_Parameters &p, int lines)
{
    std::vector<uint8_t> bytes(std::size_t(p.bytes_per_line) * std::size_t(lines));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 7 + i / std::size_t(p.bytes_per_line) * 13);
    return bytes;
}

QImage picture(TW_HANDLE dib)
{
    twain::LockedBlock block(dib);
    return block ? twain::DibToImage(block.data(), block.size()) : QImage();
}

/// Feeds the bytes in pieces of `piece` bytes and finishes the page.
TW_HANDLE assemble(const SANE_Parameters &p, const std::vector<uint8_t> &bytes, std::size_t piece)
{
    PageAssembler page;
    if (!begins(page, p))
        return nullptr;
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        page.feed(bytes.data() + at, std::min(piece, bytes.size() - at));
    return page.finishPage(300);
}

struct Dib
{
    explicit Dib(TW_HANDLE h) : handle(h) {}
    ~Dib() { GlobalFree(handle); }
    TW_HANDLE handle;
};

} // namespace

TEST(PageAssemblerTest, PiecesOfAnySizeGiveTheSamePage)
{
    for (const SANE_Parameters &p : {frame(SANE_FRAME_RGB, 8, 13, 9, 2), frame(SANE_FRAME_GRAY, 8, 11, 7),
                                     frame(SANE_FRAME_GRAY, 1, 19, 5), frame(SANE_FRAME_RGB, 16, 5, 4)}) {
        SCOPED_TRACE(p.format * 100 + p.depth);
        const std::vector<uint8_t> bytes = frameBytes(p, p.lines);
        Dib whole(assemble(p, bytes, bytes.size()));
        ASSERT_NE(whole.handle, nullptr);
        const QImage expected = picture(whole.handle);
        ASSERT_EQ(expected.size(), QSize(p.pixels_per_line, p.lines));
        for (std::size_t piece : {std::size_t(1), std::size_t(3), std::size_t(p.bytes_per_line + 1)}) {
            Dib pieces(assemble(p, bytes, piece));
            EXPECT_TRUE(picture(pieces.handle) == expected) << piece;
        }
    }
}

TEST(PageAssemblerTest, SamplesLandInTheirPlaces)
{
    // Colour: red, green, blue samples become the DIB's blue, green, red bytes;
    // the first line is the picture's top.
    SANE_Parameters p = frame(SANE_FRAME_RGB, 8, 2, 2);
    const std::vector<uint8_t> rgb{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    Dib colour(assemble(p, rgb, rgb.size()));
    const QImage c = picture(colour.handle);
    EXPECT_EQ(c.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(c.pixel(1, 1), qRgb(100, 110, 120));
    // Sixteen bits keep the high byte of the host-order sample.
    p = frame(SANE_FRAME_GRAY, 16, 2, 1);
    const uint16_t samples[2] = {0x1234, 0xABCD};
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), samples, 4);
    Dib grey(assemble(p, bytes, 4));
    EXPECT_EQ(qGray(picture(grey.handle).pixel(0, 0)), 0x12);
    EXPECT_EQ(qGray(picture(grey.handle).pixel(1, 0)), 0xAB);
    // One bit: SANE's 1 is black.
    p = frame(SANE_FRAME_GRAY, 1, 3, 1);
    Dib bw(assemble(p, {0b10100000}, 1));
    const QImage b = picture(bw.handle);
    EXPECT_EQ(b.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(b.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(b.pixel(2, 0), qRgb(0, 0, 0));
    // Three single-colour frames fill one page.
    PageAssembler page;
    for (SANE_Frame f : {SANE_FRAME_GREEN, SANE_FRAME_BLUE, SANE_FRAME_RED}) {
        SANE_Parameters single = frame(f, 8, 1, 1);
        single.last_frame = f == SANE_FRAME_RED;
        ASSERT_TRUE(begins(page, single));
        const uint8_t v = f == SANE_FRAME_RED ? 200 : f == SANE_FRAME_GREEN ? 100 : 50;
        page.feed(&v, 1);
    }
    Dib three(page.finishPage(300));
    EXPECT_EQ(picture(three.handle).pixel(0, 0), qRgb(200, 100, 50));
}

TEST(PageAssemblerTest, PagesShorterOrLongerThanAnnouncedAndUnknownLengths)
{
    const SANE_Parameters p = frame(SANE_FRAME_GRAY, 8, 4, 6);
    const std::vector<uint8_t> bytes = frameBytes(p, 8);
    // Two lines more than announced: dropped, nothing written past the block.
    Dib longer(assemble(p, bytes, 5));
    EXPECT_EQ(picture(longer.handle).height(), 6);
    // Three lines of six: a DIB of three lines, the first on top.
    const std::vector<uint8_t> three(bytes.begin(), bytes.begin() + 3 * 4);
    Dib shorter(assemble(p, three, 3));
    const QImage s = picture(shorter.handle);
    ASSERT_EQ(s.height(), 3);
    EXPECT_EQ(qGray(s.pixel(1, 0)), bytes[1]);
    EXPECT_EQ(qGray(s.pixel(2, 2)), bytes[2 * 4 + 2]);
    // Unknown length: as many lines as come.
    SANE_Parameters unknown = p;
    unknown.lines = -1;
    Dib grown(assemble(unknown, bytes, 7));
    const QImage g = picture(grown.handle);
    ASSERT_EQ(g.height(), 8);
    EXPECT_EQ(qGray(g.pixel(3, 7)), bytes[7 * 4 + 3]);
    // Nothing at all: no page.
    PageAssembler empty;
    ASSERT_TRUE(begins(empty, p));
    EXPECT_EQ(empty.finishPage(300), nullptr);
}

TEST(PageAssemblerTest, APageOfUnknownLengthEndsAtTheLongestSideADibMayHave)
{
    // One pixel a line, one byte a line: a device that never ends the page.
    SANE_Parameters p = frame(SANE_FRAME_GRAY, 1, 1, -1);
    PageAssembler page;
    ASSERT_TRUE(begins(page, p));
    const std::vector<uint8_t> lines(std::size_t(twain::MaxDibSide) + 5, 0x80);
    page.feed(lines.data(), std::size_t(twain::MaxDibSide) - 1);
    EXPECT_FALSE(page.tooLong());
    page.feed(lines.data(), 6);
    EXPECT_TRUE(page.tooLong());
    Dib dib(page.finishPage(300));
    twain::LockedBlock block(dib.handle);
    ASSERT_TRUE(block);
    TWAIN_BITMAPINFOHEADER header;
    std::memcpy(&header, block.data(), sizeof header);
    EXPECT_EQ(header.biHeight, twain::MaxDibSide);
    EXPECT_FALSE(page.tooLong()); // a new page starts afresh
}

TEST(PageAssemblerTest, RowPaddingIsZeroEvenWhereAnEarlierPageLay)
{
    // A page filling its rows to the last byte, then one of the same block
    // size whose rows need padding: small pages (taken from the heap) and
    // pages large enough to be mapped (the last one kept for the next).
    struct Case
    {
        SANE_Frame format;
        int depth;
        int fullWidth, paddedWidth, lines;
    };
    for (const Case c : {Case{SANE_FRAME_GRAY, 1, 64, 33, 5}, Case{SANE_FRAME_GRAY, 8, 12, 11, 5},
                         Case{SANE_FRAME_RGB, 8, 4, 3, 5}, Case{SANE_FRAME_GRAY, 1, 8192, 8161, 4200},
                         Case{SANE_FRAME_GRAY, 8, 2048, 2047, 2200}, Case{SANE_FRAME_RGB, 8, 1024, 1023, 1400}}) {
        SCOPED_TRACE(c.depth * 100000 + c.paddedWidth);
        const SANE_Parameters full = frame(c.format, c.depth, c.fullWidth, c.lines);
        // SANE's white is a zero bit, the DIB's a one: the first page leaves
        // its rows full of ones.
        const uint8_t fill = c.depth == 1 ? 0x00 : 0xAB;
        Dib first(assemble(full, std::vector<uint8_t>(std::size_t(full.bytes_per_line) * std::size_t(c.lines), fill),
                           std::size_t(full.bytes_per_line)));
        ASSERT_NE(first.handle, nullptr);
        const std::size_t size = GlobalSize(first.handle);
        GlobalFree(first.handle);
        first.handle = nullptr;

        const SANE_Parameters padded = frame(c.format, c.depth, c.paddedWidth, c.lines);
        Dib second(assemble(padded,
                            std::vector<uint8_t>(std::size_t(padded.bytes_per_line) * std::size_t(c.lines), fill),
                            std::size_t(padded.bytes_per_line)));
        ASSERT_NE(second.handle, nullptr);
        ASSERT_EQ(GlobalSize(second.handle), size);
        twain::LockedBlock block(second.handle);
        const std::optional<twain::DibLayout> layout = twain::ReadDibLayout(block.data(), block.size());
        ASSERT_TRUE(layout);
        const uint8_t *pixels = block.data() + layout->bitsOffset;
        const auto stride = std::size_t(layout->rowBytes);
        const std::size_t used = c.depth == 1 ? (std::size_t(c.paddedWidth) + 7) / 8
                                 : c.format == SANE_FRAME_RGB ? 3 * std::size_t(c.paddedWidth)
                                                              : std::size_t(c.paddedWidth);
        ASSERT_LT(used, stride);
        int dirty = 0;
        for (int y = 0; y < c.lines; ++y)
            for (std::size_t i = used; i < stride; ++i)
                dirty += pixels[std::size_t(y) * stride + i] != 0;
        EXPECT_EQ(dirty, 0);
    }
}

TEST(PageAssemblerTest, FramesThatCannotBeAPageAreRefused)
{
    PageAssembler page;
    EXPECT_EQ(page.beginFrame(frame(SANE_FRAME_GRAY, 4, 8, 2)), Begin::Refused); // depth 4
    SANE_Parameters narrow = frame(SANE_FRAME_RGB, 8, 8, 2);
    narrow.bytes_per_line = 20;                                      // 24 needed
    EXPECT_EQ(page.beginFrame(narrow), Begin::Refused);
    EXPECT_EQ(page.beginFrame(frame(SANE_FRAME_RGB, 8, 0, 2)), Begin::Refused);  // no pixels
    EXPECT_EQ(page.beginFrame(frame(SANE_FRAME_RGB, 8, 4, -2)), Begin::Refused); // nonsense length
    // Sides no DIB may have, refused before anything is allocated.
    const int beyond = twain::MaxDibSide + 1;
    EXPECT_EQ(page.beginFrame(frame(SANE_FRAME_GRAY, 8, beyond, 2)), Begin::Refused);
    EXPECT_EQ(page.beginFrame(frame(SANE_FRAME_GRAY, 8, 4, beyond)), Begin::Refused);
    EXPECT_EQ(page.beginFrame(frame(SANE_FRAME_RGB, 8, 4, -1)), Begin::Ok); // unknown length is no size
    page.reset();
    // A later frame must match the first.
    SANE_Parameters red = frame(SANE_FRAME_RED, 8, 4, 2);
    red.last_frame = false;
    ASSERT_TRUE(begins(page, red));
    EXPECT_EQ(page.beginFrame(frame(SANE_FRAME_GREEN, 8, 5, 2)), Begin::Refused);
    EXPECT_EQ(page.beginFrame(frame(SANE_FRAME_GRAY, 8, 4, 2)), Begin::Refused);
    // A colour frame after a page begun in grey (or in one RGB frame): the
    // page has no room for it, so nothing of it may be written.
    for (SANE_Frame first : {SANE_FRAME_GRAY, SANE_FRAME_RGB}) {
        for (int depth : {1, 8}) {
            if (first == SANE_FRAME_RGB && depth == 1)
                continue;
            SANE_Parameters begun = frame(first, depth, 8, 2);
            begun.last_frame = false;
            PageAssembler mixed;
            ASSERT_TRUE(begins(mixed, begun));
            for (SANE_Frame later : {SANE_FRAME_RED, SANE_FRAME_GREEN, SANE_FRAME_BLUE})
                EXPECT_EQ(mixed.beginFrame(frame(later, depth, 8, 2)), Begin::Refused) << first << later << depth;
        }
    }
    // A page too big for memory is told apart from one that cannot be a DIB.
    PageAssembler huge;
    EXPECT_EQ(huge.beginFrame(frame(SANE_FRAME_RGB, 8, twain::MaxDibSide, twain::MaxDibSide)), Begin::NoMemory);
}

TEST(SourceNamesTest, VendorAndModelWithinThirtyThreeBytesAndUnique)
{
    const auto names = twainsane::NameSources({
        {"test:0", "Noname", "frontend-tester"},
        {"test:1", "Noname", "frontend-tester"},
        {"test:2", "Noname", "frontend-tester"},
        {"genesys:libusb:001:004", "Canon", "LiDE 110 flatbed scanner with a long model name"},
        {"genesys:libusb:001:005", "Canon", "LiDE 110 flatbed scanner with a long model name"},
        {"x:1", "Fabrikant", "Сканер документов"}, // two bytes a letter in UTF-8
    });
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(names[0].productName, "SANE: Noname frontend-tester");
    EXPECT_EQ(names[1].productName, "SANE: Noname frontend-tester #2");
    EXPECT_EQ(names[2].productName, "SANE: Noname frontend-tester #3");
    EXPECT_EQ(names[3].productName, "SANE: Canon LiDE 110 flatbed scan");
    EXPECT_EQ(names[4].productName, "SANE: Canon LiDE 110 flatbed s #2");
    EXPECT_EQ(names[4].deviceName, "genesys:libusb:001:005");
    for (const auto &n : names)
        EXPECT_LE(n.productName.size(), 33);
    // Cut between letters, never inside one.
    EXPECT_TRUE(QString::fromUtf8(names[5].productName).toUtf8() == names[5].productName);
    EXPECT_TRUE(names[5].productName.startsWith("SANE: Fabrikant Сканер"));
}

TEST(RgbToBgrTest, EveryPixelOfALineOfAnyWidthIsSwappedAndNothingBeyondItWritten)
{
    // Narrow lines go a few pixels a step; lines as wide as a page's sixteen
    // at a time from the first aligned output byte: each width and each
    // place the line can start at.
    std::vector<std::size_t> widths;
    for (std::size_t width = 0; width <= 40; ++width)
        widths.push_back(width);
    for (std::size_t width = 1020; width <= 1040; ++width)
        widths.push_back(width);
    for (std::size_t width : widths)
        for (std::size_t shift = 0; shift < 16; shift += width >= 1020 ? 1 : 16) {
            SCOPED_TRACE(testing::Message() << width << " pixels at " << shift);
            std::vector<uint8_t> rgb(3 * width);
            for (std::size_t i = 0; i < rgb.size(); ++i)
                rgb[i] = uint8_t(i * 37 + 11);
            std::vector<uint8_t> bgr(3 * width + 32, 0xA5); // beside the line: must stay
            twainsane::RgbToBgr(rgb.data(), bgr.data() + shift, width);
            int wrong = 0;
            for (std::size_t x = 0; x < width; ++x)
                for (std::size_t c = 0; c < 3; ++c)
                    wrong += bgr[shift + 3 * x + c] != rgb[3 * x + 2 - c];
            EXPECT_EQ(wrong, 0);
            for (std::size_t i = 0; i < bgr.size(); ++i)
                if (i < shift || i >= shift + 3 * width)
                    wrong += bgr[i] != 0xA5;
            EXPECT_EQ(wrong, 0);
        }
}
