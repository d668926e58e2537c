#pragma once
// The scan settings a TWAIN application negotiates, kept in the SANE
// device's own options: pixel type in "mode" (and "depth" where black and
// white is grey at one bit), resolution in "resolution" (integer or fixed,
// with "x-resolution" / "y-resolution" where a device has them), the feeder
// in "source". The settings are read from the device when asked to
// (refresh) and after every change, and answered from what was read: the
// queries make no SANE call, the changes and refresh do (off the
// application's thread, see RunOffThread).

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
    /// Reads the device's settings.
    explicit ScanSettings(SaneDevice &device);

    /// Reads the device's settings again (after options were set behind
    /// these settings' back).
    void refresh();

    /// The pixel types the device offers (TWPT_BW, TWPT_GRAY, TWPT_RGB), ascending.
    const std::vector<TW_UINT16> &pixelTypes() const { return m_read.pixelTypes; }
    TW_UINT16 pixelType() const { return m_read.pixelType; }
    bool setPixelType(TW_UINT16 type);
    /// Bits of a pixel of the DIB for a type: 1, 8 or 24.
    static int BitDepthFor(TW_UINT16 type);

    /// The resolutions offered, in dots per inch, ascending: the device's own
    /// list, or for a range the usual values within it.
    const std::vector<double> &resolutions() const { return m_read.resolutions; }
    double resolution() const { return m_read.resolution; }
    /// Sets the resolution; false when the device cannot take it.
    bool setResolution(double dpi);

    bool hasFeeder() const { return m_read.feederChoice.has_value(); }
    /// Whether the device scans from a flatbed: a device without a choice
    /// of source does, a feeder-only one does not.
    bool hasFlatbed() const { return m_read.flatbedChoice.has_value() || !hasFeeder(); }
    bool feeder() const { return m_read.feeder; }
    bool setFeeder(bool on);

    /// Whether the device has a "brightness" option with a range.
    bool hasBrightness() const { return m_read.brightnessRange.has_value(); }
    /// The device's brightness on the protocol's -1000..1000 (0 without one).
    double brightness() const;
    /// Sets the brightness given on the protocol's -1000..1000; false
    /// without the option, or when the device refused it.
    bool setBrightness(double protocolValue);
    /// A brightness of the protocol's -1000..1000 on the device's range and
    /// back: the ends meet the ends, the middle the middle.
    static double DeviceBrightness(double protocolValue, const SaneDevice::Range &range);
    static double ProtocolBrightness(double deviceValue, const SaneDevice::Range &range);

    /// The pixel type a mode name stands for; none for modes without one.
    /// A dithered or halftone grey mode delivers one bit: black and white.
    static std::optional<TW_UINT16> PixelTypeOfMode(const QString &mode);

private:
    struct Read
    {
        std::vector<TW_UINT16> pixelTypes;
        TW_UINT16 pixelType = TWPT_GRAY;
        std::vector<double> resolutions;
        double resolution = 0;
        std::optional<QString> feederChoice;
        std::optional<QString> flatbedChoice;
        bool feeder = false;
        std::optional<SaneDevice::Range> brightnessRange;
        double brightness = 0; ///< the device's own value
    };

    std::vector<TW_UINT16> readPixelTypes() const;
    TW_UINT16 readPixelType() const;
    /// A device without a mode to choose scans as its frames come: colour,
    /// grey, or grey at one bit; grey when it cannot tell before a scan.
    TW_UINT16 fixedPixelType() const;
    std::vector<double> readResolutions() const;
    double readResolution() const;
    bool greyIsBlackAndWhite() const;

    SaneDevice &m_device;
    Read m_read;
};

} // namespace twainsane
