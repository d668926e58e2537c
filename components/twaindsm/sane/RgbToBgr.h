#pragma once
// Colour lines as SANE gives them (red, green, blue) in the order a DIB keeps
// them (blue, green, red): the one pass every colour page makes over all its
// bytes, so it goes sixteen bytes at a time where the processor can.

#include <cstddef>
#include <cstdint>

namespace twainsane {

/// Writes `pixels` pixels of `rgb` to `bgr` with red and blue swapped; the
/// two do not overlap.
void RgbToBgr(const uint8_t *rgb, uint8_t *bgr, std::size_t pixels);

} // namespace twainsane
