#pragma once
// Pages of the documents whose printed fields are read: the Russian internal
// passport's spread, the driving licence's front and the foreign passport's
// photo page, with invented data, in several typefaces and layouts, on tinted
// and patterned paper, scanned with blur, JPEG loss, a slight turn and uneven
// light. The truth beside each page holds exactly the fields the document
// prints (printed::FieldsOf) and its zone. The same seed always gives the
// same page.
//
// Seeds below kEvaluationSeed are for development; the evaluation set (seeds
// kEvaluationSeed and the kEvaluationCount after it) is for measuring only,
// never for tuning.

#include "Invented.h"
#include "PrintedFields.h"

#include <QImage>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>

namespace printedpages {

inline constexpr std::uint64_t kEvaluationSeed = 9000;
inline constexpr int kEvaluationCount = 60; ///< the kinds in turn: 20 of each
/// Changes whenever the pages a seed gives change, so that pages drawn by an
/// older generator and kept on disk are not taken for the current ones.
inline constexpr int kPagesVersion = 1;

/// The kind a page of this seed shows when none is asked for: the three in turn.
printed::DocumentKind KindOfSeed(std::uint64_t seed);

/// The typefaces the documents are printed in (Debian's DejaVu, PT and
/// Liberation families): the family name and its regular and bold files.
struct Typeface
{
    const char *family;
    const char *regular;
    const char *bold;
};
const std::vector<Typeface> &Typefaces();

/// Every choice that shapes a page; RandomRecipe draws them, tests set them.
struct Recipe
{
    printed::DocumentKind kind = printed::DocumentKind::InternalPassport;
    int typeface = 0;        ///< index into Typefaces()
    bool labelAbove = true;  ///< the label over its value; false: left of it on the value's line
    double labelPt = 8;      ///< 7..9
    double valuePt = 12;     ///< 10..14 (the licence's card scales them down to fit)
    bool boldValues = false;
    double labelColumn = 28; ///< mm the labels take when they stand left of the values
    double columnWidth = 1.0; ///< share of the room a value's column takes, 0.75..1
    double jitter = 0.8;     ///< mm a field may stand off its place
    bool seriesVertical = true; ///< the internal passport's series and number along the outer edge
    /// Fields under the portrait: the licence's categories, the foreign
    /// passport's dates of issue and expiry.
    bool underPortrait = false;
    bool pattern = true;     ///< security waves or guilloche on the paper
    int dpi = 300;
    double blur = 0;         ///< Gaussian sigma in pixels at 300 dpi
    int jpegQuality = 0;     ///< 0: kept lossless (PNG)
    double turn = 0;         ///< degrees the document lies turned on the glass
    double light = 0;        ///< how much darker the far side is, 0..1
};

Recipe RandomRecipe(printed::DocumentKind kind, mrzpages::Random &rng);

struct Truth
{
    printed::DocumentKind kind = printed::DocumentKind::InternalPassport;
    std::map<printed::Field, QString> fields; ///< the printed lines joined by one blank
    QStringList zone;                         ///< empty for the licence
    QString font, layout;
    QStringList degradations;
    int dpi = 300;
    Issued issued;
};

struct Page
{
    QImage image;       ///< as a reader receives it (after the JPEG round trip)
    QByteArray encoded; ///< the JPEG file's bytes; empty when kept lossless
    Truth truth;
};

/// Draws the page of a recipe and a document. Needs a QGuiApplication (fonts).
Page MakePage(const Recipe &recipe, const Issued &issued, mrzpages::Random &rng);
/// The page of a seed: of its own kind (KindOfSeed) unless one is asked for.
Page MakeSeedPage(std::uint64_t seed, std::optional<printed::DocumentKind> kind = std::nullopt);

/// {"kind", "fields": {name: value}, "zone": [lines] (where there is one),
/// "font", "layout", "degradations": [...], "dpi"}.
QJsonObject TruthJson(const Truth &truth);
/// Writes <stem>.jpg (or .png) and <stem>.json into folder.
bool WritePage(const Page &page, const QString &folder, const QString &stem, QString *error);

} // namespace printedpages
