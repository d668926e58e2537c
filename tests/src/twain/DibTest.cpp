// DIB geometry, colour count, palettes, drawing onto a painter and into an
// image control, with DIBs that fit their blocks and DIBs that lie.
#include "support/DibBuilder.h"
#include "TwainFixture.h"
#include "twain/DefaultPalette.h"
#include "ui/TPictureBox.h"

#include <QPainter>
#include <QtEndian>
#include <cstdlib>
#include <cstring>

using namespace twaintest;

namespace {

using Dib = DibBlock;

/// The colour of table entry i of a built DIB.
QRgb tableColour(uint32_t i)
{
    return qRgb(int((i * 3 + 1) & 0xFF), int((255 - i) & 0xFF), int((i * 7) & 0xFF));
}

/// What the pixel at (x, y), counted from the top, should look like, read
/// straight from the built bytes.
QRgb expectedPixel(const DibKind &s, const QByteArray &dib, int x, int y)
{
    const int rows = s.height < 0 ? -s.height : s.height;
    const int stored = s.height < 0 ? y : rows - 1 - y;
    const int rowBytes = (s.width * s.bits + 31) / 32 * 4;
    const auto *row = reinterpret_cast<const uchar *>(dib.constData()) + BitsOffset(s) + stored * rowBytes;
    const uint32_t entries = s.clrUsed ? s.clrUsed : (s.bits <= 8 ? 1u << s.bits : 0u);
    auto indexed = [&](uint32_t i) { return i < entries ? tableColour(i) : qRgb(0, 0, 0); };
    auto scale = [](uint32_t v, int bits) { return int((v * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1)); };
    switch (s.bits) {
    case 1: return indexed((row[x / 8] >> (7 - x % 8)) & 1);
    case 4: return indexed((x % 2) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4));
    case 8: return indexed(row[x]);
    case 16: {
        const uint32_t v = qFromLittleEndian<quint16>(row + 2 * x);
        if (s.compression == 3)
            return qRgb(scale(v >> 11, 5), scale((v >> 5) & 63, 6), scale(v & 31, 5));
        return qRgb(scale((v >> 10) & 31, 5), scale((v >> 5) & 31, 5), scale(v & 31, 5));
    }
    case 24: return qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    default: return qRgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
    }
}

QImage drawn(HGLOBAL dib, int w, int h, int sx = 0, int sy = 0)
{
    QImage canvas(w, h, QImage::Format_RGB32);
    canvas.fill(qRgb(1, 2, 3));
    QPainter painter(&canvas);
    TWAIN_DrawDibToDC(&painter, 0, 0, w, h, dib, sx, sy);
    return canvas;
}

class DibTest : public testing::Test
{
};

TEST_F(DibTest, GeometryComesFromEitherHeaderKind)
{
    Dib info(DibKind{101, 50, 24});
    EXPECT_EQ(TWAIN_DibWidth(info.handle), 101);
    EXPECT_EQ(TWAIN_DibHeight(info.handle), 50);
    EXPECT_EQ(TWAIN_DibDepth(info.handle), 24);

    Dib topDown(DibKind{7, -5, 8, 124});
    EXPECT_EQ(TWAIN_DibHeight(topDown.handle), -5);
    EXPECT_EQ(TWAIN_DibDepth(topDown.handle), 8);

    Dib core(DibKind{9, 4, 4, 12});
    EXPECT_EQ(TWAIN_DibWidth(core.handle), 9);
    EXPECT_EQ(TWAIN_DibHeight(core.handle), 4);
    EXPECT_EQ(TWAIN_DibDepth(core.handle), 4);
    EXPECT_EQ(TWAIN_DibNumColors(core.handle), 16);
}

TEST_F(DibTest, HeadersThatDoNotFitTheirBlockGiveNothing)
{
    EXPECT_EQ(TWAIN_DibWidth(nullptr), 0);
    EXPECT_EQ(TWAIN_CreateDibPalette(nullptr), nullptr);
    Dib tiny(QByteArray(8, '\x28'));
    EXPECT_EQ(TWAIN_DibWidth(tiny.handle), 0);
    EXPECT_EQ(TWAIN_DibNumColors(tiny.handle), 0);
    QByteArray cut = BuildDib(DibKind{4, 4, 24}).left(30); // biSize 40 in a 30-byte block
    Dib shortHeader(cut);
    EXPECT_EQ(TWAIN_DibDepth(shortHeader.handle), 0);
    QByteArray huge = BuildDib(DibKind{4, 4, 24});
    qToLittleEndian<quint32>(0x7FFFFFF0u, huge.data()); // biSize
    Dib lying(huge);
    EXPECT_EQ(TWAIN_DibHeight(lying.handle), 0);
}

