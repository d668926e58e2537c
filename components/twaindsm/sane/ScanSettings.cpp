#include "ScanSettings.h"

#include <sane/saneopts.h>

#include <algorithm>
#include <cmath>

namespace twainsane {

namespace {

const char *const ResolutionOptions[] = {SANE_NAME_SCAN_RESOLUTION, SANE_NAME_SCAN_X_RESOLUTION,
                                         SANE_NAME_SCAN_Y_RESOLUTION};

constexpr double UsualResolutions[] = {75, 100, 150, 200, 240, 300, 400, 600, 1200, 2400};

bool isFeeder(const QString &source)
{
    const QString s = source.toLower();
    return s.contains(QLatin1String("adf")) || s.contains(QLatin1String("feeder"))
           || s.contains(QLatin1String("automatic document"));
}

} // namespace

ScanSettings::ScanSettings(SaneDevice &device) : m_device(device)
{
    refresh();
}

void ScanSettings::refresh()
{
    m_read.pixelTypes = readPixelTypes();
    m_read.pixelType = readPixelType();
    m_read.resolutions = readResolutions();
    m_read.resolution = readResolution();
    m_read.feederChoice.reset();
    m_read.flatbedChoice.reset();
    for (const QString &s : m_device.choices(SANE_NAME_SCAN_SOURCE)) {
        std::optional<QString> &choice = isFeeder(s) ? m_read.feederChoice : m_read.flatbedChoice;
        if (!choice)
            choice = s;
    }
    const auto source = m_device.text(SANE_NAME_SCAN_SOURCE);
    m_read.feeder = source && isFeeder(*source);
    m_read.brightnessRange = m_device.numberRange(SANE_NAME_BRIGHTNESS);
    if (m_read.brightnessRange && !(m_read.brightnessRange->max > m_read.brightnessRange->min))
        m_read.brightnessRange.reset();
    m_read.brightness = m_device.number(SANE_NAME_BRIGHTNESS).value_or(0);
}

double ScanSettings::DeviceBrightness(double protocolValue, const SaneDevice::Range &range)
{
    const double share = (std::clamp(protocolValue, -1000.0, 1000.0) + 1000.0) / 2000.0;
    return range.min + share * (range.max - range.min);
}

double ScanSettings::ProtocolBrightness(double deviceValue, const SaneDevice::Range &range)
{
    if (!(range.max > range.min))
        return 0;
    const double share = (std::clamp(deviceValue, range.min, range.max) - range.min) / (range.max - range.min);
    return share * 2000.0 - 1000.0;
}

double ScanSettings::brightness() const
{
    return m_read.brightnessRange ? ProtocolBrightness(m_read.brightness, *m_read.brightnessRange) : 0;
}

bool ScanSettings::setBrightness(double protocolValue)
{
    if (!m_read.brightnessRange)
        return false;
    const bool set = m_device.setNumber(SANE_NAME_BRIGHTNESS, DeviceBrightness(protocolValue, *m_read.brightnessRange));
    refresh();
    return set;
}

std::optional<TW_UINT16> ScanSettings::PixelTypeOfMode(const QString &mode)
{
    const QString m = mode.toLower();
    auto has = [&m](std::initializer_list<const char *> words) {
        return std::any_of(words.begin(), words.end(), [&m](const char *w) { return m.contains(QLatin1String(w)); });
    };
    // "Gray[Error Diffusion]", "Halftone", "Dithered Gray": one bit per
    // sample. Colour at one bit is no pixel type of ours.
    const bool oneBit = has({"halftone", "dither", "diffusion"});
    if (has({"color", "colour"}))
        return oneBit ? std::nullopt : std::optional<TW_UINT16>(TWPT_RGB);
    if (oneBit || has({"lineart", "binary", "black"}) || m == QLatin1String("bw"))
        return TW_UINT16(TWPT_BW);
    if (has({"gray", "grey"}))
        return TW_UINT16(TWPT_GRAY);
    return std::nullopt;
}

int ScanSettings::BitDepthFor(TW_UINT16 type)
{
    return type == TWPT_BW ? 1 : type == TWPT_GRAY ? 8 : 24;
}

bool ScanSettings::greyIsBlackAndWhite() const
{
    const std::vector<double> depths = m_device.numberList(SANE_NAME_BIT_DEPTH);
    return std::find(depths.begin(), depths.end(), 1.0) != depths.end();
}

std::vector<TW_UINT16> ScanSettings::readPixelTypes() const
{
    std::vector<TW_UINT16> types;
    for (const QString &mode : m_device.choices(SANE_NAME_SCAN_MODE))
        if (const auto t = PixelTypeOfMode(mode))
            types.push_back(*t);
    if (types.empty() && !m_device.has(SANE_NAME_SCAN_MODE))
        types.push_back(fixedPixelType());
    if (types.empty())
        types.push_back(TWPT_GRAY);
    // A device without a line-art mode scans black and white as grey at one bit.
    if (std::find(types.begin(), types.end(), TW_UINT16(TWPT_GRAY)) != types.end() && greyIsBlackAndWhite())
        types.push_back(TWPT_BW);
    std::sort(types.begin(), types.end());
    types.erase(std::unique(types.begin(), types.end()), types.end());
    return types;
}

TW_UINT16 ScanSettings::fixedPixelType() const
{
    SANE_Parameters p{};
    if (sane_get_parameters(m_device.handle(), &p) != SANE_STATUS_GOOD)
        return TWPT_GRAY;
    if (p.format != SANE_FRAME_GRAY)
        return TWPT_RGB;
    return p.depth == 1 ? TW_UINT16(TWPT_BW) : TW_UINT16(TWPT_GRAY);
}

TW_UINT16 ScanSettings::readPixelType() const
{
    if (!m_device.has(SANE_NAME_SCAN_MODE))
        return fixedPixelType();
    const auto mode = m_device.text(SANE_NAME_SCAN_MODE);
    const TW_UINT16 type = mode ? PixelTypeOfMode(*mode).value_or(TW_UINT16(TWPT_GRAY)) : TW_UINT16(TWPT_GRAY);
    if (type == TWPT_GRAY && m_device.number(SANE_NAME_BIT_DEPTH).value_or(8) == 1)
        return TWPT_BW;
    return type;
}

bool ScanSettings::setPixelType(TW_UINT16 type)
{
    const QStringList modes = m_device.choices(SANE_NAME_SCAN_MODE);
    auto modeFor = [&modes](TW_UINT16 t) -> std::optional<QString> {
        for (const QString &m : modes)
            if (PixelTypeOfMode(m) == t)
                return m;
        return std::nullopt;
    };
    std::optional<QString> mode = modeFor(type);
    int depth = type == TWPT_BW ? 1 : 8;
    if (!mode && type == TWPT_BW && greyIsBlackAndWhite())
        mode = modeFor(TWPT_GRAY);
    if (!mode && !modes.isEmpty())
        return false;
    if (mode && !m_device.setText(SANE_NAME_SCAN_MODE, *mode))
        return false;
    // The depth option may appear or change with the mode.
    const std::vector<double> depths = m_device.numberList(SANE_NAME_BIT_DEPTH);
    if (std::find(depths.begin(), depths.end(), double(depth)) != depths.end())
        m_device.setNumber(SANE_NAME_BIT_DEPTH, depth);
    // A mode may bring its own resolutions or source along.
    refresh();
    return pixelType() == type;
}

std::vector<double> ScanSettings::readResolutions() const
{
    std::vector<double> list = m_device.numberList(SANE_NAME_SCAN_RESOLUTION);
    if (list.empty()) {
        if (const auto range = m_device.numberRange(SANE_NAME_SCAN_RESOLUTION)) {
            for (double v : UsualResolutions)
                if (v >= range->min && v <= range->max)
                    list.push_back(v);
        }
        if (const auto now = m_device.number(SANE_NAME_SCAN_RESOLUTION))
            list.push_back(*now);
    }
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return list;
}

double ScanSettings::readResolution() const
{
    for (const char *name : ResolutionOptions)
        if (const auto v = m_device.number(name))
            return *v;
    return 0;
}

bool ScanSettings::setResolution(double dpi)
{
    if (!(dpi > 0))
        return false;
    const std::vector<double> list = m_device.numberList(SANE_NAME_SCAN_RESOLUTION);
    if (!list.empty()
        && std::none_of(list.begin(), list.end(), [dpi](double v) { return std::abs(v - dpi) < 0.01; }))
        return false;
    if (const auto range = m_device.numberRange(SANE_NAME_SCAN_RESOLUTION))
        if (dpi < range->min || dpi > range->max)
            return false;
    bool any = false;
    for (const char *name : ResolutionOptions)
        if (m_device.has(name))
            any = m_device.setNumber(name, dpi) || any;
    refresh();
    return any;
}

bool ScanSettings::setFeeder(bool on)
{
    const std::optional<QString> choice = on ? m_read.feederChoice : m_read.flatbedChoice;
    if (!choice)
        return on == feeder(); // a device without the choice is fine as it is
    const bool set = m_device.setText(SANE_NAME_SCAN_SOURCE, *choice);
    refresh();
    return set && feeder() == on;
}

} // namespace twainsane
