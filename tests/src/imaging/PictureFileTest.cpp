// Picture files: JPEG decoding and the extension rule, with damaged files of
// several kinds.
#include "imaging/JpegImage.h"
#include "imaging/PictureFile.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>
#include <stdexcept>
#include <turbojpeg.h>

namespace {

// Quadrants of flat colour, which survive JPEG compression almost unchanged.
QImage quadrants(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, x < w / 2 ? (y < h / 2 ? qRgb(200, 30, 30) : qRgb(30, 200, 30))
                                           : (y < h / 2 ? qRgb(30, 30, 200) : qRgb(240, 240, 240)));
    return image;
}

QByteArray encodeJpeg(const QImage &image, bool gray = false)
{
    tjhandle handle = tjInitCompress();
    unsigned char *out = nullptr;
    unsigned long size = 0;
    const int rc = tjCompress2(handle, image.constBits(), image.width(), int(image.bytesPerLine()), image.height(),
                               TJPF_BGRX, &out, &size, gray ? TJSAMP_GRAY : TJSAMP_444, 98, 0);
    QByteArray bytes = rc == 0 ? QByteArray(reinterpret_cast<const char *>(out), qsizetype(size)) : QByteArray();
    tjFree(out);
    tjDestroy(handle);
    return bytes;
}

QByteArray encodeBmp(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, "BMP");
    return bytes;
}

bool near(QRgb a, QRgb b, int tolerance = 6)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Index of the start-of-frame marker's height field.
qsizetype frameSizeOffset(const QByteArray &jpeg)
{
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    return sof < 0 ? -1 : sof + 5;
}

QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = r9test::TestHome() + QLatin1Char('/') + name;
    r9test::WriteFile(path, bytes);
    return path;
}

std::string errorOf(const QString &path)
{
    try {
        imaging::LoadPictureFile(path);
    } catch (const std::runtime_error &e) {
        return e.what();
    }
    return {};
}

TEST(JpegDecoding, DecodesColourAndGreyPictures)
{
    const QImage picture = quadrants(33, 17);
    const QByteArray jpeg = encodeJpeg(picture);
    ASSERT_FALSE(jpeg.isEmpty());
    const QImage decoded = imaging::DecodeJpeg(jpeg);
    ASSERT_EQ(decoded.size(), picture.size());
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    for (QPoint p : {QPoint(2, 2), QPoint(30, 2), QPoint(2, 15), QPoint(30, 15)})
        EXPECT_TRUE(near(decoded.pixel(p), picture.pixel(p))) << p.x() << "," << p.y();
    EXPECT_EQ(qAlpha(decoded.pixel(0, 0)), 255);

    const QImage grey = imaging::DecodeJpeg(encodeJpeg(picture, true));
    const QRgb g = grey.pixel(30, 15);
    EXPECT_EQ(qRed(g), qGreen(g));
    EXPECT_EQ(qGreen(g), qBlue(g));
    EXPECT_GT(qRed(g), 230);
}

// Ink pictures as the programs that write them store ink: inverted, 255 is no ink.
QByteArray encodeInkJpeg(int w, int h, const std::array<uchar, 4> &ink, int flags)
{
    std::vector<uchar> pixels;
    for (int i = 0; i < w * h; ++i)
        pixels.insert(pixels.end(), ink.begin(), ink.end());
    tjhandle handle = tjInitCompress();
    unsigned char *out = nullptr;
    unsigned long size = 0;
    const int rc = tjCompress2(handle, pixels.data(), w, w * 4, h, TJPF_CMYK, &out, &size, TJSAMP_444, 98, flags);
    QByteArray bytes = rc == 0 ? QByteArray(reinterpret_cast<const char *>(out), qsizetype(size)) : QByteArray();
    tjFree(out);
    tjDestroy(handle);
    return bytes;
}

TEST(JpegDecoding, InkAndProgressivePicturesLoad)
{
    // Red as ink: no cyan, full magenta and yellow, no black.
    const QByteArray red = encodeInkJpeg(16, 8, {255, 0, 0, 255}, 0);
    ASSERT_FALSE(red.isEmpty());
    const QImage decoded = imaging::DecodeJpeg(red);
    ASSERT_EQ(decoded.size(), QSize(16, 8));
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    EXPECT_TRUE(near(decoded.pixel(8, 4), qRgb(255, 0, 0))) << std::hex << decoded.pixel(8, 4);
    // Half black over no colour ink: mid grey.
    const QImage grey = imaging::DecodeJpeg(encodeInkJpeg(8, 8, {255, 255, 255, 128}, TJFLAG_PROGRESSIVE));
    EXPECT_TRUE(near(grey.pixel(4, 4), qRgb(128, 128, 128))) << std::hex << grey.pixel(4, 4);

    const QImage picture = quadrants(33, 17);
    tjhandle handle = tjInitCompress();
    unsigned char *out = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(tjCompress2(handle, picture.constBits(), picture.width(), int(picture.bytesPerLine()), picture.height(),
                          TJPF_BGRX, &out, &size, TJSAMP_420, 95, TJFLAG_PROGRESSIVE), 0);
    const QByteArray progressive(reinterpret_cast<const char *>(out), qsizetype(size));
    tjFree(out);
    tjDestroy(handle);
    const QImage fromProgressive = imaging::DecodeJpeg(progressive);
    EXPECT_TRUE(near(fromProgressive.pixel(2, 2), picture.pixel(2, 2), 12));

    // Through the file loader as well, and a cut ink picture is still refused.
    EXPECT_EQ(imaging::LoadPictureFile(writeFile("ink.jpg", red)).size(), QSize(16, 8));
    EXPECT_THROW(imaging::DecodeJpeg(red.left(red.size() * 7 / 10)), std::runtime_error);
}

