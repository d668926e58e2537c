// Capabilities against the fake source: pixel-type negotiation, one-value
// set, current-value get, the typed accessors, FIX32 and item types.
#include "TwainFixture.h"

#include <QByteArray>
#include <cfenv>
#include <cmath>
#include <cstring>
#include <limits>

using namespace twaintest;

namespace {

/// A container block: its fixed part, then 16-bit items.
TW_HANDLE container16(TW_UINT16 conType, TW_UINT16 itemType, std::vector<TW_UINT16> items,
                      TW_UINT32 numItems = 0xFFFFFFFF, TW_UINT32 current = 0)
{
    const std::size_t at = conType == TWON_ENUMERATION ? offsetof(TW_ENUMERATION, ItemList)
                           : conType == TWON_ARRAY     ? offsetof(TW_ARRAY, ItemList)
                                                       : offsetof(TW_ONEVALUE, Item);
    TW_HANDLE h = GlobalAlloc(GHND, std::max(at + 2 * items.size(), sizeof(TW_ONEVALUE)));
    auto *p = static_cast<TW_UINT8 *>(GlobalLock(h));
    std::memcpy(p, &itemType, 2);
    const TW_UINT32 n = numItems == 0xFFFFFFFF ? TW_UINT32(items.size()) : numItems;
    if (conType != TWON_ONEVALUE)
        std::memcpy(p + 2, &n, 4);
    if (conType == TWON_ENUMERATION) {
        std::memcpy(p + 6, &current, 4);
        std::memcpy(p + 10, &current, 4);
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        std::memcpy(p + at + 2 * i, &items[i], 2);
    GlobalUnlock(h);
    return h;
}

struct Sent
{
    bool seen = false;
    TW_UINT16 cap = 0;
    TW_UINT16 conType = 0;
    QByteArray block;
};

class CapabilityTest : public FakeSessionTest
{
public:
    void SetUp() override
    {
        FakeSessionTest::SetUp();
        dsm.answer(DAT_CAPABILITY, MSG_SET, [this](TW_MEMREF data) {
            const auto *cap = static_cast<pTW_CAPABILITY>(data);
            sent.seen = true;
            sent.cap = cap->Cap;
            sent.conType = cap->ConType;
            const void *p = GlobalLock(cap->hContainer);
            sent.block = QByteArray(static_cast<const char *>(p), qsizetype(GlobalSize(cap->hContainer)));
            GlobalUnlock(cap->hContainer);
            return setResult;
        });
    }
    /// The source answers MSG_GET (or MSG_GETCURRENT) with this container.
    void offer(TW_UINT16 msg, TW_UINT16 conType, TW_HANDLE block)
    {
        dsm.answer(DAT_CAPABILITY, msg, [this, conType, block](TW_MEMREF data) {
            auto *cap = static_cast<pTW_CAPABILITY>(data);
            askedConType = cap->ConType;
            askedHandle = cap->hContainer;
            askedCap = cap->Cap;
            cap->ConType = conType;
            cap->hContainer = block;
            return TW_UINT16(TWRC_SUCCESS);
        });
    }
    TW_UINT16 item16(int i) const
    {
        TW_UINT16 v;
        const int at = sent.conType == TWON_ENUMERATION ? 14 : 6;
        std::memcpy(&v, sent.block.constData() + at + 2 * i, 2);
        return v;
    }
    TW_UINT32 field32(int offset) const
    {
        TW_UINT32 v;
        std::memcpy(&v, sent.block.constData() + offset, 4);
        return v;
    }

    Sent sent;
    TW_UINT16 setResult = TWRC_SUCCESS;
    TW_UINT16 askedConType = 0;
    TW_UINT16 askedCap = 0;
    TW_HANDLE askedHandle = reinterpret_cast<TW_HANDLE>(1);
};

TEST_F(CapabilityTest, Fix32ConvertsBothWays)
{
    const TW_FIX32 f300 = twain::ToFix32(300.0);
    EXPECT_EQ(f300.Whole, 300);
    EXPECT_EQ(f300.Frac, 0);
    EXPECT_DOUBLE_EQ(twain::Fix32ToFloat(TW_FIX32{150, 32768}), 150.5);
    EXPECT_DOUBLE_EQ(twain::Fix32ToFloat(TW_FIX32{-2, 32768}), -1.5);
    const TW_FIX32 neg = twain::ToFix32(-1.5);
    EXPECT_EQ(neg.Whole, -2);
    EXPECT_EQ(neg.Frac, 32768);
    // To the nearest step, half a step to the even one, whatever rounding
    // mode the host set.
    struct Case
    {
        double value;
        TW_INT16 whole;
        TW_UINT16 frac;
    };
    constexpr double Step = 1.0 / 65536.0;
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        for (const Case &c :
             {Case{1.0 + Step, 1, 1}, Case{1.0 + 2 * Step, 1, 2}, Case{150.25, 150, 16384}, Case{1.0 + 0.4 * Step, 1, 0},
              Case{1.0 + 0.6 * Step, 1, 1}, Case{-1.0 - Step, -2, 65535}, Case{-0.4 * Step, 0, 0},
              Case{0.5 * Step, 0, 0}, Case{1.5 * Step, 0, 2}, Case{2.5 * Step, 0, 2}, Case{-0.5 * Step, 0, 0},
              Case{-1.5 * Step, -1, 65534}, Case{-2.5 * Step, -1, 65534}, Case{150.5 + 0.5 * Step, 150, 32768}}) {
            SCOPED_TRACE(testing::Message() << c.value * 65536.0 << " steps, rounding mode " << mode);
            const TW_FIX32 f = twain::ToFix32(c.value);
            EXPECT_EQ(f.Whole, c.whole);
            EXPECT_EQ(f.Frac, c.frac);
        }
    }
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(twain::ToFix32(0.25).Frac, 16384);
    // Beyond what a FIX32 holds: the nearest end; not a number: zero.
    const TW_FIX32 high = twain::ToFix32(1e12);
    EXPECT_EQ(high.Whole, 32767);
    EXPECT_EQ(high.Frac, 65535);
    const TW_FIX32 low = twain::ToFix32(-1e12);
    EXPECT_EQ(low.Whole, -32768);
    EXPECT_EQ(low.Frac, 0);
    const TW_FIX32 nan = twain::ToFix32(std::nan(""));
    EXPECT_EQ(nan.Whole, 0);
    EXPECT_EQ(nan.Frac, 0);
    const TW_FIX32 infinite = twain::ToFix32(std::numeric_limits<double>::infinity());
    EXPECT_EQ(infinite.Whole, 32767);
}

TEST_F(CapabilityTest, ItemSizesAndTypeMatching)
{
    const int sizes[] = {1, 2, 4, 1, 2, 4, 2, 4, 16, 34, 66, 130, 256};
    for (int t = 0; t <= 12; ++t)
        EXPECT_EQ(twain::ItemSize(t), sizes[t]) << t;
    EXPECT_EQ(twain::ItemSize(13), 0);
    EXPECT_EQ(twain::ItemSize(-1), 0);
    EXPECT_TRUE(twain::TypeMatch(TWTY_INT16, TWTY_UINT16));
    EXPECT_TRUE(twain::TypeMatch(TWTY_UINT32, TWTY_INT32));
    EXPECT_TRUE(twain::TypeMatch(TWTY_INT8, TWTY_UINT8));
    EXPECT_TRUE(twain::TypeMatch(TWTY_FIX32, TWTY_FIX32));
    EXPECT_FALSE(twain::TypeMatch(TWTY_INT16, TWTY_INT32));
    EXPECT_FALSE(twain::TypeMatch(TWTY_FIX32, TWTY_INT32)); // same size, not integers
    EXPECT_FALSE(twain::TypeMatch(TWTY_BOOL, TWTY_UINT16));
}

TEST_F(CapabilityTest, NegotiationOutsideStateFourOrWithoutMaskAsksNobody)
{
    EXPECT_EQ(TWAIN_NegotiatePixelTypes(TWAIN_GRAY), 0);
    EXPECT_EQ(twain::session().errorCode, 7);
    walkTo(4);
    EXPECT_EQ(TWAIN_NegotiatePixelTypes(TWAIN_ANYTYPE), 1);
    EXPECT_EQ(dsm.count(DAT_CAPABILITY, MSG_GET), 0);
}

TEST_F(CapabilityTest, AnEnumerationIsCutToTheMaskAndSentBack)
{
    walkTo(4);
    offer(MSG_GET, TWON_ENUMERATION, container16(TWON_ENUMERATION, TWTY_UINT16, {TWPT_BW, TWPT_GRAY, TWPT_RGB}, 3, 2));
    EXPECT_EQ(TWAIN_NegotiatePixelTypes(TWAIN_GRAY), 1);
    EXPECT_EQ(askedCap, ICAP_PIXELTYPE);
    EXPECT_EQ(askedConType, TWON_ENUMERATION);
    EXPECT_EQ(askedHandle, nullptr);
    ASSERT_TRUE(sent.seen);
    EXPECT_EQ(sent.cap, ICAP_PIXELTYPE);
    EXPECT_EQ(sent.conType, TWON_ENUMERATION);
    EXPECT_EQ(field32(2), 1u);                 // NumItems
    EXPECT_EQ(field32(6), 0xFFFFFFFFu);        // CurrentIndex
    EXPECT_EQ(field32(10), 0xFFFFFFFFu);       // DefaultIndex
    EXPECT_EQ(item16(0), TWPT_GRAY);
    EXPECT_EQ(twain::session().errorCode, 0);
}

TEST_F(CapabilityTest, AnArrayIsRewrittenInAscendingOrder)
{
    walkTo(4);
    offer(MSG_GET, TWON_ARRAY, container16(TWON_ARRAY, TWTY_INT16, {TWPT_PALETTE, TWPT_RGB, TWPT_BW, TWPT_RGB}));
    EXPECT_EQ(TWAIN_NegotiatePixelTypes(TWAIN_RGB | TWAIN_PALETTE | TWAIN_BW), 1);
    ASSERT_TRUE(sent.seen);
    EXPECT_EQ(field32(2), 3u);
    EXPECT_EQ(item16(0), TWPT_BW);
    EXPECT_EQ(item16(1), TWPT_RGB);
    EXPECT_EQ(item16(2), TWPT_PALETTE);
}

TEST_F(CapabilityTest, AOneValueIsTestedAgainstTheMaskAndNotSentBack)
{
    walkTo(4);
    offer(MSG_GET, TWON_ONEVALUE, container16(TWON_ONEVALUE, TWTY_UINT16, {TWPT_RGB}));
    EXPECT_EQ(TWAIN_NegotiatePixelTypes(TWAIN_GRAY), 0);
    EXPECT_EQ(twain::session().errorCode, 13);
    EXPECT_FALSE(sent.seen);

    twain::ClearError();
    offer(MSG_GET, TWON_ONEVALUE, container16(TWON_ONEVALUE, TWTY_UINT16, {TWPT_RGB}));
    EXPECT_EQ(TWAIN_NegotiatePixelTypes(TWAIN_GRAY | TWAIN_RGB), TWAIN_RGB);
    EXPECT_FALSE(sent.seen);
}

TEST_F(CapabilityTest, EveryRefusedContainerRecordsItsError)
{
    struct Case
    {
        const char *what;
        std::function<void(CapabilityTest &)> arrange;
        int error;
    };
    static TW_UINT8 notABlock[64] = {};
    const Case cases[] = {
        {"request fails", [](CapabilityTest &t) { t.dsm.answerRc(DAT_CAPABILITY, MSG_GET, TWRC_FAILURE); }, 2},
        {"null container", [](CapabilityTest &t) { t.offer(MSG_GET, TWON_ENUMERATION, nullptr); }, 8},
        {"not a block", [](CapabilityTest &t) { t.offer(MSG_GET, TWON_ENUMERATION, notABlock); }, 9},
        {"unknown kind", [](CapabilityTest &t) {
             t.offer(MSG_GET, TWON_RANGE, container16(TWON_ONEVALUE, TWTY_UINT16, {TWPT_GRAY}));
         }, 10},
        {"32-bit items", [](CapabilityTest &t) {
             t.offer(MSG_GET, TWON_ARRAY, container16(TWON_ARRAY, TWTY_UINT32, {TWPT_GRAY, 0}));
         }, 11},
        {"empty enumeration", [](CapabilityTest &t) {
             t.offer(MSG_GET, TWON_ENUMERATION, container16(TWON_ENUMERATION, TWTY_UINT16, {}, 0));
         }, 12},
        {"empty array", [](CapabilityTest &t) {
             t.offer(MSG_GET, TWON_ARRAY, container16(TWON_ARRAY, TWTY_UINT16, {}, 0));
         }, 12},
        {"nothing in common", [](CapabilityTest &t) {
             t.offer(MSG_GET, TWON_ENUMERATION, container16(TWON_ENUMERATION, TWTY_UINT16, {TWPT_BW, TWPT_RGB}));
         }, 13},
        {"more items claimed than the block holds", [](CapabilityTest &t) {
             t.offer(MSG_GET, TWON_ARRAY, container16(TWON_ARRAY, TWTY_UINT16, {TWPT_GRAY}, 100000));
         }, 9},
        {"set refused", [](CapabilityTest &t) {
             t.setResult = TWRC_FAILURE;
             t.offer(MSG_GET, TWON_ENUMERATION, container16(TWON_ENUMERATION, TWTY_UINT16, {TWPT_GRAY}));
         }, 3},
    };
    walkTo(4);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        twain::ClearError();
        sent = Sent{};
        setResult = TWRC_SUCCESS;
        dsm.answer(DAT_CAPABILITY, MSG_GET, nullptr);
        c.arrange(*this);
        EXPECT_EQ(TWAIN_NegotiatePixelTypes(TWAIN_GRAY), 0);
        EXPECT_EQ(twain::session().errorCode, c.error);
        EXPECT_EQ(sent.seen, c.error == 3);
    }
}

