// The standard capabilities as the SANE device's options: pixel type and
// bit depth from the mode, resolution in the application's units, the
// transfer count and the feeder, and values the device cannot take refused.
#include "support/SaneFixture.h"

#include <cstring>

#include "SaneStatus.h"    // the later condition codes
#include "platform/GlobalMemory.h"
#include "twain/LockedBlock.h"
#include "ScanSettings.h" // CAP_FEEDERENABLED

using namespace sanetest;

namespace {

/// Opens the default source (state 4) for the test's body and closes it after.
struct OpenSource
{
    OpenSource()
    {
        ok = TWAIN_LoadSourceManager() && TWAIN_OpenSourceManager(0) && TWAIN_OpenDefaultSource();
    }
    ~OpenSource()
    {
        TWAIN_CloseSource();
        TWAIN_CloseSourceManager(0);
        TWAIN_UnloadSourceManager();
    }
    bool ok = false;
};

/// The source's default pixel type (MSG_GETDEFAULT); 0xFFFF when not answered.
int defaultPixelType()
{
    TW_CAPABILITY cap{ICAP_PIXELTYPE, TWON_ONEVALUE, nullptr};
    if (!TWAIN_DS(DG_CONTROL, DAT_CAPABILITY, MSG_GETDEFAULT, &cap) || !cap.hContainer)
        return 0xFFFF;
    int type = 0xFFFF;
    {
        twain::LockedBlock block(cap.hContainer);
        TW_ONEVALUE one{};
        if (cap.ConType == TWON_ONEVALUE && block && block.size() >= sizeof one) {
            std::memcpy(&one, block.data(), sizeof one);
            type = int(one.Item);
        }
    }
    GlobalFree(cap.hContainer);
    return type;
}

} // namespace

TEST_F(SaneSourceTest, PixelTypeAndBitDepthFollowTheMode)
{
    setSourceOptions({}); // the source's own defaults
    OpenSource source;
    ASSERT_TRUE(source.ok);
    EXPECT_EQ(TWAIN_GetPixelType(), TWPT_RGB);
    EXPECT_EQ(TWAIN_GetBitDepth(), 24);
    EXPECT_DOUBLE_EQ(TWAIN_GetCurrentResolution(), 300.0);
    struct Case
    {
        int type;
        int depth;
    };
    for (const Case c : {Case{TWPT_BW, 1}, Case{TWPT_GRAY, 8}, Case{TWPT_RGB, 24}}) {
        SCOPED_TRACE(c.type);
        EXPECT_TRUE(TWAIN_SetCurrentPixelType(c.type));
        EXPECT_EQ(TWAIN_GetPixelType(), c.type);
        EXPECT_EQ(TWAIN_GetBitDepth(), c.depth);
        EXPECT_TRUE(TWAIN_SetBitDepth(c.depth));
        EXPECT_FALSE(TWAIN_SetBitDepth(c.depth == 8 ? 24 : 8));
        EXPECT_EQ(TWAIN_GetConditionCode(), TWCC_BADVALUE);
    }
    // The test device has no palette mode.
    EXPECT_FALSE(TWAIN_SetCurrentPixelType(TWPT_PALETTE));
    EXPECT_EQ(TWAIN_GetPixelType(), TWPT_RGB);
    EXPECT_EQ(defaultPixelType(), TWPT_RGB);
    // The layer's negotiation narrows the list and picks the first. Without
    // colour the default is grey, not black and white (as on a grey-only
    // device, which scans black and white as grey at one bit).
    EXPECT_TRUE(TWAIN_NegotiatePixelTypes(TWAIN_BW | TWAIN_GRAY));
    EXPECT_EQ(TWAIN_GetPixelType(), TWPT_BW);
    EXPECT_EQ(defaultPixelType(), TWPT_GRAY);
    EXPECT_TRUE(TWAIN_NegotiatePixelTypes(TWAIN_GRAY | TWAIN_RGB));
    EXPECT_EQ(TWAIN_GetPixelType(), TWPT_GRAY);
    EXPECT_FALSE(TWAIN_NegotiatePixelTypes(TWAIN_PALETTE));
}

