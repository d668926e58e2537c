#include "GreyPage.h"
#include "platform/PageImage.h"
#include "platform/RowBands.h"

#include <QColorSpace>

#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

namespace twainclient {

namespace {

constexpr std::uint32_t ColourCount = 1u << 24;
constexpr int TableWidth = 4096;

} // namespace

QImage GreyPage(const QImage &page)
{
    // Qt's grey of a colour goes through its colour space to the luminance
    // and back: exact, and slow when repeated for millions of pixels. A
    // page holds far fewer colours than pixels, and a colour's grey does
    // not depend on where it stands, so each colour is converted by Qt once.
    if (page.format() != QImage::Format_RGB32 || page.isNull())
        return page.convertToFormat(QImage::Format_Grayscale8);
    const int width = page.width(), height = page.height();
    // The page's colours, as bits of a set of every colour; each band of
    // rows marks its own set, and the sets are joined.
    std::vector<std::vector<std::uint64_t>> seenIn(imaging::Bands(height));
    imaging::InBands(height, [&](int band, int from, int to) {
        std::vector<std::uint64_t> &seen = seenIn[size_t(band)];
        seen.assign(ColourCount / 64, 0);
        for (int y = from; y < to; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(page.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                const std::uint32_t key = line[x] & 0xffffffu;
                seen[key >> 6] |= std::uint64_t(1) << (key & 63);
            }
        }
    });
    std::vector<std::uint64_t> &seen = seenIn.front();
    for (size_t b = 1; b < seenIn.size(); ++b)
        for (size_t w = 0; w < seen.size(); ++w)
            seen[w] |= seenIn[b][w];
    std::vector<QRgb> colours;
    for (std::uint32_t w = 0; w < seen.size(); ++w)
        for (std::uint64_t bits = seen[w]; bits; bits &= bits - 1)
            colours.push_back(0xff000000u | (w << 6 | std::uint32_t(std::countr_zero(bits))));
    const int rows = int((colours.size() + TableWidth - 1) / TableWidth);
    QImage table(TableWidth, rows, QImage::Format_RGB32);
    if (table.isNull())
        return page.convertToFormat(QImage::Format_Grayscale8);
    table.fill(0xff000000u);
    table.setColorSpace(page.colorSpace());
    for (std::size_t i = 0; i < colours.size(); ++i)
        reinterpret_cast<QRgb *>(table.scanLine(int(i / TableWidth)))[i % TableWidth] = colours[i];
    const QImage greys = table.convertToFormat(QImage::Format_Grayscale8);
    // Only the colours of the page are ever looked up: the rest of the
    // table is never touched, so never given memory.
    const std::unique_ptr<uchar[]> grey(new uchar[ColourCount]);
    for (std::size_t i = 0; i < colours.size(); ++i)
        grey[colours[i] & 0xffffffu] = greys.constScanLine(int(i / TableWidth))[i % TableWidth];

    QImage out = imaging::NewPageImage(width, height, QImage::Format_Grayscale8);
    if (out.isNull())
        return page.convertToFormat(QImage::Format_Grayscale8);
    uchar *bits = out.bits(); // detached here, once, not in each band
    const qsizetype stride = out.bytesPerLine();
    imaging::InBands(height, [&](int, int from, int to) {
        for (int y = from; y < to; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(page.constScanLine(y));
            uchar *target = bits + y * stride;
            for (int x = 0; x < width; ++x)
                target[x] = grey[line[x] & 0xffffffu];
        }
    });
    out.setDotsPerMeterX(page.dotsPerMeterX());
    out.setDotsPerMeterY(page.dotsPerMeterY());
    out.setOffset(page.offset());
    out.setDevicePixelRatio(page.devicePixelRatio());
    for (const QString &key : page.textKeys())
        out.setText(key, page.text(key));
    out.setColorSpace(greys.colorSpace());
    return out;
}

} // namespace twainclient