TEST_F(CapabilityTest, SettingAOneValueNeedsStateFour)
{
    walkTo(3);
    EXPECT_FALSE(TWAIN_SetCapOneValue(ICAP_UNITS, TWTY_UINT16, TWUN_PIXELS));
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("Attempt to set capability outside State 4.")});
    EXPECT_FALSE(sent.seen);

    ASSERT_TRUE(TWAIN_OpenDefaultSource());
    EXPECT_TRUE(TWAIN_SetCapOneValue(ICAP_UNITS, TWTY_UINT16, TWUN_PIXELS));
    EXPECT_EQ(sent.cap, ICAP_UNITS);
    EXPECT_EQ(sent.conType, TWON_ONEVALUE);
    ASSERT_EQ(sent.block.size(), 6);
    TW_ONEVALUE one;
    std::memcpy(&one, sent.block.constData(), 6);
    EXPECT_EQ(one.ItemType, TWTY_UINT16);
    EXPECT_EQ(TW_UINT32(one.Item), TW_UINT32(TWUN_PIXELS));
    setResult = TWRC_FAILURE;
    EXPECT_FALSE(TWAIN_SetCapOneValue(ICAP_UNITS, TWTY_UINT16, TWUN_PIXELS));
}

TEST_F(CapabilityTest, TheTypedSettersSendTheirCapabilityAndType)
{
    walkTo(4);
    struct Case
    {
        std::function<TWAIN_BOOL()> set;
        TW_UINT16 cap;
        TW_UINT16 type;
        TW_UINT32 item;
    };
    const Case cases[] = {
        {[] { return TWAIN_SetCurrentUnits(TWUN_CENTIMETERS); }, ICAP_UNITS, TWTY_UINT16, TWUN_CENTIMETERS},
        {[] { return TWAIN_SetBitDepth(8); }, ICAP_BITDEPTH, TWTY_UINT16, 8},
        {[] { return TWAIN_SetCurrentPixelType(TWPT_GRAY); }, ICAP_PIXELTYPE, TWTY_UINT16, TWPT_GRAY},
        {[] { return TWAIN_NegotiateXferCount(-1); }, CAP_XFERCOUNT, TWTY_INT16, 0xFFFFFFFFu},
        {[] { return TWAIN_SetCurrentResolution(300.0); }, ICAP_XRESOLUTION, TWTY_FIX32, 300u},
    };
    for (const Case &c : cases) {
        sent = Sent{};
        EXPECT_TRUE(c.set());
        TW_ONEVALUE one;
        std::memcpy(&one, sent.block.constData(), 6);
        EXPECT_EQ(sent.cap, c.cap);
        EXPECT_EQ(one.ItemType, c.type);
        EXPECT_EQ(TW_UINT32(one.Item), c.item) << c.cap;
    }
}

