// Capabilities: pixel-type negotiation, one-value set, current-value get,
// the typed getters and setters, FIX32 conversion and item types.
#include "MultiTWAIN_p.h"

#include "platform/GlobalMemory.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace twain {

namespace {

constexpr int ItemSizes[] = {1, 2, 4, 1, 2, 4, 2, 4, 16, 34, 66, 130, 256};
constexpr std::size_t EnumerationItems = offsetof(TW_ENUMERATION, ItemList);
constexpr std::size_t ArrayItems = offsetof(TW_ARRAY, ItemList);

/// A locked capability container, unlocked and freed when it goes.
class Container
{
public:
    explicit Container(TW_HANDLE h) : m_handle(h), m_data(static_cast<TW_UINT8 *>(GlobalLock(h))) {}
    ~Container()
    {
        if (m_data)
            GlobalUnlock(m_handle);
        GlobalFree(m_handle);
    }
    Container(const Container &) = delete;
    Container &operator=(const Container &) = delete;

    TW_UINT8 *data() const { return m_data; }
    std::size_t size() const { return m_data ? GlobalSize(m_handle) : 0; }
    /// Unlocks early (the container is sent back to the source unlocked).
    void unlock()
    {
        if (m_data)
            GlobalUnlock(m_handle);
        m_data = nullptr;
    }

private:
    TW_HANDLE m_handle;
    TW_UINT8 *m_data;
};

/// Checks and filters the item list of an array or enumeration that starts
/// `itemsAt` bytes into the container; the new item count, or 0 with the
/// error recorded.
uint32_t filterContainer(TW_UINT8 *data, std::size_t size, std::size_t itemsAt, uint32_t &numItems,
                         uint16_t itemType, int32_t mask)
{
    if (numItems < 1) {
        RecordError(12);
        return 0;
    }
    if (itemType != TWTY_UINT16 && itemType != TWTY_INT16) {
        RecordError(11);
        return 0;
    }
    // The list must lie inside its block, whatever NumItems claims.
    if ((size - itemsAt) / 2 < numItems) {
        RecordError(9);
        return 0;
    }
    const uint32_t kept = FilterTypeList(data + itemsAt, numItems, mask);
    numItems = kept;
    if (kept == 0)
        RecordError(13);
    return kept;
}

bool itemInside(std::size_t blockSize, std::size_t offset, int itemSize)
{
    return offset <= blockSize && blockSize - offset >= static_cast<std::size_t>(itemSize);
}

} // namespace

TW_FIX32 ToFix32(double r)
{
    // The nearest step, half a step to the even one, so a value a FIX32
    // holds exactly is sent exactly. Worked out by hand rather than by the
    // current rounding mode, which a host may have changed: the product, the
    // floor and the difference are exact. Outside what a FIX32 holds the
    // nearest end is sent; not a number is 0.
    const double steps = r * 65536.0;
    double v = std::floor(steps);
    const double above = steps - v;
    if (above > 0.5 || (above == 0.5 && std::fmod(v, 2.0) != 0.0))
        v += 1.0;
    if (std::isnan(v))
        v = 0.0;
    v = std::clamp(v, double(INT32_MIN), double(INT32_MAX));
    const auto bits = static_cast<uint32_t>(static_cast<int32_t>(v));
    TW_FIX32 f;
    f.Whole = static_cast<TW_INT16>(static_cast<uint16_t>(bits >> 16));
    f.Frac = static_cast<TW_UINT16>(bits & 0xFFFFu);
    return f;
}

double Fix32ToFloat(TW_FIX32 f)
{
    return (static_cast<double>(f.Whole) * 65536.0 + static_cast<double>(f.Frac)) / 65536.0;
}

int ItemSize(int itemType)
{
    if (itemType < 0 || itemType > TWTY_STR255)
        return 0;
    return ItemSizes[itemType];
}

bool TypeMatch(int a, int b)
{
    if (a == b)
        return true;
    const bool integers = a >= TWTY_INT8 && a <= TWTY_UINT32 && b >= TWTY_INT8 && b <= TWTY_UINT32;
    return integers && ItemSize(a) == ItemSize(b);
}