TEST_F(DibTest, ColourCountFollowsClrUsedAndTheBitCount)
{
    struct Case
    {
        DibKind kind;
        int colours;
    };
    const Case cases[] = {
        {DibKind{4, 4, 1}, 2},        {DibKind{4, 4, 4}, 16},     {DibKind{4, 4, 8}, 256},
        {DibKind{4, 4, 8, 40, 0, 16}, 16}, {DibKind{4, 4, 24}, 0}, {DibKind{4, 4, 32}, 0},
        {DibKind{4, 4, 16}, 0},       {DibKind{4, 4, 24, 40, 0, 300}, 0}, {DibKind{4, 4, 24, 40, 0, 12}, 12},
        {DibKind{4, 4, 8, 12}, 256},
    };
    for (const Case &c : cases) {
        Dib dib(c.kind);
        EXPECT_EQ(TWAIN_DibNumColors(dib.handle), c.colours) << c.kind.bits << "/" << c.kind.clrUsed;
    }
}

TEST_F(DibTest, PalettesComeFromTheTableOrTheDefault)
{
    Dib rgb(DibKind{4, 4, 24});
    TWAIN_HPALETTE pal = TWAIN_CreateDibPalette(rgb.handle);
    ASSERT_NE(pal, nullptr);
    EXPECT_EQ(pal->palVersion, 0x300);
    ASSERT_EQ(pal->palNumEntries, 256);
    EXPECT_EQ(std::memcmp(pal->palPalEntry, twain::DefaultPalette().data(), 256 * 4), 0);
    TWAIN_DeletePalette(pal);

    Dib gray(DibKind{4, 4, 8});
    pal = TWAIN_CreateDibPalette(gray.handle);
    ASSERT_EQ(pal->palNumEntries, 256);
    for (int i : {0, 1, 100, 255}) {
        const TWAIN_PALETTEENTRY e = pal->palPalEntry[i];
        EXPECT_EQ(qRgb(e.peRed, e.peGreen, e.peBlue), tableColour(uint32_t(i)));
        EXPECT_EQ(e.peFlags, 0);
    }
    TWAIN_DeletePalette(pal);

    Dib mono(DibKind{4, 4, 1});
    pal = TWAIN_CreateDibPalette(mono.handle);
    EXPECT_EQ(pal->palNumEntries, 2);
    TWAIN_DeletePalette(pal);

    // A colour table past the end of the block is not copied.
    Dib cut(BuildDib(DibKind{4, 4, 8}).left(40 + 100 * 4));
    EXPECT_EQ(TWAIN_CreateDibPalette(cut.handle), nullptr);
}

TEST_F(DibTest, TheDefaultPaletteHoldsTheListedEntries)
{
    const auto &p = twain::DefaultPalette();
    auto rgbFlags = [&](int i) {
        return std::vector<int>{p[std::size_t(i)].peRed, p[std::size_t(i)].peGreen, p[std::size_t(i)].peBlue,
                                p[std::size_t(i)].peFlags};
    };
    const int first[10][3] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
                              {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240}};
    const int last[10][3] = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
                             {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255}};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(rgbFlags(i), (std::vector<int>{first[i][0], first[i][1], first[i][2], 0})) << i;
        EXPECT_EQ(rgbFlags(246 + i), (std::vector<int>{last[i][0], last[i][1], last[i][2], 0})) << 246 + i;
    }
    EXPECT_EQ(rgbFlags(10), (std::vector<int>{4, 4, 4, 4}));
    EXPECT_EQ(rgbFlags(21), (std::vector<int>{57, 57, 57, 4}));
    EXPECT_EQ(rgbFlags(22), (std::vector<int>{255, 124, 128, 4}));
    EXPECT_EQ(rgbFlags(28), (std::vector<int>{173, 169, 144, 4}));
    EXPECT_EQ(rgbFlags(29), (std::vector<int>{51, 0, 0, 4}));
    EXPECT_EQ(rgbFlags(32), (std::vector<int>{204, 0, 0, 4}));
    EXPECT_EQ(rgbFlags(33), (std::vector<int>{0, 51, 0, 4}));
    EXPECT_EQ(rgbFlags(34), (std::vector<int>{51, 51, 0, 4}));
    EXPECT_EQ(rgbFlags(233), (std::vector<int>{165, 0, 33, 4}));
    EXPECT_EQ(rgbFlags(245), (std::vector<int>{248, 248, 248, 4}));
    for (int i = 10; i < 246; ++i)
        EXPECT_EQ(p[std::size_t(i)].peFlags, TWAIN_PC_NOCOLLAPSE) << i;
}

