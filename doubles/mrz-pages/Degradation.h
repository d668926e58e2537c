#pragma once
// What a scan or a camera does to a page: blur, uneven light, glare, sensor
// noise, grey mode and JPEG compression; and what a photographed card lies on.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSizeF>

#include <utility>

namespace mrzpages {

class Random;

/// Gaussian-like blur (three box passes) of the region of a 32-bit image.
void Blur(QImage &image, QRect region, double sigma);
/// Darkens the page towards one side by up to `amount` (0..1).
void UnevenLight(QImage &image, double amount, double direction);
/// Adds grey noise of the given sigma.
void Noise(QImage &image, double sigma, Random &rng);
/// Brightens towards white around `centre` (an elliptical patch of the given
/// radii, turned by `angle` radians), by up to `peak` (0..1): a lamp's reflection.
void Glare(QImage &image, QPointF centre, QSizeF radii, double angle, double peak);
/// A colour drawn within the given ranges of hue (0..359), saturation and value (0..255).
QColor RandomHsv(Random &rng, std::pair<int, int> hue, std::pair<int, int> saturation, std::pair<int, int> value);
/// Fills the image with a surface a card may lie on: wood grain, cloth or a
/// desk's plastic, in some colour.
void Surface(QImage &image, Random &rng);
/// The image encoded as JPEG of the given quality.
QByteArray JpegBytes(const QImage &image, int quality);

} // namespace mrzpages
