#include "SourceScan.h"

#include <QRegularExpression>

namespace scproxy::engine {

namespace {

/// "0mm 0mm 210mm 270mm" (left, top, right, bottom; millimetres, centimetres
/// or inches) as a frame in millimetres; empty when it is not four lengths.
QRectF FrameMm(const QByteArray &dimensions)
{
    static const QRegularExpression length(QStringLiteral(R"(^(\d+(?:[.,]\d+)?)(mm|cm|in)?$)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QStringList parts = QString::fromLatin1(dimensions).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 4)
        return {};
    double mm[4];
    for (int i = 0; i < 4; ++i) {
        const QRegularExpressionMatch m = length.match(parts.at(i));
        if (!m.hasMatch())
            return {};
        const QString unit = m.captured(2).toLower();
        mm[i] = m.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble()
                * (unit == QLatin1String("cm") ? 10.0 : unit == QLatin1String("in") ? 25.4 : 1.0);
    }
    return QRectF(QPointF(mm[0], mm[1]), QPointF(mm[2], mm[3])).normalized();
}

} // namespace

twainclient::Settings SourceSettings(const ScanConfiguration &config)
{
    twainclient::Settings settings;
    settings.resolution = config.resolutionX;
    settings.resolutionY = config.resolutionY;
    settings.feeder = config.useAdf;
    settings.frameMm = FrameMm(config.pageDimensions);
    settings.mode = config.bitsPerPixel <= 1   ? twainclient::PictureMode::BlackAndWhite
                    : config.bitsPerPixel <= 8 ? twainclient::PictureMode::Grey
                                               : twainclient::PictureMode::Colour;
    settings.showSourceWindow = config.showTwain;
    return settings;
}

ErrorCode ErrorCodeFor(twainclient::Outcome outcome)
{
    switch (outcome) {
    case twainclient::Outcome::Scanned:
    case twainclient::Outcome::Cancelled: return NoError; // as the feeder's own dialog cancelled
    case twainclient::Outcome::NoScanner:
    case twainclient::Outcome::SourceRefused: return SourceError;
    default: return ScanError;
    }
}

} // namespace scproxy::engine