TEST_F(CapabilityTest, GettingTheCurrentValueReadsOneValuesAndEnumerations)
{
    EXPECT_EQ(TWAIN_GetCurrentUnits(), 0);
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("Attempt to get capability value below State 4.")});

    walkTo(4);
    offer(MSG_GETCURRENT, TWON_ONEVALUE, container16(TWON_ONEVALUE, TWTY_UINT16, {TWUN_PIXELS}));
    EXPECT_EQ(TWAIN_GetCurrentUnits(), TWUN_PIXELS);
    EXPECT_EQ(askedCap, ICAP_UNITS);
    EXPECT_EQ(askedConType, TWON_ONEVALUE);

    offer(MSG_GETCURRENT, TWON_ENUMERATION, container16(TWON_ENUMERATION, TWTY_INT16, {1, 8, 24}, 3, 2));
    EXPECT_EQ(TWAIN_GetBitDepth(), 24); // INT16 matches the UINT16 asked for
    EXPECT_EQ(askedCap, ICAP_BITDEPTH);

    offer(MSG_GETCURRENT, TWON_ENUMERATION, container16(TWON_ENUMERATION, TWTY_UINT16, {1, 8}, 2, 2));
    EXPECT_EQ(TWAIN_GetPixelType(), 0); // index past the items

    offer(MSG_GETCURRENT, TWON_ENUMERATION, container16(TWON_ENUMERATION, TWTY_UINT16, {1, 8}, 50, 40));
    EXPECT_EQ(TWAIN_GetPixelType(), 0); // an index inside the count, outside the block

    offer(MSG_GETCURRENT, TWON_ONEVALUE, container16(TWON_ONEVALUE, TWTY_UINT32, {5}));
    EXPECT_EQ(TWAIN_GetCurrentUnits(), 0); // type mismatch

    offer(MSG_GETCURRENT, TWON_ARRAY, container16(TWON_ARRAY, TWTY_UINT16, {5}));
    EXPECT_EQ(TWAIN_GetCurrentUnits(), 0); // arrays have no current value
}

