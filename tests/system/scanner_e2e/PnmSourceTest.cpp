// The pnm device through the package's TWAIN layer: a device without a mode
// to choose offers the pixel type its page comes in, so an application that
// asks for colour gets the colour page and one that asks for grey is told
// the device has none.
#include "PnmGlass.h"

#include "support/TestSupport.h"
#include "twain/MultiTWAIN_p.h"
#include "TwainClient.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(PnmSource, ADeviceWithoutModesOffersThePixelTypeOfItsPage)
{
    r9test::KeepSaneBackendLoaded("pnm");
    struct Case
    {
        const char *name;
        QStringList options;
        int32_t asked;
        int bitsPerPixel; ///< of the page delivered; 0: none
    };
    const Case cases[] = {
        {"a colour page, colour asked for", {}, TWAIN_RGB, 24},
        {"a colour page, any type", {}, TWAIN_ANYTYPE, 24},
        {"a colour page, grey asked for", {}, TWAIN_GRAY, 0},
        {"the page read as grey, grey asked for", {QStringLiteral("grayify=yes")}, TWAIN_GRAY, 8},
        {"the page read as grey, colour asked for", {QStringLiteral("grayify=yes")}, TWAIN_RGB, 0},
    };
    pnmglass::Glass glass;
    ASSERT_TRUE(glass.IsValid());
    QImage page(120, 80, QImage::Format_RGB888);
    page.fill(QColor(200, 40, 40));
    ASSERT_TRUE(glass.Lay(page));
    // SANE reads its configuration folder once per process: this test's.
    qputenv("SANE_CONFIG_DIR", glass.ConfigFolder().toLocal8Bit());
    const QString manager = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm");
    QDir().mkpath(manager);
    r9test::WriteFile(manager + QStringLiteral("/default-source"), QByteArray(pnmglass::SourceName) + '\n');
    r9test::MessageBoxRecorder boxes;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        twain::ResetSessionForTests();
        TWAIN_SetHideUI(1);
        qputenv("TWAINSANE_OPTIONS", glass.SourceOptions(c.options).toLocal8Bit());
        TWAIN_HDIB dib = TWAIN_AcquireNative(0, c.asked);
        EXPECT_EQ(dib ? TWAIN_DibDepth(dib) : 0, c.bitsPerPixel);
        if (dib) {
            EXPECT_EQ(TWAIN_DibWidth(dib), page.width());
            EXPECT_EQ(TWAIN_DibHeight(dib), page.height());
            TWAIN_FreeNative(dib);
        }
    }
    qunsetenv("TWAINSANE_OPTIONS");
    twain::ResetSessionForTests();
}

TEST(PnmSource, TheEnginesBrightnessReachesADeviceThatHasIt)
{
    // The pnm device has a brightness of its own (-100..100 %), which it
    // works into the page it reads.
    pnmglass::Glass glass;
    ASSERT_TRUE(glass.IsValid());
    QImage page(40, 30, QImage::Format_Grayscale8);
    page.fill(128);
    ASSERT_TRUE(glass.Lay(page));
    qputenv("SANE_CONFIG_DIR", glass.ConfigFolder().toLocal8Bit());
    qputenv("TWAINSANE_OPTIONS", glass.SourceOptions({}).toLocal8Bit());
    // Offered to the operator as a setting of the scanner; what it lacks is not.
    const std::optional<twainclient::Offers> offers = twainclient::SourceOffers(QLatin1String(pnmglass::SourceName));
    ASSERT_TRUE(offers.has_value());
    EXPECT_TRUE(offers->brightness);
    EXPECT_FALSE(offers->orientation);
    EXPECT_FALSE(offers->paperSize);
    struct Case
    {
        int brightness; ///< the engine's 0..100
        int below, above; ///< the page's grey lies between
    };
    for (const Case c : {Case{0, 0, 40}, Case{50, 120, 136}, Case{75, 170, 186}, Case{100, 215, 255}}) {
        SCOPED_TRACE(c.brightness);
        twainclient::Settings settings;
        settings.mode = twainclient::PictureMode::Grey;
        settings.resolution = 0;
        settings.brightness = c.brightness;
        const twainclient::Result r = twainclient::AcquirePage(QLatin1String(pnmglass::SourceName), settings);
        ASSERT_EQ(r.outcome, twainclient::Outcome::Scanned) << r.message.toStdString();
        const int grey = qGray(r.page.pixel(r.page.width() / 2, r.page.height() / 2));
        EXPECT_GE(grey, c.below);
        EXPECT_LE(grey, c.above);
    }
    qunsetenv("TWAINSANE_OPTIONS");
}