TEST_F(SaneSourceTest, ResolutionIsTheDevicesInTheApplicationsUnits)
{
    OpenSource source;
    ASSERT_TRUE(source.ok);
    EXPECT_DOUBLE_EQ(TWAIN_GetCurrentResolution(), 100.0); // from the test's options
    EXPECT_TRUE(TWAIN_SetCurrentResolution(150.0));
    EXPECT_DOUBLE_EQ(TWAIN_GetCurrentResolution(), 150.0);
    EXPECT_EQ(TWAIN_GetCurrentUnits(), TWUN_INCHES);
    EXPECT_TRUE(TWAIN_SetCurrentUnits(TWUN_CENTIMETERS));
    EXPECT_NEAR(TWAIN_GetCurrentResolution(), 150.0 / 2.54, 1.0 / 65536);
    EXPECT_TRUE(TWAIN_SetCurrentResolution(100.0)); // dots per centimetre
    EXPECT_TRUE(TWAIN_SetCurrentUnits(TWUN_INCHES));
    EXPECT_NEAR(TWAIN_GetCurrentResolution(), 254.0, 1.0 / 65536);
    EXPECT_FALSE(TWAIN_SetCurrentUnits(TWUN_PIXELS));
    // A value between the device's steps is rounded, and the source says so
    // (TWRC_CHECKSTATUS, which the layer counts as not done).
    EXPECT_FALSE(TWAIN_SetCurrentResolution(299.7));
    EXPECT_EQ(TWAIN_GetResultCode(), TWRC_CHECKSTATUS);
    EXPECT_DOUBLE_EQ(TWAIN_GetCurrentResolution(), 300.0);
    // Beyond the device's range the value is refused and the old one stays.
    EXPECT_FALSE(TWAIN_SetCurrentResolution(5000.0));
    EXPECT_EQ(TWAIN_GetConditionCode(), TWCC_BADVALUE);
    EXPECT_DOUBLE_EQ(TWAIN_GetCurrentResolution(), 300.0);

    // The delivered page has the negotiated resolution.
    EXPECT_TRUE(TWAIN_SetCurrentResolution(200.0));
    ASSERT_TRUE(TWAIN_EnableSource(0));
    TWAIN_ModalEventLoop();
    ASSERT_EQ(TWAIN_GetNumDibs(), 1);
    EXPECT_NEAR(TWAIN_DibWidth(TWAIN_GetDib(0)), 25 / 25.4 * 200, 1.5);
}

TEST_F(SaneSourceTest, TransferCountAndFeederAreCheckedValues)
{
    OpenSource source;
    ASSERT_TRUE(source.ok);
    EXPECT_FALSE(TWAIN_NegotiateXferCount(0));
    EXPECT_FALSE(TWAIN_NegotiateXferCount(-2));
    EXPECT_TRUE(TWAIN_NegotiateXferCount(-1));
    EXPECT_TRUE(TWAIN_NegotiateXferCount(4));
    int16_t count = 0;
    EXPECT_TRUE(TWAIN_GetCapCurrent(CAP_XFERCOUNT, TWTY_INT16, &count));
    EXPECT_EQ(count, 4);
    uint16_t feeder = 7;
    EXPECT_TRUE(TWAIN_GetCapCurrent(CAP_FEEDERENABLED, TWTY_BOOL, &feeder));
    EXPECT_EQ(feeder, 0);
    EXPECT_TRUE(TWAIN_SetCapOneValue(CAP_FEEDERENABLED, TWTY_BOOL, 1));
    EXPECT_TRUE(TWAIN_GetCapCurrent(CAP_FEEDERENABLED, TWTY_BOOL, &feeder));
    EXPECT_EQ(feeder, 1);
    // Capabilities the source does not know.
    EXPECT_FALSE(TWAIN_SetCapOneValue(0x1234, TWTY_UINT16, 1));
    EXPECT_EQ(TWAIN_GetConditionCode(), TWCC_BADCAP);
}

TEST_F(SaneSourceTest, OnlyOneDeviceOfTheLibraryIsOpenAtATime)
{
    OpenSource source;
    ASSERT_TRUE(source.ok);
    TW_IDENTITY second{};
    std::strncpy(second.ProductName, SecondSource, sizeof second.ProductName - 1);
    EXPECT_FALSE(TWAIN_Mgr(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &second));
    TW_STATUS status{};
    TWAIN_Mgr(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    EXPECT_EQ(status.ConditionCode, TWCC_MAXCONNECTIONS);
}
