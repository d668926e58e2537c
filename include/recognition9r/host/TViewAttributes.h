#pragma once
#include "base/r9Export.h"
// Display attributes of a camera view and their set. The host decides how a
// set is packed into an integer (TSchemePersistence); the package only
// stores that integer and hands it back.

#include <cstdint>
#include <initializer_list>

namespace host {

enum TViewAttribute : std::uint8_t {
    vaUserDefined,
    vaStretch,
    vaTouchInside,
    vaTouchOutside,
    vaFlipVertical,
    vaFlipHorizontal,
};
constexpr int TViewAttributeCount = 6;

/// A set of TViewAttribute values.
class R9_EXPORT TViewAttributes
{
public:
    constexpr TViewAttributes() = default;
    constexpr TViewAttributes(std::initializer_list<TViewAttribute> attributes)
    {
        for (TViewAttribute a : attributes)
            Include(a);
    }

    constexpr bool Contains(TViewAttribute a) const { return (m_bits & Bit(a)) != 0; }
    constexpr TViewAttributes &Include(TViewAttribute a)
    {
        m_bits = static_cast<std::uint8_t>(m_bits | Bit(a));
        return *this;
    }
    constexpr TViewAttributes &Exclude(TViewAttribute a)
    {
        m_bits = static_cast<std::uint8_t>(m_bits & ~Bit(a));
        return *this;
    }
    constexpr bool IsEmpty() const { return m_bits == 0; }
    constexpr bool operator==(const TViewAttributes &) const = default;

private:
    static constexpr std::uint8_t Bit(TViewAttribute a) { return static_cast<std::uint8_t>(1u << a); }
    std::uint8_t m_bits = 0;
};

} // namespace host