const DibKind EveryKind[] = {
    {13, 5, 1},        {13, 5, 4},         {13, 5, 8},          {13, 5, 8, 40, 0, 200},
    {13, 5, 16},       {13, 5, 16, 40, 3}, {13, 5, 16, 108, 3}, {13, 5, 24},
    {13, -5, 24},      {13, 5, 32},        {13, 5, 32, 124, 3}, {13, 5, 24, 12},
    {13, 5, 8, 12},    {13, -5, 1, 108},
};

TEST_F(DibTest, EveryDepthAndHeaderKindDrawsItsOwnPixels)
{
    for (const DibKind &s : EveryKind) {
        SCOPED_TRACE(testing::Message() << s.bits << " bits, header " << s.headerSize << ", height " << s.height
                                        << ", compression " << s.compression);
        const QByteArray bytes = BuildDib(s);
        Dib dib(bytes);
        const int rows = s.height < 0 ? -s.height : s.height;
        const QImage image = drawn(dib.handle, s.width, rows);
        int wrong = 0;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < s.width; ++x)
                wrong += image.pixel(x, y) != expectedPixel(s, bytes, x, y);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(DibTest, ColourRowsOfEveryWidthConvertExactly)
{
    // Colour rows are converted many pixels at a time, and rows as wide as a
    // page's straight past the cache from the first 16-byte aligned pixel:
    // every width up to a few steps and a run of page widths, each drawn at
    // four places of the bitmap so the aligned start falls everywhere, in
    // both row orders; the last row stored ends the block, so a read past it
    // would show.
    std::vector<int> widths;
    for (int width = 1; width <= 50; ++width)
        widths.push_back(width);
    for (int width = 1020; width <= 1041; ++width)
        widths.push_back(width);
    for (int width : widths)
        for (int height : {3, -3}) {
            const DibKind s{width, height, 24};
            const QByteArray bytes = BuildDib(s);
            Dib dib(bytes);
            for (int dx = 0; dx < 4; ++dx) {
                SCOPED_TRACE(testing::Message() << width << " x " << height << " at " << dx);
                QImage image(width + 4, 3, QImage::Format_RGB32);
                image.fill(qRgb(1, 2, 3));
                {
                    QPainter painter(&image);
                    TWAIN_DrawDibToDC(&painter, dx, 0, width, 3, dib.handle, 0, 0);
                }
                int wrong = 0;
                for (int y = 0; y < 3; ++y) {
                    for (int x = 0; x < width; ++x)
                        wrong += image.pixel(dx + x, y) != expectedPixel(s, bytes, x, y);
                    for (int x = 0; x < 4; ++x) // nothing beside the row is touched
                        wrong += image.pixel(x < dx ? x : width + x, y) != qRgb(1, 2, 3);
                }
                EXPECT_EQ(wrong, 0);
            }
        }
}

TEST_F(DibTest, PartsDrawnStraightIntoTheBitmapMatchThePaintedWay)
{
    // A 1:1 drawing into a 32-bit image is converted straight into it; a
    // clipped painter takes the painted way. Parts that start inside a
    // packed byte, a moved painter and a part hanging over the bitmap's edge
    // must give the same pixels either way.
    struct Part
    {
        int dx, dy, w, h, sx, sy;
    };
    const Part parts[] = {{0, 0, 13, 5, 0, 0}, {1, 2, 9, 3, 3, 1}, {0, 0, 1, 1, 12, 4}, {10, 4, 7, 4, 5, 0}};
    for (const DibKind &s : EveryKind) {
        const QByteArray bytes = BuildDib(s);
        Dib dib(bytes);
        const int rows = s.height < 0 ? -s.height : s.height;
        for (const Part &p : parts) {
            SCOPED_TRACE(testing::Message() << s.bits << " bits, header " << s.headerSize << ", height " << s.height
                                            << ", part from " << p.sx << "," << p.sy << " to " << p.dx << "," << p.dy);
            QImage straight(16, 8, QImage::Format_RGB32), painted(16, 8, QImage::Format_RGB32);
            straight.fill(qRgb(1, 2, 3));
            painted.fill(qRgb(1, 2, 3));
            {
                QPainter a(&straight), b(&painted);
                a.translate(1, 1);
                b.translate(1, 1);
                b.setClipRect(QRect(-1, -1, 16, 8));
                TWAIN_DrawDibToDC(&a, p.dx, p.dy, p.w, p.h, dib.handle, p.sx, p.sy);
                TWAIN_DrawDibToDC(&b, p.dx, p.dy, p.w, p.h, dib.handle, p.sx, p.sy);
            }
            EXPECT_EQ(straight, painted);
            // The first drawn pixel: source row sy counts from the first stored row.
            const int top = s.height < 0 ? p.sy : rows - p.sy - p.h;
            EXPECT_EQ(straight.pixel(p.dx + 1, p.dy + 1), expectedPixel(s, bytes, p.sx, top));
        }
    }
}

TEST_F(DibTest, SourceCoordinatesCountFromTheFirstStoredRow)
{
    const DibKind s{6, 6, 24};
    const QByteArray bytes = BuildDib(s);
    Dib dib(bytes);
    // From (2, 1) of a bottom-up DIB: one row up from the bottom.
    const QImage image = drawn(dib.handle, 3, 2, 2, 1);
    EXPECT_EQ(image.pixel(0, 1), expectedPixel(s, bytes, 2, 4));
    EXPECT_EQ(image.pixel(2, 0), expectedPixel(s, bytes, 4, 3));
}

TEST_F(DibTest, RunLengthBitmapsDecodeAndHostileRunsStayInside)
{
    // 4 x 3 RLE8: bottom row: run of 4 x index 1; next: absolute 2,3,2 then
    // one of 0; a delta up one row; then runs far past the width and height.
    const QByteArray rle = QByteArray::fromHex("0401" "0000" "000302030200" "0100" "0000" "FF01" "00020099" "FF02" "0001");
    QByteArray bytes = BuildDib(DibKind{4, 3, 8, 40, 1, 4, uint32_t(rle.size())}).left(40 + 16) + rle;
    Dib dib(bytes);
    const QImage image = drawn(dib.handle, 4, 3);
    EXPECT_EQ(image.pixel(0, 2), tableColour(1));
    EXPECT_EQ(image.pixel(3, 2), tableColour(1));
    EXPECT_EQ(image.pixel(0, 1), tableColour(2));
    EXPECT_EQ(image.pixel(1, 1), tableColour(3));
    EXPECT_EQ(image.pixel(2, 1), tableColour(2));
    EXPECT_EQ(image.pixel(3, 1), tableColour(0));
    EXPECT_EQ(image.pixel(0, 0), tableColour(1)); // the long run, cut at the width
    EXPECT_EQ(image.pixel(3, 0), tableColour(1));

    // A run that claims more bytes than the data holds stops at the end.
    QByteArray cut = bytes.left(bytes.size() - 6);
    qToLittleEndian<quint32>(quint32(rle.size() - 6), cut.data() + 20);
    Dib truncated(cut);
    EXPECT_FALSE(drawn(truncated.handle, 4, 3).isNull());
}

TEST_F(DibTest, DibsThatDoNotFitTheirBlockAreNotDrawn)
{
    const QImage untouched = drawn(nullptr, 4, 4);
    QByteArray rows = BuildDib(DibKind{4, 400, 24});
    Dib missingRows(rows.left(rows.size() / 2));
    EXPECT_EQ(drawn(missingRows.handle, 4, 4), untouched);
    Dib rleNoSize(BuildDib(DibKind{4, 4, 8, 40, 1}));
    EXPECT_EQ(drawn(rleNoSize.handle, 4, 4), untouched);
    QByteArray absurd = BuildDib(DibKind{4, 4, 24});
    qToLittleEndian<qint32>(0x7FFFFFFF, absurd.data() + 4);
    qToLittleEndian<qint32>(0x7FFFFFFF, absurd.data() + 8);
    Dib huge(absurd);
    EXPECT_EQ(drawn(huge.handle, 4, 4), untouched);
    QByteArray badBits = BuildDib(DibKind{4, 4, 24});
    qToLittleEndian<quint16>(7, badBits.data() + 14);
    Dib odd(badBits);
    EXPECT_EQ(drawn(odd.handle, 4, 4), untouched);
    TWAIN_DrawDibToDC(nullptr, 0, 0, 4, 4, odd.handle, 0, 0); // no painter: nothing
}

TEST_F(DibTest, AbsurdSizesAreRefusedBeforeAnythingIsWorkedOutFromThem)
{
    const QImage untouched = drawn(nullptr, 4, 4);
    // The header offset and the pixel bytes of this header add up to 2^64:
    // a 118-byte block must not pass for a DIB of that size.
    QByteArray wraps = BuildDib(DibKind{4, 4, 32}).left(40) + QByteArray(64, '\0');
    qToLittleEndian<qint32>(0x7FFFFFFF, wraps.data() + 4);
    qToLittleEndian<qint32>(INT32_MIN, wraps.data() + 8);
    qToLittleEndian<quint32>(0x7FFFFFF6u, wraps.data() + 32);
    Dib wrapping(wraps);
    EXPECT_EQ(TWAIN_DibWidth(wrapping.handle), 0);
    EXPECT_EQ(TWAIN_DibHeight(wrapping.handle), 0);
    EXPECT_EQ(drawn(wrapping.handle, 4, 4), untouched);

    // The lowest height has no positive counterpart.
    QByteArray lowest = BuildDib(DibKind{4, 4, 24});
    qToLittleEndian<qint32>(INT32_MIN, lowest.data() + 8);
    Dib lowestHeight(lowest);
    EXPECT_EQ(TWAIN_DibHeight(lowestHeight.handle), 0);

    // The widest page still allowed is a DIB like any other; one pixel more
    // is refused.
    const DibKind widestKind{1 << 20, 2, 1};
    Dib widest(widestKind);
    EXPECT_EQ(TWAIN_DibWidth(widest.handle), 1 << 20);
    EXPECT_EQ(drawn(widest.handle, 4, 2).pixel(3, 1), expectedPixel(widestKind, FromBlock(widest.handle), 3, 1));
    Dib tooWide(DibKind{(1 << 20) + 1, 2, 1});
    EXPECT_EQ(TWAIN_DibWidth(tooWide.handle), 0);
    Dib tooHigh(DibKind{2, -(1 << 20) - 1, 1});
    EXPECT_EQ(TWAIN_DibHeight(tooHigh.handle), 0);
}

TEST_F(DibTest, ARunLengthStreamCannotClaimFarMorePixelsThanItCodes)
{
    // 12000 x 12000 from a two-byte stream (end of bitmap): refused, not
    // drawn into a picture of 576 MB.
    const QByteArray endOfBitmap = QByteArray::fromHex("0001");
    QByteArray huge = BuildDib(DibKind{4, 4, 8, 40, 1, 256, 2}).left(40 + 1024) + endOfBitmap;
    qToLittleEndian<qint32>(12000, huge.data() + 4);
    qToLittleEndian<qint32>(12000, huge.data() + 8);
    Dib claiming(huge);
    EXPECT_EQ(drawn(claiming.handle, 4, 4), drawn(nullptr, 4, 4));
    ui::TPictureBox box;
    box.resize(20, 10);
    CopyDIBIntoImage(claiming.handle, &box);
    EXPECT_FALSE(box.HasGraphic());
    EXPECT_EQ(box.size(), QSize(20, 10));

    // A stream of full runs codes what it claims: 2040 x 600 pixels (more
    // than a small picture may claim from nothing) from 18 bytes a row.
    QByteArray runs;
    for (int row = 0; row < 600; ++row)
        runs += QByteArray::fromHex("FF05FF05FF05FF05FF05FF05FF05FF05") + QByteArray::fromHex("0000");
    runs += endOfBitmap;
    QByteArray dense = BuildDib(DibKind{2040, 600, 8, 40, 1, 16, uint32_t(runs.size())}).left(40 + 64) + runs;
    Dib coded(dense);
    const QImage image = drawn(coded.handle, 2040, 600);
    EXPECT_EQ(image.pixel(2039, 599), tableColour(5));
    EXPECT_EQ(image.pixel(0, 0), tableColour(5));
}

TEST_F(DibTest, ADibThatDoesNotFitLeavesTheImageControlAsItWas)
{
    // 56 bytes claiming 12000 x 12000 at 24 bits.
    QByteArray claim = BuildDib(DibKind{4, 4, 24}).left(56);
    qToLittleEndian<qint32>(12000, claim.data() + 4);
    qToLittleEndian<qint32>(12000, claim.data() + 8);
    Dib lying(claim);
    ui::TPictureBox empty;
    empty.resize(30, 20);
    CopyDIBIntoImage(lying.handle, &empty);
    EXPECT_FALSE(empty.HasGraphic());
    EXPECT_TRUE(empty.Picture().isNull());
    EXPECT_EQ(empty.size(), QSize(30, 20));

    QByteArray lowest = BuildDib(DibKind{4, 4, 24});
    qToLittleEndian<qint32>(INT32_MIN, lowest.data() + 8);
    Dib lowestHeight(lowest);
    ui::TPictureBox filled;
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::green);
    filled.SetPicture(picture);
    CopyDIBIntoImage(lowestHeight.handle, &filled);
    EXPECT_EQ(filled.Picture(), picture);
}

