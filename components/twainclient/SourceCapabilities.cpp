#include "SourceCapabilities.h"

#include "platform/GlobalMemory.h"

#include <QHash>
#include <cmath>
#include <cstring>
#include <vector>

// The protocol's capability of the feeder, which the package's own TWAIN
// layer never asks for.
#ifndef CAP_FEEDERENABLED
#define CAP_FEEDERENABLED 0x1002
#endif

namespace twainclient {

namespace {

TW_UINT32 Fix32Item(double value)
{
    const auto whole = TW_INT32(std::floor(value));
    TW_FIX32 fix{TW_INT16(whole), TW_UINT16(std::lround((value - whole) * 65536.0) & 0xFFFF)};
    TW_UINT32 item = 0;
    std::memcpy(&item, &fix, sizeof fix);
    return item;
}

bool SetOneValue(ManagerSession &session, TW_UINT16 capability, TW_UINT16 type, TW_UINT32 item)
{
    TW_CAPABILITY cap{capability, TWON_ONEVALUE, GlobalAlloc(GHND, sizeof(TW_ONEVALUE))};
    auto *one = static_cast<pTW_ONEVALUE>(GlobalLock(cap.hContainer));
    if (!one)
        return false;
    one->ItemType = type;
    one->Item = item;
    GlobalUnlock(cap.hContainer);
    const TW_UINT16 rc = session.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap);
    GlobalFree(cap.hContainer);
    return rc == TWRC_SUCCESS || rc == TWRC_CHECKSTATUS;
}

/// The 16-bit values the source allows for capability; none when it does
/// not have the capability.
std::optional<std::vector<TW_UINT16>> AllowedValues(ManagerSession &session, TW_UINT16 capability)
{
    TW_CAPABILITY cap{capability, TWON_DONTCARE16, nullptr};
    if (session.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &cap) != TWRC_SUCCESS || !cap.hContainer)
        return std::nullopt;
    std::vector<TW_UINT16> values;
    const auto *bytes = static_cast<const TW_UINT8 *>(GlobalLock(cap.hContainer));
    const std::size_t size = GlobalSize(cap.hContainer);
    auto item = [&](std::size_t offset) {
        TW_UINT16 v = 0;
        if (offset + sizeof v <= size)
            std::memcpy(&v, bytes + offset, sizeof v);
        return v;
    };
    if (bytes && cap.ConType == TWON_ONEVALUE) {
        values.push_back(item(offsetof(TW_ONEVALUE, Item)));
    } else if (bytes && (cap.ConType == TWON_ENUMERATION || cap.ConType == TWON_ARRAY)) {
        TW_UINT32 count = 0;
        const std::size_t countAt = cap.ConType == TWON_ENUMERATION ? offsetof(TW_ENUMERATION, NumItems)
                                                                     : offsetof(TW_ARRAY, NumItems);
        const std::size_t listAt = cap.ConType == TWON_ENUMERATION ? offsetof(TW_ENUMERATION, ItemList)
                                                                    : offsetof(TW_ARRAY, ItemList);
        std::memcpy(&count, bytes + countAt, sizeof count);
        for (TW_UINT32 i = 0; i < count && listAt + 2 * (i + 1) <= size; ++i)
            values.push_back(item(listAt + 2 * i));
    }
    if (bytes)
        GlobalUnlock(cap.hContainer);
    GlobalFree(cap.hContainer);
    return values;
}

/// Sets a 16-bit capability where the source has it and allows value (a
/// source answering a range or another container is simply asked).
void SetWhereOffered(ManagerSession &session, TW_UINT16 capability, TW_UINT16 value)
{
    const auto allowed = AllowedValues(session, capability);
    if (!allowed)
        return;
    if (!allowed->empty() && std::find(allowed->begin(), allowed->end(), value) == allowed->end())
        return;
    SetOneValue(session, capability, TWTY_UINT16, value);
}

} // namespace

TW_UINT16 PixelTypeFor(PictureMode mode)
{
    switch (mode) {
    case PictureMode::Grey: return TWPT_GRAY;
    case PictureMode::BlackAndWhite: return TWPT_BW;
    case PictureMode::Colour: break;
    }
    return TWPT_RGB;
}

TW_UINT16 BitDepthFor(PictureMode mode)
{
    switch (mode) {
    case PictureMode::Grey: return 8;
    case PictureMode::BlackAndWhite: return 1;
    case PictureMode::Colour: break;
    }
    return 24;
}

double BrightnessFor(int operatorBrightness)
{
    return (std::clamp(operatorBrightness, 0, 100) - 50) * 20.0;
}

TW_UINT16 OrientationFor(Orientation orientation)
{
    return orientation == Orientation::Portrait ? TW_UINT16(TWOR_PORTRAIT) : TW_UINT16(TWOR_LANDSCAPE);
}

