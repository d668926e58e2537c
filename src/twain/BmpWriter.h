#pragma once
// A DIB as a Windows bitmap file: the 14-byte file header, then the DIB
// byte for byte.

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace twain {

using ByteSink = std::function<bool(const void *data, std::size_t size)>;

/// Writes the DIB at `dib` (inside a block of `blockSize` bytes) through the
/// sink. An uncompressed DIB that fits gets its biSizeImage recomputed and stored
/// in its own header. Fails with nothing written when the DIB does not fit its
/// block or is compressed without a size; fails when the sink takes less than
/// all (a partial file may remain).
bool WriteBmp(uint8_t *dib, std::size_t blockSize, const ByteSink &sink);

/// The file bytes of a DIB block (empty when it cannot be written).
QByteArray BmpBytes(uint8_t *dib, std::size_t blockSize);

} // namespace twain