TEST_F(CapabilityTest, AContainerReturnedWithAFailedAnswerIsFreed)
{
    walkTo(4);
    TW_HANDLE current = container16(TWON_ONEVALUE, TWTY_UINT16, {TWUN_PIXELS});
    TW_HANDLE offered = container16(TWON_ENUMERATION, TWTY_UINT16, {0, 1, 2});
    for (TW_UINT16 msg : {TW_UINT16(MSG_GETCURRENT), TW_UINT16(MSG_GET)}) {
        TW_HANDLE block = msg == MSG_GET ? offered : current;
        dsm.answer(DAT_CAPABILITY, msg, [block](TW_MEMREF data) {
            static_cast<pTW_CAPABILITY>(data)->hContainer = block;
            return TW_UINT16(TWRC_FAILURE);
        });
    }
    ASSERT_GT(GlobalSize(current), 0u);
    EXPECT_EQ(TWAIN_GetCurrentUnits(), 0);
    EXPECT_EQ(GlobalSize(current), 0u);

    ASSERT_GT(GlobalSize(offered), 0u);
    EXPECT_EQ(TWAIN_NegotiatePixelTypes(TWAIN_GRAY), 0);
    EXPECT_EQ(GlobalSize(offered), 0u);
}

TEST_F(CapabilityTest, ResolutionComesAndGoesAsFix32)
{
    walkTo(4);
    TW_HANDLE h = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
    auto *one = static_cast<TW_ONEVALUE *>(GlobalLock(h));
    one->ItemType = TWTY_FIX32;
    const TW_FIX32 f{150, 32768};
    std::memcpy(&one->Item, &f, 4);
    GlobalUnlock(h);
    offer(MSG_GETCURRENT, TWON_ONEVALUE, h);
    EXPECT_DOUBLE_EQ(TWAIN_GetCurrentResolution(), 150.5);
    EXPECT_EQ(askedCap, ICAP_XRESOLUTION);

    dsm.answerRc(DAT_CAPABILITY, MSG_GETCURRENT, TWRC_FAILURE);
    EXPECT_DOUBLE_EQ(TWAIN_GetCurrentResolution(), 0.0);

    EXPECT_TRUE(TWAIN_SetCurrentResolution(300.0));
    TW_ONEVALUE sentOne;
    std::memcpy(&sentOne, sent.block.constData(), 6);
    TW_FIX32 sentFix;
    std::memcpy(&sentFix, &sentOne.Item, 4);
    EXPECT_EQ(sentOne.ItemType, TWTY_FIX32);
    EXPECT_EQ(sentFix.Whole, 300);
    EXPECT_EQ(sentFix.Frac, 0);

    EXPECT_TRUE(TWAIN_SetCurrentResolution(72.0 + 3.0 / 65536.0));
    std::memcpy(&sentOne, sent.block.constData(), 6);
    std::memcpy(&sentFix, &sentOne.Item, 4);
    EXPECT_EQ(sentFix.Whole, 72);
    EXPECT_EQ(sentFix.Frac, 3);
}

TEST_F(CapabilityTest, ANullOutputFailsTheCheckAndIsNeverWritten)
{
    walkTo(4);
    offer(MSG_GETCURRENT, TWON_ONEVALUE, container16(TWON_ONEVALUE, TWTY_UINT16, {3}));
    EXPECT_FALSE(TWAIN_GetCapCurrent(ICAP_UNITS, TWTY_UINT16, nullptr));
    EXPECT_TRUE(boxTexts().contains(QStringLiteral("Assertion failed")));
}

TEST_F(CapabilityTest, FilteringKeepsTheTypesOfTheMaskInAscendingOrder)
{
    TW_UINT16 items[] = {3, 3, 40, 0, 2};
    const uint32_t n = twain::FilterTypeList(reinterpret_cast<TW_UINT8 *>(items), 5, TWAIN_PALETTE | TWAIN_BW | TWAIN_GRAY);
    ASSERT_EQ(n, 2u);
    EXPECT_EQ(items[0], 0);
    EXPECT_EQ(items[1], 3);
}

} // namespace
