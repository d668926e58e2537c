#pragma once
// What every drawn card is printed with: its typefaces, the security print
// under the text, the portrait and the zone's rows. The zone test pages and
// the printed-document pages share them, so both draw a card the same way.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace mrzpages {

class Random;

/// The family of the OCR-B font the zones are printed in (loaded once).
QString OcrbFamily();
/// The family the cards' ordinary text is printed in (DejaVu Sans).
QString TextFamily();
/// The family of a font file, loaded once; "Monospace" when it cannot be loaded.
QString FontFamily(const QString &file);

/// Fine wavy lines a little darker than the paper over a card of this size.
void DrawWaves(QPainter &p, QSizeF card, const QColor &paper, double k, Random &rng);
/// Coloured guilloche: interlaced sine bands in two hues across the band.
void DrawGuilloche(QPainter &p, const QRectF &band, double k, Random &rng);
/// A portrait's stand-in: a shaded background and the oval of a face.
void DrawPortrait(QPainter &p, const QRectF &photo, Random &rng);
/// The zone's characters at a fixed pitch, each placed apart with a little
/// jitter as a printer lays them down; the painter's font is OCR-B at a size
/// that `scale` brings to the zone's, its pen the ink.
void DrawZoneRows(QPainter &p, const QStringList &lines, double scale, QPointF firstBaseline, double pitch, double lineStep,
                  double jitter, Random &rng);

} // namespace mrzpages
