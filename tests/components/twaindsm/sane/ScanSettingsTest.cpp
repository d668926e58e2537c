// The settings side of the SANE source on its own: which pixel type a
// device's mode delivers, numbers beyond what a SANE word holds, and the
// dialog's choice of source on a scanner that only has a feeder.
#include "support/SaneFixture.h"

#include "SaneDevice.h"
#include "ScanDialog.h"
#include "ScanSettings.h"

#include <QComboBox>
#include <cmath>
#include <limits>

using namespace sanetest;
using twainsane::ScanSettings;

TEST(ScanSettingsTest, ModesThatDeliverOneBitAreBlackAndWhite)
{
    struct Case
    {
        const char *mode;
        std::optional<TW_UINT16> type;
    };
    for (const Case c : {Case{"Lineart", TWPT_BW}, Case{"Binary", TWPT_BW}, Case{"Black & White", TWPT_BW},
                         // grey modes that dither to one bit per pixel
                         Case{"Gray[Error Diffusion]", TWPT_BW}, Case{"Halftone", TWPT_BW},
                         Case{"Dithered Gray", TWPT_BW},
                         Case{"Gray", TWPT_GRAY}, Case{"True Gray", TWPT_GRAY}, Case{"Color", TWPT_RGB},
                         Case{"24bit Color[Fast]", TWPT_RGB},
                         // colour at one bit per sample is no pixel type of ours
                         Case{"Color Halftone", std::nullopt}, Case{"Infrared", std::nullopt}}) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(ScanSettings::PixelTypeOfMode(QString::fromLatin1(c.mode)), c.type);
    }
}

TEST_F(SaneSourceTest, NumbersBeyondASaneWordAreHeldToTheOptionsRange)
{
    twainsane::Failure failure;
    const std::unique_ptr<twainsane::SaneDevice> device = twainsane::SaneDevice::Open("test:1", failure);
    ASSERT_NE(device, nullptr) << failure.message.toStdString();
    const auto resolution = device->numberRange("resolution");
    const auto left = device->numberRange("tl-x");
    ASSERT_TRUE(resolution && left);
    // Converted as they were, such values wrapped round to the smallest word.
    EXPECT_TRUE(device->setNumber("resolution", 1e12));
    EXPECT_DOUBLE_EQ(device->number("resolution").value_or(0), resolution->max);
    EXPECT_TRUE(device->setNumber("tl-x", 1e30));
    EXPECT_NEAR(device->number("tl-x").value_or(0), left->max, 1.0 / 65536);
    EXPECT_TRUE(device->setNumber("tl-x", -1e30));
    EXPECT_NEAR(device->number("tl-x").value_or(-1), left->min, 1.0 / 65536);
    EXPECT_FALSE(device->setNumber("tl-x", std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(device->setNumber("tl-x", std::numeric_limits<double>::infinity()));
    // As the source's options from the environment give them.
    EXPECT_TRUE(device->apply({QStringLiteral("resolution=75"), QStringLiteral("tl-x=-7e300")}));
    EXPECT_DOUBLE_EQ(device->number("resolution").value_or(0), 75);
    EXPECT_NEAR(device->number("tl-x").value_or(-1), left->min, 1.0 / 65536);
    EXPECT_TRUE(device->apply({QStringLiteral("resolution=4e9")}));
    EXPECT_DOUBLE_EQ(device->number("resolution").value_or(0), resolution->max);
}

TEST(ScanDialogTest, AFeederOnlyScannerIsOfferedItsFeederAlone)
{
    for (const bool flatbed : {true, false}) {
        SCOPED_TRACE(flatbed);
        twainsane::ScanChoices choices;
        choices.pixelTypes = {TWPT_GRAY, TWPT_RGB};
        choices.resolutions = {150, 300};
        choices.resolution = 300;
        choices.hasFeeder = true;
        choices.hasFlatbed = flatbed;
        choices.feeder = false; // as a device answers before its source is set
        std::optional<twainsane::ScanChoices> answered;
        twainsane::ScanDialog dialog(QStringLiteral("SANE: Noname"), choices,
                                     [&](twainsane::ScanDialog::Action a, const twainsane::ScanChoices &c) {
                                         if (a == twainsane::ScanDialog::Action::Scan)
                                             answered = c;
                                     });
        auto *source = dialog.findChild<QComboBox *>(QStringLiteral("cbSource"));
        ASSERT_NE(source, nullptr);
        QStringList items;
        for (int i = 0; i < source->count(); ++i)
            items << source->itemText(i);
        EXPECT_EQ(items, flatbed ? QStringList({QStringLiteral("Планшет"), QStringLiteral("Автоподатчик")})
                                 : QStringList{QStringLiteral("Автоподатчик")});
        Click(&dialog, "bScan");
        ASSERT_TRUE(answered.has_value());
        EXPECT_EQ(answered->feeder, !flatbed);
    }
}

TEST(ScanSettingsTest, BrightnessOfTheProtocolOnTheDevicesRangeAndBack)
{
    struct Case
    {
        double protocol;
        double min, max;
        double device;
    };
    for (const Case c : {Case{-1000, -100, 100, -100}, Case{0, -100, 100, 0}, Case{500, -100, 100, 50},
                         Case{1000, 0, 255, 255}, Case{0, 0, 255, 127.5}, Case{-500, 0, 255, 63.75},
                         // beyond the protocol's ends: held to the device's
                         Case{-2000, -100, 100, -100}}) {
        SCOPED_TRACE(testing::Message() << c.protocol << " on " << c.min << ".." << c.max);
        const twainsane::SaneDevice::Range range{c.min, c.max, 0};
        EXPECT_DOUBLE_EQ(ScanSettings::DeviceBrightness(c.protocol, range), c.device);
        EXPECT_DOUBLE_EQ(ScanSettings::ProtocolBrightness(c.device, range), std::clamp(c.protocol, -1000.0, 1000.0));
    }
}
