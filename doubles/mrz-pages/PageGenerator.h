#pragma once
// Test pages for the zone reader: random valid zones of every format (the
// three shapes, visas and the Russian internal passport) on document-like cards,
// scanned at several resolutions or photographed, turned by any angle, seen at
// a slant, cropped to the zone alone, blurred, noisy, unevenly lit, under glare,
// faded and JPEG-compressed, with the truth beside each; and cards without a
// zone. The same seed and index always give the same page.

#include "specimen-generator/Mrz.h"

#include <QImage>
#include <QJsonObject>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <random>
#include <vector>

namespace mrzpages {

/// How a page reaches the reader.
enum class Capture {
    Scan,     ///< on a flatbed scanner's glass (or the card alone at high resolution)
    Camera,   ///< photographed: the card on a textured surface, at a slant, low resolution
    ZoneOnly, ///< a picture cut around the zone alone
};

/// Every choice that shapes a page; RandomRecipe draws them, tests set them.
struct PageRecipe
{
    QString format = QStringLiteral("TD3"); ///< "TD1", "TD2", "TD3", "MRVA", "MRVB" or "RUSPN"
    int dpi = 300;
    bool a4 = true;       ///< the card lies on an A4 scanner glass; false: a scan of the card alone
    int turn = 0;         ///< quarter turn of the scan, clockwise degrees
    double skew = 0;      ///< degrees the card lies crooked on the glass
    double blur = 0;      ///< Gaussian sigma in pixels at 300 dpi
    double noise = 0;     ///< sigma of the grey noise
    double light = 0;     ///< how much darker the far side of the page is, 0..1
    int jpegQuality = 0;  ///< 0: no JPEG round trip
    bool gray = false;
    /// How far the zone's ink stands from the paper, 0..1: faded print or a
    /// worn ribbon below 1.
    double contrast = 1.0;
    double pitchScale = 1.0; ///< printer's deviation from the nominal 2.54 mm pitch
    /// Printed in OCR-B where the zone goes instead of the data's zone (text
    /// that only looks like a zone); empty: the zone of the data.
    QStringList printedRows;
    /// Font file the zone is printed in; empty: OCR-B (a zone in another
    /// typeface is a forgery or a poor copy, which a reader must not trust).
    QString zoneFontFile;

    // Conditions of pictures from the field; their defaults draw the plain scan.
    Capture capture = Capture::Scan;
    bool hasZone = true;   ///< false: ordinary text rows where a zone would be (a page that must give no zone)
    double rotation = 0;   ///< degrees clockwise, any angle, instead of turn and skew
    double keystone = 0;   ///< the far edge this share shorter than the near one (0..0.15): a camera at an angle
    int keystoneSide = 0;  ///< which edge of the card is far: 0 top, 1 right, 2 bottom, 3 left
    double aspect = 1.0;   ///< the card's height scaled against its width
    double glare = 0;      ///< peak of a bright specular patch, 0..1 of the way to white
    bool glareOnZone = false; ///< the patch lies across part of the zone
    bool colourBackground = false; ///< coloured guilloche print behind the zone
    bool annotationFrame = false;  ///< a coloured rectangle drawn by hand around the zone
    /// ZoneOnly: blank room above and below the zone, in character heights.
    double cropMargin = 1.0;
};

/// A share of the pages in one zone format.
struct FormatShare
{
    const char *format;
    double share; ///< relative weight
};
/// The formats a set mixes; a format the content side adds is one more entry.
const std::vector<FormatShare> &SetFormats();

/// Which pages a set draws.
enum class SetMix {
    Scans,     ///< scanner pages only: quarter turns, small skew (the pages older tests were written for)
    RealWorld, ///< scans at any angle, camera pictures, zone crops and pages without a zone as well
};
struct PageTruth
{
    PageRecipe recipe;
    specimens::MrzData data;
    QStringList lines;
    QPolygonF zone; ///< corners of the printed zone on the page (cap top of the first row to the last baseline); empty without a zone
    double charPx = 0; ///< mean height of the zone's capitals in the picture, pixels
};

struct Page
{
    QImage image;       ///< the page as a reader receives it (after the JPEG round trip)
    QByteArray encoded; ///< the JPEG file's bytes; empty without JPEG
    PageTruth truth;
};

/// A deterministic generator of random numbers that does not depend on the
/// standard library's distributions (they differ between implementations).
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_engine(seed) {}
    double Uniform(double lo, double hi);
    int Int(int lo, int hi); ///< lo..hi inclusive
    bool Chance(double p) { return Uniform(0, 1) < p; }
    double Gaussian();

private:
    std::mt19937_64 m_engine;
};

/// A scanner page's recipe: one of the formats, resolution, turn, skew and scan faults.
PageRecipe RandomRecipe(Random &rng, const std::vector<FormatShare> &formats = SetFormats());
/// Turns a scanner recipe into one of the pictures from the field (or leaves it a
/// plain scan), drawing from its own stream so the scan choices stay as they were.
void RandomConditions(PageRecipe &recipe, Random &rng);
specimens::MrzData RandomData(const QString &format, Random &rng);

/// Draws a page. Needs a QGuiApplication (fonts).
Page MakePage(const PageRecipe &recipe, const specimens::MrzData &data, Random &rng);
/// Page `index` of the set made from `seed`; dpi > 0 puts every page at that
/// resolution (a set for looking at one resolution closely).
Page MakeSetPage(std::uint64_t seed, int index, int dpi = 0, SetMix mix = SetMix::Scans);

/// Changes whenever the pages a seed gives change, so that a set drawn by an
/// older generator and kept on disk is not taken for the current one.
inline constexpr int kSetVersion = 6;

/// The zone lines for the data in the given format.
QStringList ZoneLines(const QString &format, const specimens::MrzData &data);

QJsonObject TruthJson(const PageTruth &truth);
/// Writes <stem>.jpg (or .png without JPEG) and <stem>.json into folder.
bool WritePage(const Page &page, const QString &folder, const QString &stem, QString *error);
/// Writes <stem>.jpg (the encoded bytes) or, without them, <stem>.png (the
/// picture), and beside it <stem>.json (the truth, with the picture's name):
/// how every generated page of ours is kept.
bool WritePictureAndTruth(const QImage &image, const QByteArray &encoded, QJsonObject truth, const QString &folder,
                          const QString &stem, QString *error);

} // namespace mrzpages
