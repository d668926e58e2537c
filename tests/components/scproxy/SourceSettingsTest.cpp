// A scanning configuration as the settings of a scan on a source of the
// source manager: what the client can hand a source of it.
#include "components/scproxy/SourceScan.h"

#include <gtest/gtest.h>

using scproxy::ScanConfiguration;

TEST(ScProxySourceSettings, TheConfigurationsPageFrameResolutionsAndFeederReachTheSource)
{
    struct Case
    {
        const char *dimensions;
        QRectF frameMm; ///< empty: the source's own
        bool adf;
        int resolutionY;
    };
    for (const Case c : {Case{"0mm 0mm 210mm 270mm", QRectF(0, 0, 210, 270), false, 300},
                         Case{"10mm 5mm 150mm 107mm", QRectF(10, 5, 140, 102), true, 600},
                         Case{"0cm 0cm 21cm 18cm", QRectF(0, 0, 210, 180), false, 150},
                         Case{"0 0 1in 2in", QRectF(0, 0, 25.4, 50.8), false, 300},
                         Case{"", QRectF(), false, 300}, Case{"0mm 0mm 210mm", QRectF(), false, 300},
                         Case{"0mm 0mm wide 270mm", QRectF(), true, 300}}) {
        SCOPED_TRACE(c.dimensions);
        ScanConfiguration config;
        config.pageDimensions = c.dimensions;
        config.useAdf = c.adf;
        config.resolutionX = 300;
        config.resolutionY = c.resolutionY;
        const twainclient::Settings s = scproxy::engine::SourceSettings(config);
        EXPECT_EQ(s.frameMm, c.frameMm);
        EXPECT_EQ(s.feeder, std::optional<bool>(c.adf));
        EXPECT_EQ(s.resolution, 300);
        EXPECT_EQ(s.resolutionY, c.resolutionY);
    }
}