std::optional<TW_UINT16> PaperSizeFor(const QString &name)
{
    // The operator's list names sheets by their common names; those the
    // protocol has a code for.
    static const QHash<QString, TW_UINT16> codes = {
        {QStringLiteral("A0"), TWSS_A0},         {QStringLiteral("A1"), TWSS_A1},
        {QStringLiteral("A2"), TWSS_A2},         {QStringLiteral("A3"), TWSS_A3},
        {QStringLiteral("A4"), TWSS_A4},         {QStringLiteral("A5"), TWSS_A5},
        {QStringLiteral("B1_ISO"), TWSS_ISOB1},  {QStringLiteral("B2_ISO"), TWSS_ISOB2},
        {QStringLiteral("B3_ISO"), TWSS_ISOB3},  {QStringLiteral("B4_ISO"), TWSS_ISOB4},
        {QStringLiteral("B5_ISO"), TWSS_ISOB5},  {QStringLiteral("B6_ISO"), TWSS_ISOB6},
        {QStringLiteral("B4_JIS"), TWSS_JISB4},  {QStringLiteral("B5_JIS"), TWSS_JISB5},
        {QStringLiteral("B6_JIS"), TWSS_JISB6},  {QStringLiteral("C3"), TWSS_C3},
        {QStringLiteral("C4"), TWSS_C4},         {QStringLiteral("C5"), TWSS_C5},
        {QStringLiteral("C6"), TWSS_C6},         {QStringLiteral("Letter"), TWSS_USLETTER},
        {QStringLiteral("Legal"), TWSS_USLEGAL}, {QStringLiteral("Executive"), TWSS_USEXECUTIVE},
        {QStringLiteral("Statement"), TWSS_USSTATEMENT}, {QStringLiteral("Tabloid"), TWSS_USLEDGER},
    };
    const auto it = codes.constFind(name.trimmed());
    if (it == codes.constEnd())
        return std::nullopt;
    return *it;
}

Offers OffersOf(ManagerSession &session)
{
    const auto has = [&session](TW_UINT16 capability) {
        TW_CAPABILITY cap{capability, TWON_DONTCARE16, nullptr};
        const bool answered = session.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &cap) == TWRC_SUCCESS;
        if (cap.hContainer)
            GlobalFree(cap.hContainer);
        return answered;
    };
    // A refused question leaves its condition code behind.
    const Offers offers{has(ICAP_BRIGHTNESS), has(ICAP_ORIENTATION), has(ICAP_SUPPORTEDSIZES)};
    session.sourceCondition(nullptr);
    return offers;
}

void ApplySettings(ManagerSession &session, const Settings &settings)
{
    // A source that refuses one of these still scans, in its own way; the
    // page is brought to the mode asked for when it arrives.
    SetOneValue(session, ICAP_PIXELTYPE, TWTY_UINT16, PixelTypeFor(settings.mode));
    SetOneValue(session, ICAP_BITDEPTH, TWTY_UINT16, BitDepthFor(settings.mode));
    SetOneValue(session, ICAP_UNITS, TWTY_UINT16, TWUN_INCHES);
    if (settings.resolution > 0) {
        SetOneValue(session, ICAP_XRESOLUTION, TWTY_FIX32, Fix32Item(settings.resolution));
        SetOneValue(session, ICAP_YRESOLUTION, TWTY_FIX32,
                    Fix32Item(settings.resolutionY > 0 ? settings.resolutionY : settings.resolution));
    }
    if (settings.feeder)
        SetWhereOffered(session, CAP_FEEDERENABLED, *settings.feeder ? 1 : 0);
    if (!settings.frameMm.isEmpty()) {
        // The layout is in the units set above.
        constexpr double MmPerInch = 25.4;
        const QRectF f = settings.frameMm;
        TW_IMAGELAYOUT layout{};
        const auto fix = [](double mm) {
            const TW_UINT32 item = Fix32Item(mm / MmPerInch);
            TW_FIX32 v;
            std::memcpy(&v, &item, sizeof v);
            return v;
        };
        layout.Frame = {fix(f.left()), fix(f.top()), fix(f.right()), fix(f.bottom())};
        layout.DocumentNumber = layout.PageNumber = layout.FrameNumber = TW_UINT32(-1);
        session.toSource(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
    }
    // One page is all the engines take: a feeder is not emptied for it.
    SetOneValue(session, CAP_XFERCOUNT, TWTY_INT16, 1);
    // Without its window, the source's faults are the caller's to tell: the
    // engine's error is the operator's one message of a fault.
    if (!settings.showSourceWindow)
        SetOneValue(session, CAP_INDICATORS, TWTY_BOOL, 0);
    if (settings.brightness) {
        TW_CAPABILITY cap{ICAP_BRIGHTNESS, TWON_DONTCARE16, nullptr};
        if (session.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, &cap) == TWRC_SUCCESS) {
            GlobalFree(cap.hContainer);
            SetOneValue(session, ICAP_BRIGHTNESS, TWTY_FIX32, Fix32Item(BrightnessFor(*settings.brightness)));
        }
    }
    if (settings.orientation)
        SetWhereOffered(session, ICAP_ORIENTATION, OrientationFor(*settings.orientation));
    if (const auto size = PaperSizeFor(settings.paperSize))
        SetWhereOffered(session, ICAP_SUPPORTEDSIZES, *size);
}

} // namespace twainclient
