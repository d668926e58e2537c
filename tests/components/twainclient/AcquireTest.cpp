// One page from each kind of source, in the picture mode and at the
// resolution asked for, with and without the source's own window.
#include "support/ScannerSources.h"

#include "TwainClient.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace scannertest;
using twainclient::Outcome;
using twainclient::PictureMode;

namespace {

/// Whether any pixel has colour, and whether every pixel is black or white.
struct Look
{
    bool coloured = false;
    bool blackAndWhite = true;
};

Look LookOf(const QImage &page)
{
    Look look;
    const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            look.coloured |= qRed(p) != qGreen(p) || qGreen(p) != qBlue(p);
            look.blackAndWhite &= (p & 0xFFFFFF) == 0 || (p & 0xFFFFFF) == 0xFFFFFF;
        }
    return look;
}

} // namespace

TEST(TwainClientAcquire, APageInThePictureModeAsked)
{
    ScannerSources sources;
    struct Case
    {
        const char *source;
        PictureMode mode;
        bool coloured;
        bool blackAndWhite;
    };
    for (const Case c : {Case{SpecimenSource, PictureMode::Colour, true, false},
                         Case{SpecimenSource, PictureMode::Grey, false, false},
                         Case{SpecimenSource, PictureMode::BlackAndWhite, false, true},
                         Case{SaneSource, PictureMode::Colour, true, false},
                         Case{SaneSource, PictureMode::Grey, false, false},
                         Case{SaneSource, PictureMode::BlackAndWhite, false, true}}) {
        SCOPED_TRACE(testing::Message() << c.source << " mode " << int(c.mode));
        twainclient::Settings settings;
        settings.mode = c.mode;
        settings.resolution = 100;
        const twainclient::Result r = twainclient::AcquirePage(QLatin1String(c.source), settings);
        ASSERT_EQ(r.outcome, Outcome::Scanned) << r.message.toStdString();
        EXPECT_TRUE(r.message.isEmpty());
        const Look look = LookOf(r.page);
        EXPECT_EQ(look.coloured, c.coloured);
        EXPECT_EQ(look.blackAndWhite, c.blackAndWhite);
        // The DIB comes with the page only when it is the page as it stands:
        // written as a file, it reads back as the page.
        if (c.mode == PictureMode::Colour) {
            EXPECT_TRUE(r.dib.bytes);
        }
        if (r.dib.bytes) {
            const QString file = QDir(QDir::tempPath()).filePath(QStringLiteral("twainclient-dib-%1.bmp").arg(QCoreApplication::applicationPid()));
            ASSERT_EQ(twainclient::WriteDibFile(r.dib, file), QString());
            const QImage read(file);
            QFile::remove(file);
            EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), r.page.convertToFormat(QImage::Format_RGB32));
        }
    }
}

TEST(TwainClientAcquire, ThePageHasTheResolutionAsked)
{
    ScannerSources sources;
    for (const char *source : {SpecimenSource, SaneSource}) {
        SCOPED_TRACE(source);
        twainclient::Settings settings;
        settings.resolution = 150;
        const QImage low = twainclient::AcquirePage(QLatin1String(source), settings).page;
        settings.resolution = 300;
        const QImage high = twainclient::AcquirePage(QLatin1String(source), settings).page;
        ASSERT_FALSE(low.isNull());
        ASSERT_FALSE(high.isNull());
        // Twice the dots per inch, twice the pixels (a pixel more or less
        // where the page's edge falls between two).
        EXPECT_NEAR(high.width(), 2 * low.width(), 2);
        EXPECT_NEAR(high.height(), 2 * low.height(), 2);
    }
}

TEST(TwainClientAcquire, TheSourcesWindowScansOrCancelsAsTheOperatorAnswersIt)
{
    ScannerSources sources;
    struct Case
    {
        const char *source;
        const char *dialog;
        const char *button;
        Outcome outcome;
    };
    for (const Case c : {Case{SpecimenSource, "SpecimenScanDialog", "bScan", Outcome::Scanned},
                         Case{SpecimenSource, "SpecimenScanDialog", "bCancel", Outcome::Cancelled},
                         Case{SaneSource, "SaneScanDialog", "bScan", Outcome::Scanned},
                         Case{SaneSource, "SaneScanDialog", "bCancel", Outcome::Cancelled}}) {
        SCOPED_TRACE(testing::Message() << c.source << " " << c.button);
        DialogAnswer operatorAnswers(c.dialog, [&c](QWidget *dialog) { Click(dialog, c.button); });
        twainclient::Settings settings;
        settings.resolution = 100;
        settings.showSourceWindow = true;
        const twainclient::Result r = twainclient::AcquirePage(QLatin1String(c.source), settings);
        EXPECT_TRUE(operatorAnswers.answered());
        EXPECT_EQ(r.outcome, c.outcome) << r.message.toStdString();
        EXPECT_EQ(r.page.isNull(), c.outcome != Outcome::Scanned);
    }
}
