#pragma once
// Reads the machine-readable zone of a travel document from a page picture:
// finds the zone at any angle, in perspective or alone in the picture, reads
// its characters against OCR-B glyphs, and checks and splits the text into
// its fields.
//
// Drawing the glyphs needs a QGuiApplication (the offscreen platform will do).

#include "MrzFields.h"
#include "MrzFormat.h"
#include "ZoneDecoder.h"

#include <QImage>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <future>
#include <vector>

namespace mrz {

struct ReadOptions
{
    /// false: only a zone that reads upright as the page lies is accepted
    /// (for callers that turn the page themselves).
    bool anyTurn = true;
    /// Candidate zones tried when the first does not read cleanly.
    int maxCandidates = 3;
};

struct MrzResult
{
    bool found = false;
    QString error;      ///< why nothing could be read at all (no font, no picture)
    Format format = Format::TD3;
    QStringList lines;
    std::vector<float> confidence; ///< per character of the joined lines, 0..1
    std::vector<bool> trusted;     ///< per character of the joined lines
    std::vector<bool> checkFailed; ///< per character: under a check digit that does not hold
    std::vector<CheckResult> checks;
    double likeness = 0;       ///< mean correlation of the characters with their OCR-B templates
    bool weakLikeness = false; ///< too low for OCR-B print: nothing trusted, the reading not valid
    bool allConfident = false; ///< every character read with confidence, none a check digit's guess
    Fields fields;
    int turn = 0;        ///< clockwise degrees (0, 90, 180, 270) that make the page upright
    double skew = 0;     ///< degrees the rows are turned clockwise on the upright page
    QPolygonF zone;      ///< corners of the zone on the page

    QString Text() const { return lines.join(QString()); }
    /// Every check digit holds as read and every character was read with
    /// confidence in OCR-B print: nothing of the zone is a guess.
    bool AllChecksValid() const;
    /// Character i of field f is trusted: read with confidence and under no failing check digit.
    bool Trusted(const FieldText &f, int i) const;
    /// A field as an engine that flags whole fields marks it: doubtful when a
    /// symbol was read with low confidence or the zone leaves parts of it
    /// unknown, erroneous when a check digit over it does not hold.
    struct FieldMarks
    {
        bool doubt = false;
        bool error = false;
    };
    FieldMarks Marks(const FieldText &f) const;
};

MrzResult ReadMrz(const QImage &page, const ReadOptions &options = {});

/// ReadMrz started on a thread of its own that gives way to the caller's
/// work, for a page read while the application goes on with it: the page is
/// made readable here, on the caller's thread, so that nothing the reading
/// starts is left behind. Call PrepareReader first.
std::future<MrzResult> ReadAhead(const QImage &page, const ReadOptions &options = {});

/// Draws the glyphs the reader compares with (done by the first reading
/// otherwise): on the application's thread, before readings start on
/// threads of their own, so that the glyphs outlive every reading started
/// after. False (and *error) when they cannot be drawn.
bool PrepareReader(QString *error = nullptr);
/// Reads a picture file (any format Qt reads); error set when it cannot be loaded.
MrzResult ReadMrzFile(const QString &path, const ReadOptions &options = {});

} // namespace mrz
