#pragma once
// Capability containers as a source hands them out and reads them back.

#include "SpecimenConfig.h"
#include "TwainTypes.h"

#include <optional>
#include <vector>

namespace specimen {

/// A capability's values: the item type, the values it allows, the current
/// and the default one.
struct CapValues
{
    TW_UINT16 itemType = TWTY_UINT16;
    std::vector<TW_UINT32> allowed;
    TW_UINT32 current = 0;
    TW_UINT32 defaultValue = 0;
};

/// An unknown container kind, for the "wrong" container switch.
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

} // namespace specimen
