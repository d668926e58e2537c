// The pnm device through the package's TWAIN layer: a device without a mode
// to choose offers the pixel type its page comes in, so an application that
// asks for colour gets the colour page and one that asks for grey is told
// the device has none.
#include "PnmGlass.h"

#include "support/TestSupport.h"
#include "twain/MultiTWAIN_p.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(PnmSource, ADeviceWithoutModesOffersThePixelTypeOfItsPage)
{
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