TEST_F(DibTest, FreedAndForeignHandlesAreRefusedWithoutBeingRead)
{
    // A picture large enough that its memory goes back to the system when
    // freed: asking about it afterwards must not touch that memory.
    HGLOBAL freed = ToBlock(BuildDib(DibKind{600, 600, 24}));
    ASSERT_EQ(TWAIN_DibWidth(freed), 600);
    TWAIN_FreeNative(freed);
    EXPECT_EQ(TWAIN_DibWidth(freed), 0);
    EXPECT_EQ(GlobalSize(freed), 0u);
    EXPECT_EQ(GlobalLock(freed), nullptr);
    EXPECT_EQ(GlobalFree(freed), freed); // a second free is refused

    // Memory no module allocated as a block, even with a block's first bytes.
    const QByteArray lookalike = BuildDib(DibKind{4, 4, 24});
    HGLOBAL real = ToBlock(lookalike);
    auto *copy = static_cast<uint8_t *>(std::malloc(1024));
    std::memcpy(copy, static_cast<const uint8_t *>(real), 16);
    EXPECT_EQ(GlobalLock(copy), nullptr);
    EXPECT_EQ(GlobalSize(copy), 0u);
    EXPECT_EQ(GlobalHandle(copy + 16), nullptr);
    EXPECT_EQ(GlobalFree(copy), copy);
    std::free(copy);
    void *bytes = GlobalLock(real);
    EXPECT_EQ(GlobalHandle(bytes), real);
    GlobalUnlock(real);
    GlobalFree(real);
}

TEST_F(DibTest, CopyingIntoAnImageControlGivesThePictureTheDibsSize)
{
    ui::TPictureBox box;
    box.resize(50, 40);
    const DibKind s{13, 7, 24};
    const QByteArray bytes = BuildDib(s);
    Dib dib(bytes);
    CopyDIBIntoImage(dib.handle, &box);
    EXPECT_EQ(box.size(), QSize(50, 40));
    ASSERT_EQ(box.Picture().size(), QSize(13, 7));
    EXPECT_EQ(box.Picture().pixel(5, 3), expectedPixel(s, bytes, 5, 3));

    // A control with a picture is drawn over; the picture keeps its size.
    ui::TPictureBox filled;
    QImage big(30, 30, QImage::Format_RGB32);
    big.fill(Qt::blue);
    filled.SetPicture(big);
    CopyDIBIntoImage(dib.handle, &filled);
    ASSERT_EQ(filled.Picture().size(), QSize(30, 30));
    EXPECT_EQ(filled.Picture().pixel(0, 0), expectedPixel(s, bytes, 0, 0));
    EXPECT_EQ(filled.Picture().pixel(20, 20), QColor(Qt::blue).rgb());
}

} // namespace
