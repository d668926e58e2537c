#pragma once
// A plain, unhurried resampler: the algorithm step by step with one pixel at
// a time, used as the reference the fast passes must match byte for byte.

#include "imaging/engResample.h"

#include <QImage>

namespace oracle {

/// Contributor lists as the algorithm builds them, mirrored indexes brought
/// inside the picture.
TCListList Contributors(int srcSize, int dstSize, TFilterProc filter, float fwidth);

/// The resized picture (24 bits per pixel) of `src` at dstWidth x dstHeight.
QImage Resize(const QImage &src, int dstWidth, int dstHeight, TFilterProc filter, float fwidth);

/// A reproducible picture of noise with flat patches and hard edges of 0
/// and 255 (so negative lobes overshoot both ways).
QImage TestPicture(int width, int height, unsigned seed, QImage::Format format = QImage::Format_BGR888);

} // namespace oracle
