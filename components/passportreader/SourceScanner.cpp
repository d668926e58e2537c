#include "SourceScanner.h"

#include "TwainClient.h"

#include <algorithm>

namespace passportreader {

namespace {

// A passport's zone is read well at this resolution; the engine's settings
// have none of their own.
constexpr int ScanResolution = 300;

} // namespace

StringsArray::Entries SourceScannerSettings()
{
    return {{QStringLiteral("interface-type"), QStringLiteral("None")},
            {QStringLiteral("brightness"), QStringLiteral("50")},
            {QStringLiteral("orientation"), QStringLiteral("Portrait")},
            {QStringLiteral("paper-size"), QStringLiteral("A4")},
            {QStringLiteral("picture-mode"), QStringLiteral("Color")}};
}

StringsArray::Entries OfferedSettings(const QString &source, StringsArray::Entries settings)
{
    const std::optional<twainclient::Offers> offers = twainclient::SourceOffers(source);
    if (!offers)
        return settings;
    const auto lacks = [&offers](const QString &name) {
        return (name == QLatin1String("brightness") && !offers->brightness)
               || (name == QLatin1String("orientation") && !offers->orientation)
               || (name == QLatin1String("paper-size") && !offers->paperSize);
    };
    settings.erase(std::remove_if(settings.begin(), settings.end(), [&](const auto &e) { return lacks(e.first); }),
                   settings.end());
    return settings;
}

twainclient::Result ScanFromSource(const QString &source, const StringsArray::Entries &settings)
{
    twainclient::Settings asked;
    asked.resolution = ScanResolution;
    for (const auto &[name, value] : settings) {
        if (name == QLatin1String("interface-type"))
            asked.showSourceWindow = value == QLatin1String("Twain");
        else if (name == QLatin1String("brightness"))
            asked.brightness = value.toInt();
        else if (name == QLatin1String("orientation"))
            asked.orientation = value == QLatin1String("Portrait") ? twainclient::Orientation::Portrait
                                                                   : twainclient::Orientation::Landscape;
        else if (name == QLatin1String("paper-size"))
            asked.paperSize = value;
        else if (name == QLatin1String("picture-mode"))
            asked.mode = value == QLatin1String("Grayscale") ? twainclient::PictureMode::Grey
                                                             : twainclient::PictureMode::Colour;
    }
    return twainclient::AcquirePage(source, asked);
}

} // namespace passportreader
