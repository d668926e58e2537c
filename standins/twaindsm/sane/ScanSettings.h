#pragma once
// The scan settings a TWAIN application negotiates, kept in the SANE
// device's own options: pixel type in "mode" (and "depth" where black and
// white is grey at one bit), resolution in "resolution" (integer or fixed,
// with "x-resolution" / "y-resolution" where a device has them), the feeder
// in "source".

#include "SaneDevice.h"
#include "TwainTypes.h"

#include <optional>
#include <vector>

// The capability that switches between flatbed and feeder.
#ifndef CAP_FEEDERENABLED
#define CAP_FEEDERENABLED 0x1002
#endif

namespace twainsane {

class ScanSettings
{
public:
    explicit ScanSettings(SaneDevice &device) : m_device(device) {}

    /// The pixel types the device offers (TWPT_BW, TWPT_GRAY, TWPT_RGB), ascending.
    std::vector<TW_UINT16> pixelTypes() const;
    TW_UINT16 pixelType() const;
    bool setPixelType(TW_UINT16 type);
    /// Bits of a pixel of the DIB for a type: 1, 8 or 24.
    static int BitDepthFor(TW_UINT16 type);

    /// The resolutions offered, in dots per inch, ascending: the device's own
    /// list, or for a range the usual values within it.
    std::vector<double> resolutions() const;
    double resolution() const;
    /// Sets the resolution; false when the device cannot take it.
    bool setResolution(double dpi);

    bool hasFeeder() const { return feederChoice().has_value(); }
    bool feeder() const;
    bool setFeeder(bool on);

    /// The pixel type a mode name stands for; none for modes without one.
    static std::optional<TW_UINT16> PixelTypeOfMode(const QString &mode);

private:
    std::optional<QString> feederChoice() const;
    std::optional<QString> flatbedChoice() const;
    bool greyIsBlackAndWhite() const;

    SaneDevice &m_device;
};

} // namespace twainsane
