#pragma once
// From the scores of every cell to the zone text: the best character each
// position admits, check digits used to choose among the close runners-up of
// doubtful characters, and a confidence per character.

#include "CellClassifier.h"
#include "MrzFormat.h"

#include <QString>
#include <vector>

namespace mrz {

struct CheckResult
{
    QString name;
    bool valid = false;
    /// Holds on the text, as read or by the one repair that makes it hold,
    /// whether or not it confirms the characters under it (two of them doubtful).
    bool holds = false;
};

struct DecodedZone
{
    Format format = Format::TD3;   ///< the layout read (by the document code, FormatOfZone)
    QString text;                  ///< lines joined without separator
    std::vector<float> confidence; ///< per position, 0..1
    std::vector<bool> trusted;     ///< confident and not under a failing check digit
    std::vector<bool> checkFailed; ///< under a check digit that does not hold
    std::vector<CheckResult> checks;
    double meanScore = 0;          ///< mean correlation of the chosen characters
    bool weakLikeness = false;     ///< meanScore below kMinZoneLikeness: not OCR-B, nothing trusted
    int repairs = 0;               ///< characters a check digit changed
    int misfits = 0;               ///< glyphs that clearly are a character their position does not admit
    int worstFieldMisfits = 0;     ///< the most of them in one field
    /// Every character that no check digit covers read with confidence (none
    /// a guess or a faint glyph), no field breaking the format, the print
    /// OCR-B: with every check digit holding, the zone is valid.
    bool allConfident = false;
    bool datesValid = false;       ///< birth and expiry are calendar dates (after repair); birth may have unknown parts
    bool birthDateUnknown = false; ///< the date of birth is printed with unknown parts (its characters are not trusted)
    /// Enough evidence that the cells are a zone and not any text in OCR-B:
    /// few repairs, few misfits outside one field, and a date that is none
    /// only as the one field that breaks the format.
    bool plausible = false;
};

/// Most characters the check digits may change in one zone.
inline constexpr int kMaxRepairs = 3;
/// Most glyphs that look like a character their position cannot hold, outside
/// the one field where they are most.
inline constexpr int kMaxMisfits = 2;

/// Below this confidence a character is reported as not trusted.
inline constexpr float kTrustThreshold = 0.3f;
/// The same for a character no check digit covers (names, state,
/// nationality, sex): nothing but its glyph speaks for it.
inline constexpr float kUncoveredTrust = 0.4f;
/// Below this correlation with its template a character is not trusted,
/// however clear its lead over the others (scans of OCR-B print correlate
/// far above it; other typefaces often below).
inline constexpr float kWeakLikeness = 0.65f;
/// Below this mean correlation a zone is not in OCR-B and its reading is not valid.
inline constexpr double kMinZoneLikeness = 0.8;

/// scores holds one entry per zone position of format f (or of its shape:
/// the document code may make a TD3 or TD2 shape a visa or the Russian
/// internal passport, reported in `format`).
DecodedZone DecodeZone(Format f, const std::vector<Scores> &scores);

} // namespace mrz
