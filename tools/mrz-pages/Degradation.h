#pragma once
// What a scan does to a page: blur, uneven light, sensor noise, grey mode and
// JPEG compression.

#include <QImage>
#include <QRect>

namespace mrzpages {

class Random;

/// Gaussian-like blur (three box passes) of the region of a 32-bit image.
void Blur(QImage &image, QRect region, double sigma);
/// Darkens the page towards one side by up to `amount` (0..1).
void UnevenLight(QImage &image, double amount, double direction);
/// Adds grey noise of the given sigma.
void Noise(QImage &image, double sigma, Random &rng);
/// The image encoded as JPEG of the given quality.
QByteArray JpegBytes(const QImage &image, int quality);

} // namespace mrzpages
