#pragma once
// Test pages for the zone reader: random valid zones of every format (the
// three shapes, visas and the Russian internal passport) on
// document-like cards, scanned at several resolutions, turned by quarter turns,
// skewed, blurred, noisy, unevenly lit, faded and JPEG-compressed, with the truth
// beside each. The same seed and index always give the same page.

#include "../specimen-generator/Mrz.h"

#include <QImage>
#include <QJsonObject>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <random>

namespace mrzpages {

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
};

struct PageTruth
{
    PageRecipe recipe;
    specimens::MrzData data;
    QStringList lines;
    QPolygonF zone; ///< corners of the printed zone on the page
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

/// The recipe and data of page `index` of the set made from `seed`.
PageRecipe RandomRecipe(Random &rng);
specimens::MrzData RandomData(const QString &format, Random &rng);

/// Draws a page. Needs a QGuiApplication (fonts).
Page MakePage(const PageRecipe &recipe, const specimens::MrzData &data, Random &rng);
/// Page `index` of the set made from `seed`; dpi > 0 puts every page at that
/// resolution (a set for looking at one resolution closely).
Page MakeSetPage(std::uint64_t seed, int index, int dpi = 0);

/// Changes whenever the pages a seed gives change, so that a set drawn by an
/// older generator and kept on disk is not taken for the current one.
inline constexpr int kSetVersion = 4;

/// The zone lines for the data in the given format.
QStringList ZoneLines(const QString &format, const specimens::MrzData &data);

QJsonObject TruthJson(const PageTruth &truth);
/// Writes <stem>.jpg (or .png without JPEG) and <stem>.json into folder.
bool WritePage(const Page &page, const QString &folder, const QString &stem, QString *error);

} // namespace mrzpages