TEST(JpegDecoding, DamagedDataIsRejectedWhole)
{
    const QByteArray jpeg = encodeJpeg(quadrants(64, 48));
    ASSERT_GT(jpeg.size(), 200);

    QByteArray huge = jpeg; // a header that claims 65000 x 65000 pixels
    const qsizetype at = frameSizeOffset(huge);
    ASSERT_GT(at, 0);
    huge[at] = huge[at + 1] = huge[at + 2] = huge[at + 3] = char(0xFD);

    QByteArray zeroWidth = jpeg;
    zeroWidth[at + 2] = zeroWidth[at + 3] = 0;

    QByteArray brokenTable = jpeg; // the first segment after SOI gets an impossible length
    brokenTable[4] = brokenTable[5] = char(0xFF);

    const QByteArray bmp = encodeBmp(quadrants(8, 8));

    const std::pair<const char *, QByteArray> damaged[] = {
        {"empty", QByteArray()},
        {"start marker only", QByteArray("\xFF\xD8", 2)},
        {"truncated header", jpeg.left(40)},
        {"truncated scan", jpeg.left(jpeg.size() * 6 / 10)},
        {"end of image cut", jpeg.left(jpeg.size() - 2)},
        {"huge frame", huge},
        {"zero width", zeroWidth},
        {"broken segment length", brokenTable},
        {"text", QByteArray("hello, this is not a picture")},
        {"bitmap", bmp},
    };
    for (const auto &[name, bytes] : damaged) {
        SCOPED_TRACE(name);
        EXPECT_THROW(imaging::DecodeJpeg(bytes), std::runtime_error);
    }
}

TEST(PictureFile, FormatFollowsTheExtension)
{
    const QImage picture = quadrants(10, 6);
    const QByteArray jpeg = encodeJpeg(picture);
    const QByteArray bmp = encodeBmp(picture);

    for (const char *name : {"Photo.jpg", "FULLIMAGE.JPG", "page.jpeg"}) {
        const QImage loaded = imaging::LoadPictureFile(writeFile(QString::fromLatin1(name), jpeg));
        EXPECT_EQ(loaded.size(), picture.size()) << name;
    }
    for (const char *name : {"scan.bmp", "SCAN.BMP"}) {
        const QImage loaded = imaging::LoadPictureFile(writeFile(QString::fromLatin1(name), bmp));
        EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32), picture) << name;
    }
}

TEST(PictureFile, BadFilesGiveAnErrorNamingTheFile)
{
    const QImage picture = quadrants(40, 30);
    const QByteArray jpeg = encodeJpeg(picture);
    const QByteArray bmp = encodeBmp(picture);

    const std::pair<const char *, QByteArray> files[] = {
        {"bitmap-in.jpg", bmp},
        {"cut.jpg", jpeg.left(jpeg.size() / 2)},
        {"jpeg-in.bmp", jpeg},
        {"cut-header.bmp", bmp.left(30)},
        {"cut-pixels.bmp", bmp.left(bmp.size() / 2)},
        {"last-byte-missing.bmp", bmp.left(bmp.size() - 1)},
        {"noise.bmp", QByteArray(500, 'x')},
        {"empty.bmp", QByteArray()},
        {"picture.xyz", bmp},
        {"no-extension", bmp},
    };
    for (const auto &[name, bytes] : files) {
        SCOPED_TRACE(name);
        const QString path = writeFile(QString::fromLatin1(name), bytes);
        const std::string error = errorOf(path);
        EXPECT_NE(error.find(path.toStdString()), std::string::npos) << error;
    }

    // Headers claiming more pixel data than any integer holds are read as
    // what they are: a file far too short for its claim.
    QByteArray huge = bmp.left(54);
    qToLittleEndian<qint32>(0x7FFFFFFF, huge.data() + 18); // width
    qToLittleEndian<qint32>(0x7FFFFFFF, huge.data() + 22); // height
    qToLittleEndian<quint16>(32, huge.data() + 28);        // bits per pixel
    qToLittleEndian<quint32>(0, huge.data() + 30);         // no compression
    huge.append(QByteArray(64, '\0'));
    const std::string claim = errorOf(writeFile("huge-claim.bmp", huge));
    EXPECT_NE(claim.find("обрезан"), std::string::npos) << claim;

    const QString missing = r9test::TestHome() + "/missing.jpg";
    EXPECT_NE(errorOf(missing).find(missing.toStdString()), std::string::npos);
    const QString missingBmp = r9test::TestHome() + "/missing.bmp";
    EXPECT_NE(errorOf(missingBmp).find(missingBmp.toStdString()), std::string::npos);
}

} // namespace
