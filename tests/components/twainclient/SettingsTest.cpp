// The operator's settings on the protocol's values, and settings a source
// lacks passed over.
#include "support/ScannerSources.h"

#include "SourceCapabilities.h"
#include "TwainClient.h"

#include <gtest/gtest.h>

using namespace scannertest;
using twainclient::Outcome;

TEST(TwainClientSettings, PaperSizesOfTheOperatorsListWithAProtocolCode)
{
    struct Case
    {
        const char *name;
        std::optional<TW_UINT16> code;
    };
    for (const Case c : {Case{"A4", TW_UINT16(TWSS_A4)}, Case{"A5", TW_UINT16(TWSS_A5)},
                         Case{"Letter", TW_UINT16(TWSS_USLETTER)}, Case{"Legal", TW_UINT16(TWSS_USLEGAL)},
                         Case{"B5_JIS", TW_UINT16(TWSS_JISB5)}, Case{"B5_ISO", TW_UINT16(TWSS_ISOB5)},
                         Case{"Tabloid", TW_UINT16(TWSS_USLEDGER)},
                         // no code in the protocol, or no size at all
                         Case{"DL", std::nullopt}, Case{"Fanfold", std::nullopt}, Case{"ID-1", std::nullopt},
                         Case{"", std::nullopt}, Case{"a4", std::nullopt}}) {
        EXPECT_EQ(twainclient::PaperSizeFor(QLatin1String(c.name)), c.code) << c.name;
    }
}

TEST(TwainClientSettings, BrightnessAndOrientationOnTheProtocolsScale)
{
    struct Case
    {
        int brightness;
        double protocol;
    };
    for (const Case c : {Case{0, -1000}, Case{50, 0}, Case{100, 1000}, Case{75, 500}, Case{-5, -1000}, Case{120, 1000}})
        EXPECT_DOUBLE_EQ(twainclient::BrightnessFor(c.brightness), c.protocol) << c.brightness;
    EXPECT_EQ(twainclient::OrientationFor(twainclient::Orientation::Portrait), TWOR_PORTRAIT);
    EXPECT_EQ(twainclient::OrientationFor(twainclient::Orientation::Landscape), TWOR_LANDSCAPE);
}

TEST(TwainClientSettings, SettingsASourceLacksArePassedOver)
{
    ScannerSources sources;
    // Neither source has brightness, orientation or paper sizes; the
    // specimen's capability requests may also all fail.
    struct Case
    {
        const char *source;
        const char *faults;
    };
    for (const Case c : {Case{SpecimenSource, ""}, Case{SpecimenSource, "capsfail"}, Case{SaneSource, ""}}) {
        SCOPED_TRACE(testing::Message() << c.source << " " << c.faults);
        sources.setSpecimenFaults(QLatin1String(c.faults));
        twainclient::Settings settings;
        settings.brightness = 80;
        settings.orientation = twainclient::Orientation::Portrait;
        settings.paperSize = QStringLiteral("A4");
        settings.mode = twainclient::PictureMode::Grey;
        const twainclient::Result r = twainclient::AcquirePage(QLatin1String(c.source), settings);
        EXPECT_EQ(r.outcome, Outcome::Scanned) << r.message.toStdString();
        // The mode asked for, even from a source that took no setting.
        EXPECT_TRUE(r.page.isGrayscale());
    }
}
