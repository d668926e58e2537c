#pragma once
// Capabilities as every data source hands them out and reads them back: a
// capability's values, the containers that carry them, and FIX32 items.

#include "TwainTypes.h"

#include <optional>
#include <vector>

namespace twainds {

/// A capability's values: the item type, the values it allows, the current
/// and the default one.
struct CapValues
{
    TW_UINT16 itemType = TWTY_UINT16;
    std::vector<TW_UINT32> allowed;
    TW_UINT32 current = 0;
    TW_UINT32 defaultValue = 0;
};

/// The container a query is answered in. Default is the usual one (an
/// enumeration for MSG_GET of several allowed values, else a one-value); a
/// source may answer in another to see its caller take each kind, or in
/// Wrong, a kind no caller knows.
enum class ContainerKind { Default, OneValue, Enumeration, Array, Wrong };

/// The number the Wrong kind goes out with.
inline constexpr TW_UINT16 WrongContainer = 0x007F;

/// A new container block holding the values in the given kind (Default
/// means `fallback`). The one-value and the wrong kind carry the current value.
TW_HANDLE MakeContainer(const CapValues &values, ContainerKind kind, ContainerKind fallback, TW_UINT16 &conType);

/// The value a MSG_SET container asks for, with the list it restricts the
/// allowed values to (enumerations and arrays); null when unreadable.
struct SetRequest
{
    TW_UINT32 value = 0;
    std::vector<TW_UINT32> list;
};
std::optional<SetRequest> ReadSetContainer(const TW_CAPABILITY &cap, TW_UINT16 expectedType);

/// A TW_FIX32 as the 32 bits a container item holds, and back.
TW_UINT32 Fix32Bits(double value);
double Fix32Value(TW_UINT32 bits);

} // namespace twainds
