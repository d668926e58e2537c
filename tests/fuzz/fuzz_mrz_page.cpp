// A page picture reaching the zone reader of the engine stand-ins: a picture
// file of any format through the page loader, or a small black-and-white
// raster. Beyond "no crash": a zone found has the lines of its format, one
// mark per character, a quarter turn, and fields whose characters point into
// the zone; a page that cannot be read gives a reason.
//
// Input: one byte of options (bit 0 a raster instead of a file, bits 1-2
// the raster's magnification - 1, bit 3 only an upright zone counts, bits
// 4-5 the candidate zones tried - 1), then for a file its bytes, for a
// raster one byte of width / 4 - 4 and its rows, one bit per pixel.
#include "FuzzGlyphs.h"
#include "FuzzCheck.h"

#include "MrzReader.h"
#include "platform/PageLoader.h"

#include <QBuffer>
#include <QImageReader>
#include <cstddef>
#include <cstdint>

namespace {

// Larger pages are the decoders' business (fuzzed as pictures of their own)
// and would only slow the search down.
constexpr int kLargestSide = 640;

QImage Raster(const uint8_t *data, size_t size, int scale)
{
    if (size < 1)
        return {};
    const int width = 16 + 4 * data[0];
    const size_t bits = (size - 1) * 8;
    const int height = int(std::min<size_t>(bits / size_t(width), size_t(kLargestSide / scale)));
    if (height < 1 || width * scale > kLargestSide * 2)
        return {};
    QImage image(width * scale, height * scale, QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y) {
        uchar *row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const size_t bit = size_t(y / scale) * size_t(width) + size_t(x / scale);
            row[x] = (data[1 + bit / 8] >> (7 - bit % 8)) & 1 ? 0 : 255;
        }
    }
    return image;
}

bool SmallPicture(const uint8_t *data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize declared = reader.size();
    return declared.isValid() && declared.width() <= kLargestSide && declared.height() <= kLargestSide;
}

void CheckResult(const mrz::MrzResult &r)
{
    if (!r.found)
        return;
    const mrz::Layout layout = mrz::LayoutOf(r.format);
    FUZZ_CHECK(r.lines.size() == layout.lines);
    for (const QString &line : r.lines)
        FUZZ_CHECK(line.size() == layout.length);
    const size_t characters = size_t(layout.lines * layout.length);
    FUZZ_CHECK(r.confidence.size() == characters && r.trusted.size() == characters && r.checkFailed.size() == characters);
    FUZZ_CHECK(r.turn == 0 || r.turn == 90 || r.turn == 180 || r.turn == 270);
    for (const mrz::FieldEntry &e : mrz::FieldTable()) {
        const mrz::FieldText &f = r.fields.*(e.member);
        FUZZ_CHECK(f.positions.size() == size_t(f.value.size()));
        for (int p : f.positions)
            FUZZ_CHECK(p >= -1 && p < int(characters));
        r.Marks(f);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::StartGlyphs(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t options = data[0];
    ++data, --size;
    QImage page;
    if (options & 1) {
        page = Raster(data, size, 1 + ((options >> 1) & 3));
    } else {
        if (!SmallPicture(data, size))
            return 0;
        QString error;
        page = imaging::LoadPage(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), &error);
        FUZZ_CHECK(page.isNull() != error.isEmpty());
    }
    if (page.isNull())
        return 0;
    mrz::ReadOptions read;
    read.anyTurn = !(options & 8);
    read.maxCandidates = 1 + ((options >> 4) & 3);
    const mrz::MrzResult r = mrz::ReadMrz(page, read);
    FUZZ_CHECK(r.error.isEmpty());
    CheckResult(r);
    if (!read.anyTurn && r.found)
        FUZZ_CHECK(r.turn == 0);
    return 0;
}
