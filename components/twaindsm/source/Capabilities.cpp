#include "Capabilities.h"

#include "platform/GlobalMemory.h"

#include <cmath>
#include <cstring>

namespace twainds {

namespace {

std::size_t itemSize(TW_UINT16 type)
{
    switch (type) {
    case TWTY_INT8:
    case TWTY_UINT8:
        return 1;
    case TWTY_INT16:
    case TWTY_UINT16:
    case TWTY_BOOL:
        return 2;
    case TWTY_INT32:
    case TWTY_UINT32:
    case TWTY_FIX32:
        return 4;
    default:
        return 0;
    }
}

void putItem(TW_UINT8 *at, TW_UINT16 type, TW_UINT32 value)
{
    const std::size_t n = itemSize(type);
    if (n == 1) {
        const auto v = static_cast<TW_UINT8>(value);
        std::memcpy(at, &v, 1);
    } else if (n == 2) {
        const auto v = static_cast<TW_UINT16>(value);
        std::memcpy(at, &v, 2);
    } else {
        std::memcpy(at, &value, 4);
    }
}

TW_UINT32 getItem(const TW_UINT8 *at, TW_UINT16 type)
{
    const std::size_t n = itemSize(type);
    if (n == 1)
        return *at;
    if (n == 2) {
        TW_UINT16 v;
        std::memcpy(&v, at, 2);
        return v;
    }
    TW_UINT32 v;
    std::memcpy(&v, at, 4);
    return v;
}

TW_UINT32 indexOf(const std::vector<TW_UINT32> &list, TW_UINT32 value)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == value)
            return static_cast<TW_UINT32>(i);
    return 0;
}

} // namespace

TW_UINT32 Fix32Bits(double value)
{
    const auto v = static_cast<int32_t>(std::lround(value * 65536.0));
    const TW_FIX32 f{static_cast<TW_INT16>(v >> 16), static_cast<TW_UINT16>(v & 0xFFFF)};
    TW_UINT32 bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

double Fix32Value(TW_UINT32 bits)
{
    TW_FIX32 f;
    std::memcpy(&f, &bits, sizeof f);
    return f.Whole + f.Frac / 65536.0;
}

TW_HANDLE MakeContainer(const CapValues &values, ContainerKind kind, ContainerKind fallback, TW_UINT16 &conType)
{
    if (kind == ContainerKind::Default)
        kind = fallback;
    const std::size_t item = itemSize(values.itemType);
    const std::vector<TW_UINT32> &list = values.allowed.empty() ? std::vector<TW_UINT32>{values.current} : values.allowed;
    switch (kind) {
    case ContainerKind::Enumeration:
    case ContainerKind::Array: {
        const bool enumeration = kind == ContainerKind::Enumeration;
        conType = enumeration ? TW_UINT16(TWON_ENUMERATION) : TW_UINT16(TWON_ARRAY);
        // Both start with the item type and the item count; an enumeration
        // then has the current and default indexes before its items.
        const std::size_t at = enumeration ? offsetof(TW_ENUMERATION, ItemList) : offsetof(TW_ARRAY, ItemList);
        TW_HANDLE h = GlobalAlloc(GHND, at + item * list.size());
        auto *p = static_cast<TW_UINT8 *>(GlobalLock(h));
        if (!p)
            return h;
        auto *a = reinterpret_cast<TW_ARRAY *>(p);
        a->ItemType = values.itemType;
        a->NumItems = static_cast<TW_UINT32>(list.size());
        if (enumeration) {
            auto *e = reinterpret_cast<TW_ENUMERATION *>(p);
            e->CurrentIndex = indexOf(list, values.current);
            e->DefaultIndex = indexOf(list, values.defaultValue);
        }
        for (std::size_t i = 0; i < list.size(); ++i)
            putItem(p + at + i * item, values.itemType, list[i]);
        GlobalUnlock(h);
        return h;
    }
    default: {
        conType = kind == ContainerKind::Wrong ? WrongContainer : TW_UINT16(TWON_ONEVALUE);
        TW_HANDLE h = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
        auto *o = static_cast<TW_ONEVALUE *>(GlobalLock(h));
        if (!o)
            return h;
        o->ItemType = values.itemType;
        putItem(reinterpret_cast<TW_UINT8 *>(o) + offsetof(TW_ONEVALUE, Item), values.itemType, values.current);
        GlobalUnlock(h);
        return h;
    }
    }
}

std::optional<SetRequest> ReadSetContainer(const TW_CAPABILITY &cap, TW_UINT16 expectedType)
{
    const auto *data = static_cast<const TW_UINT8 *>(GlobalLock(cap.hContainer));
    if (!data)
        return std::nullopt;
    const std::size_t size = GlobalSize(cap.hContainer);
    std::optional<SetRequest> request;
    auto readList = [&](std::size_t at, TW_UINT16 type, TW_UINT32 count) -> std::optional<std::vector<TW_UINT32>> {
        const std::size_t item = itemSize(type);
        if (item == 0 || item != itemSize(expectedType) || count == 0 || (size - at) / item < count)
            return std::nullopt;
        std::vector<TW_UINT32> list;
        for (TW_UINT32 i = 0; i < count; ++i)
            list.push_back(getItem(data + at + i * item, type));
        return list;
    };
    switch (cap.ConType) {
    case TWON_ONEVALUE:
        if (size >= sizeof(TW_ONEVALUE)) {
            const auto *o = reinterpret_cast<const TW_ONEVALUE *>(data);
            if (itemSize(o->ItemType) == itemSize(expectedType) && itemSize(o->ItemType) != 0)
                request = SetRequest{getItem(data + offsetof(TW_ONEVALUE, Item), o->ItemType), {}};
        }
        break;
    case TWON_ENUMERATION:
        if (size >= offsetof(TW_ENUMERATION, ItemList)) {
            const auto *e = reinterpret_cast<const TW_ENUMERATION *>(data);
            if (auto list = readList(offsetof(TW_ENUMERATION, ItemList), e->ItemType, e->NumItems)) {
                const TW_UINT32 pick = e->CurrentIndex < list->size() ? (*list)[e->CurrentIndex] : list->front();
                request = SetRequest{pick, *list};
            }
        }
        break;
    case TWON_ARRAY:
        if (size >= offsetof(TW_ARRAY, ItemList)) {
            const auto *a = reinterpret_cast<const TW_ARRAY *>(data);
            if (auto list = readList(offsetof(TW_ARRAY, ItemList), a->ItemType, a->NumItems))
                request = SetRequest{list->front(), *list};
        }
        break;
    default:
        break;
    }
    GlobalUnlock(cap.hContainer);
    return request;
}

} // namespace twainds
