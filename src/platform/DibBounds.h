#pragma once
// The largest bitmap a page may travel in. The package reads DIBs against
// these bounds and a data source refuses to assemble one beyond them, so
// both sides hold the same numbers.

#include <cstdint>

namespace twain {

/// Bounds no genuine page comes near: a side of 2^20 pixels is over 80
/// metres at 300 dpi, and no colour table holds more than 65536 entries.
/// A header beyond them is refused before any size is worked out from it.
inline constexpr int32_t MaxDibSide = 1 << 20;
inline constexpr uint32_t MaxDibTableEntries = 65536;

} // namespace twain
