#pragma once
// The 256-entry palette for DIBs without a colour table: the twenty static
// colours at both ends (flags 0), and between them grey shades, a few
// special colours and a 6-level colour cube, marked PC_NOCOLLAPSE.

#include "twain/MultiTWAIN.h"

#include <array>

namespace twain {

const std::array<TWAIN_PALETTEENTRY, 256> &DefaultPalette();

} // namespace twain