uint32_t FilterTypeList(TW_UINT8 *items, uint32_t count, int32_t mask)
{
    uint32_t present = 0;
    for (uint32_t i = 0; i < count; ++i) {
        TW_UINT16 t;
        std::memcpy(&t, items + 2 * i, 2);
        if (t < 32)
            present |= 1u << t;
    }
    present &= static_cast<uint32_t>(mask);
    uint32_t written = 0;
    for (TW_UINT16 t = 0; t < 32; ++t)
        if (present & (1u << t)) {
            std::memcpy(items + 2 * written, &t, 2);
            ++written;
        }
    return written;
}

} // namespace twain

using twain::session;

extern "C" {

int32_t TWAIN_NegotiatePixelTypes(int32_t nPixTypeMask)
{
    if (session().state != TWAIN_SOURCE_OPEN) {
        twain::RecordError(7);
        return 0;
    }
    if (nPixTypeMask == TWAIN_ANYTYPE)
        return 1;

    TW_CAPABILITY cap{ICAP_PIXELTYPE, TWON_ENUMERATION, nullptr};
    const TWAIN_BOOL answered = TWAIN_DS(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &cap);
    // A container that came back is ours to free, even with a failed call.
    twain::Container container(cap.hContainer);
    if (!answered) {
        twain::RecordError(2);
        return 0;
    }
    if (!cap.hContainer) {
        twain::RecordError(8);
        return 0;
    }
    TW_UINT8 *data = container.data();
    if (!data) {
        twain::RecordError(9);
        return 0;
    }
    const std::size_t size = container.size();
    int32_t result = 0;
    switch (cap.ConType) {
    case TWON_ARRAY:
        if (size < twain::ArrayItems) {
            twain::RecordError(9);
            break;
        } else {
            auto *array = reinterpret_cast<TW_ARRAY *>(data);
            uint32_t n = array->NumItems;
            result = twain::filterContainer(data, size, twain::ArrayItems, n, array->ItemType, nPixTypeMask) ? 1 : 0;
            array->NumItems = n;
        }
        break;
    case TWON_ENUMERATION:
        if (size < twain::EnumerationItems) {
            twain::RecordError(9);
            break;
        } else {
            auto *enumeration = reinterpret_cast<TW_ENUMERATION *>(data);
            uint32_t n = enumeration->NumItems;
            const bool listUsable = n >= 1 && (enumeration->ItemType == TWTY_UINT16 || enumeration->ItemType == TWTY_INT16);
            if (listUsable) {
                enumeration->CurrentIndex = 0xFFFFFFFFu;
                enumeration->DefaultIndex = 0xFFFFFFFFu;
            }
            result = twain::filterContainer(data, size, twain::EnumerationItems, n, enumeration->ItemType,
                                            nPixTypeMask) ? 1 : 0;
            enumeration->NumItems = n;
        }
        break;
    case TWON_ONEVALUE:
        if (size < sizeof(TW_ONEVALUE)) {
            twain::RecordError(9);
            break;
        } else {
            const auto *one = reinterpret_cast<const TW_ONEVALUE *>(data);
            const uint32_t bit = one->Item < 32 ? (1u << one->Item) : 0u;
            result = static_cast<int32_t>(static_cast<uint32_t>(nPixTypeMask) & bit);
            if (result == 0)
                twain::RecordError(13);
        }
        break;
    default:
        twain::RecordError(10);
        break;
    }
    container.unlock();
    if (result != 0 && cap.ConType != TWON_ONEVALUE && !TWAIN_DS(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap)) {
        twain::RecordError(3);
        result = 0;
    }
    return result;
}

TWAIN_BOOL TWAIN_SetCapOneValue(int32_t cap, int32_t itemType, UnsignedInt32 itemVal)
{
    if (session().state != TWAIN_SOURCE_OPEN) {
        twain::Warning(QStringLiteral("Attempt to set capability outside State 4."));
        return 0;
    }
    HGLOBAL block = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
    if (!block) {
        twain::Warning(QStringLiteral("Insufficient Memory"));
        return 0;
    }
    auto *one = static_cast<TW_ONEVALUE *>(GlobalLock(block));
    one->ItemType = static_cast<TW_UINT16>(itemType);
    one->Item = itemVal;
    GlobalUnlock(block);
    TW_CAPABILITY capability{static_cast<TW_UINT16>(cap), TWON_ONEVALUE, block};
    const TWAIN_BOOL ok = TWAIN_DS(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
    GlobalFree(block);
    return ok;
}

TWAIN_BOOL TWAIN_GetCapCurrent(int32_t cap, int32_t itemType, void *pVal)
{
    if (!pVal)
        twain::AssertionFailed();
    if (session().state < TWAIN_SOURCE_OPEN) {
        twain::Warning(QStringLiteral("Attempt to get capability value below State 4."));
        return 0;
    }
    TW_CAPABILITY capability{static_cast<TW_UINT16>(cap), TWON_ONEVALUE, nullptr};
    const TWAIN_BOOL answered = TWAIN_DS(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, &capability);
    // A container that came back is ours to free, even with a failed call.
    twain::Container container(capability.hContainer);
    if (!answered || !capability.hContainer)
        return 0;
    const TW_UINT8 *data = container.data();
    const int itemSize = twain::ItemSize(itemType);
    if (!data || itemSize == 0 || !pVal)
        return 0;
    const std::size_t size = container.size();
    if (capability.ConType == TWON_ENUMERATION && size >= twain::EnumerationItems) {
        const auto *e = reinterpret_cast<const TW_ENUMERATION *>(data);
        if (e->CurrentIndex < e->NumItems && twain::TypeMatch(e->ItemType, itemType)) {
            const std::size_t offset = twain::EnumerationItems + std::size_t(e->CurrentIndex) * std::size_t(itemSize);
            if (twain::itemInside(size, offset, itemSize)) {
                std::memcpy(pVal, data + offset, std::size_t(itemSize));
                return 1;
            }
        }
    } else if (capability.ConType == TWON_ONEVALUE && size >= sizeof(TW_ONEVALUE)) {
        const auto *one = reinterpret_cast<const TW_ONEVALUE *>(data);
        const std::size_t offset = offsetof(TW_ONEVALUE, Item);
        if (twain::TypeMatch(one->ItemType, itemType) && twain::itemInside(size, offset, itemSize)) {
            std::memcpy(pVal, data + offset, std::size_t(itemSize));
            return 1;
        }
    }
    return 0;
}

TWAIN_BOOL TWAIN_NegotiateXferCount(int32_t nXfers)
{
    return TWAIN_SetCapOneValue(CAP_XFERCOUNT, TWTY_INT16, static_cast<UnsignedInt32>(nXfers));
}

static int32_t currentUInt16(int32_t cap)
{
    TW_UINT16 value = 0;
    return TWAIN_GetCapCurrent(cap, TWTY_UINT16, &value) ? value : 0;
}

int32_t TWAIN_GetCurrentUnits(void) { return currentUInt16(ICAP_UNITS); }
TWAIN_BOOL TWAIN_SetCurrentUnits(int32_t nUnits)
{
    return TWAIN_SetCapOneValue(ICAP_UNITS, TWTY_UINT16, static_cast<UnsignedInt32>(nUnits));
}
int32_t TWAIN_GetBitDepth(void) { return currentUInt16(ICAP_BITDEPTH); }
TWAIN_BOOL TWAIN_SetBitDepth(int32_t nBits)
{
    return TWAIN_SetCapOneValue(ICAP_BITDEPTH, TWTY_UINT16, static_cast<UnsignedInt32>(nBits));
}
int32_t TWAIN_GetPixelType(void) { return currentUInt16(ICAP_PIXELTYPE); }
TWAIN_BOOL TWAIN_SetCurrentPixelType(int32_t nPixType)
{
    return TWAIN_SetCapOneValue(ICAP_PIXELTYPE, TWTY_UINT16, static_cast<UnsignedInt32>(nPixType));
}

double TWAIN_GetCurrentResolution(void)
{
    TW_FIX32 res{};
    return TWAIN_GetCapCurrent(ICAP_XRESOLUTION, TWTY_FIX32, &res) ? twain::Fix32ToFloat(res) : 0.0;
}

TWAIN_BOOL TWAIN_SetCurrentResolution(double dRes)
{
    const TW_FIX32 res = twain::ToFix32(dRes);
    UnsignedInt32 item;
    std::memcpy(&item, &res, sizeof item);
    return TWAIN_SetCapOneValue(ICAP_XRESOLUTION, TWTY_FIX32, item);
}

} // extern "C"
