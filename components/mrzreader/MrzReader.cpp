#include "MrzReader.h"

#include "Background.h"
#include "CellClassifier.h"
#include "GlyphBank.h"
#include "LineGrid.h"
#include "Parallel.h"
#include "platform/PageLoader.h"
#include "Raster.h"
#include "ZoneLocator.h"

#include "Statistics.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace mrz {

bool MrzResult::AllChecksValid() const
{
    return found && !weakLikeness && allConfident && std::all_of(checks.begin(), checks.end(), [](const CheckResult &c) { return c.valid; });
}

bool MrzResult::Trusted(const FieldText &f, int i) const
{
    // A doubtful field (names the line may have cut) is doubtful throughout.
    if (f.doubtful || i < 0 || size_t(i) >= f.positions.size())
        return false;
    const int p = f.positions[size_t(i)];
    return p < 0 || (size_t(p) < trusted.size() && trusted[size_t(p)]);
}

MrzResult::FieldMarks MrzResult::Marks(const FieldText &f) const
{
    FieldMarks m;
    m.doubt = f.doubtful;
    for (int p : f.positions) {
        if (p < 0 || size_t(p) >= confidence.size())
            continue;
        // Not trusted although read with confidence and under a holding check:
        // a part the zone leaves unknown.
        m.doubt = m.doubt || confidence[size_t(p)] < kTrustThreshold || (!trusted[size_t(p)] && !checkFailed[size_t(p)]);
        m.error = m.error || checkFailed[size_t(p)];
    }
    return m;
}

namespace {

QPointF Unit(QPointF p)
{
    const double n = std::hypot(p.x(), p.y());
    return n > 0 ? p / n : QPointF(1, 0);
}

double Dot(QPointF a, QPointF b)
{
    return a.x() * b.x() + a.y() * b.y();
}


// Below this mean likeness of a zone's glyphs to OCR-B (each allowed a pixel
// off its cell's centre) the plain face is tried, and taken when its glyphs
// match better by this much.
constexpr double kPlainFaceLikeness = 0.85;
constexpr double kPlainFaceLead = 0.03;

// How much better the glyphs must match a zone's cells with their background
// flattened for the reading to take them so.
constexpr double kFlatLead = 0.01;

// What a reading forced to a length loses per character its rows measure
// otherwise.
constexpr double kForcedPerCharacter = 1.5;

// Characters a forced reading may leave out of what the rows measure (a
// mark of a frame drawn against a row's end, or two) and still be trusted.
constexpr double kForcedShorter = 3.0;

// How far, in characters' heights, a row may be lost at its ends.
constexpr double kLostCharacters = 10.0;

// Every check digit holds, as read or by the one repair, and every
// character was read with confidence: no other candidate or length will read
// the zone better, whether or not the checks confirm every character.
bool ReadsCleanly(const MrzResult &r)
{
    return r.found && !r.weakLikeness && r.allConfident
           && std::all_of(r.checks.begin(), r.checks.end(), [](const CheckResult &c) { return c.holds; });
}

struct Reading
{
    MrzResult result;
    double quality = -1; // checks passed first, then the likeness of the glyphs
};

using Patch = std::vector<float>;

// Samples the patch of one cell: the classifier's window around the cell centre
// on the page, scaled so one pitch is the bank's pitch. The window is centred
// on the cell, so the patch turned half round is the cell read the other way.
// tall: the characters' height against their pitch, relative to the glyphs'
// (a page seen at an angle scales them apart).
Patch SampleCell(const Sampler &page, const GlyphBank &bank, const CellClassifier &cls, const RowGrid &grid,
                 const Cell &cell, double tall = 1.0)
{
    const int pw = cls.PatchWidth(), ph = cls.PatchHeight();
    Patch patch(size_t(pw * ph));
    // The cell's own pitch: on a page seen at an angle it changes along the row.
    const double perPixel = (cell.pitch > 0 ? cell.pitch : grid.pitch) / GlyphBank::kPitch; // page pixels per patch pixel
    const int taps = std::clamp(int(std::ceil(perPixel - 0.2)), 1, 3);
    const double cx = CellClassifier::kShift + bank.Width() / 2.0;
    const double cy = CellClassifier::kShift + bank.Height() / 2.0;
    const QPointF du = grid.u * perPixel, dv = (cell.up.isNull() ? grid.v : cell.up) * (perPixel * tall);
    for (int y = 0; y < ph; ++y) {
        QPointF p = cell.centre + (0.5 - cx) * du + (y + 0.5 - cy) * dv;
        for (int x = 0; x < pw; ++x, p += du)
            patch[size_t(y * pw + x)] = 255.f - page.Area(float(p.x()), float(p.y()), float(grid.u.x()), float(grid.u.y()),
                                                          float(grid.v.x()), float(grid.v.y()), float(perPixel), taps);
    }
    return patch;
}

struct ZoneGrid
{
    Format format = Format::TD3;
    std::vector<RowMarks> marks; ///< across the zone, in the order of the frame u, v
    double pitch = 0;            ///< page pixels per character, shared by the rows
    double estimate = 0;         ///< characters a row measures, on average
    std::vector<RowGrid> rows;   ///< the cells fitted to the marks, in the reading order
    bool ok = false;
};

// Fits the cells of every row to its marks. Read the other way round, the
// rows and their cells come in reverse order, and the filler sits on the
// other side of its cell's centre.
bool FitCells(ZoneGrid &grid, const GlyphBank &bank, bool reversed)
{
    const Layout layout = LayoutOf(grid.format);
    const QPointF filler = reversed ? -bank.FillerOffset() : bank.FillerOffset();
    // The rows are parallel: each row's own slope rests on a few dozen marks,
    // pieces of broken characters among them, so they share the slope of all.
    double slopes = 0;
    int marks = 0;
    // The rows start together: a row whose ends show no marks (faint
    // characters) or marks beyond them (a frame drawn against them) starts
    // where the rows whose ends are plainly seen start.
    QPointF start;
    int starts = 0;
    std::vector<RowGrid> owns;
    for (const RowMarks &r : grid.marks) {
        owns.push_back(FitRow(r, layout.length, grid.pitch * r.scale, filler));
        const RowGrid &own = owns.back();
        if (!own.ok)
            return false;
        slopes += own.slope * own.marks;
        marks += own.marks;
        if (own.whole)
            start += own.cells.front().centre, ++starts;
    }
    const double shared = slopes / std::max(1, marks);
    grid.rows.clear();
    for (size_t k = 0; k < grid.marks.size(); ++k) {
        const RowMarks &r = grid.marks[k];
        std::optional<double> firstAt;
        if (starts > 0)
            firstAt = Dot(start / starts - r.frame.origin, r.frame.u) * r.scale;
        // Seen at an angle, the rows converge a little (half a degree at
        // most): a row keeps what of its own slope lies beyond twice its
        // standard error from the shared one.
        const double off = owns[k].slope - shared, sure = 2.0 * owns[k].slopeError;
        const double slope = shared + std::clamp(std::fabs(off) > sure ? off - std::copysign(sure, off) : 0.0, -0.009, 0.009);
        grid.rows.push_back(FitRow(r, layout.length, grid.pitch * r.scale, filler, slope, firstAt));
        if (!grid.rows.back().ok)
            return false;
    }
    if (reversed) {
        std::reverse(grid.rows.begin(), grid.rows.end());
        for (RowGrid &r : grid.rows) {
            std::reverse(r.cells.begin(), r.cells.end());
            r.u = -r.u;
            r.v = -r.v;
            for (Cell &c : r.cells)
                c.up = -c.up;
        }
    }
    return true;
}

// Finds the cells of a candidate zone, reading its rows along u.
ZoneGrid MeasureZone(const Sampler &page, const GlyphBank &bank, const ZoneCandidate &zone, QPointF u,
                     std::optional<Format> format)
{
    ZoneGrid out;
    const QPointF v(-u.y(), u.x());
    struct RowPlace
    {
        QPointF first;
        double length;
        double height;
        double across;
    };
    std::vector<RowPlace> places;
    for (const ZoneLine &l : zone.lines) {
        const bool forward = Dot(l.end - l.start, u) > 0;
        const QPointF first = forward ? l.start : l.end;
        const QPointF last = forward ? l.end : l.start;
        places.push_back({first, Dot(last - first, u), l.height, Dot((first + last) / 2, v)});
    }
    std::sort(places.begin(), places.end(), [](const RowPlace &a, const RowPlace &b) { return a.across < b.across; });

    std::vector<RowMarks> rows(places.size());
    ForEach(places.size(), [&](size_t i, int) {
        const RowPlace &p = places[i];
        rows[i] = MeasureRow(page, p.first, u, p.length, p.height);
    });
    std::vector<double> pitches;
    for (const RowMarks &r : rows) {
        if (r.pitch <= 0)
            return out;
        pitches.push_back(r.pitch / r.scale);
    }
    // Rows of one zone share the pitch; the number of characters follows from the
    // row length, choosing between the formats with that many rows.
    const double pitch = Median(pitches);
    double estimate = 0;
    for (const RowMarks &r : rows)
        estimate += (r.marks.back().Cx() - r.marks.front().Cx()) / r.scale / pitch + 1.0;
    estimate /= double(rows.size());
    if (format)
        out.format = *format;
    else if (rows.size() == 3)
        out.format = Format::TD1;
    else
        out.format = std::fabs(estimate - 36) < std::fabs(estimate - 44) ? Format::TD2 : Format::TD3;
    const Layout layout = LayoutOf(out.format);
    // Two rows' length chooses between 36 and 44 characters. Three rows are a
    // card's 30 however short they measure: the search may have lost a
    // stretch of their characters to glare or a band of colour, which the
    // cells placed from the rows' start bring back.
    const double lacking = layout.length - estimate;
    if (layout.lines != int(rows.size()) || lacking > (format || rows.size() == 3 ? 9.0 : 4.5) ||
        -lacking > (format ? 9.0 : 4.5))
        return out;
    // A forced length may mend merged marks, but not turn rows that measure as
    // a card's 30 characters into a longer format.
    if (format && std::fabs(estimate - 30) < std::fabs(estimate - 36))
        return out;
    out.marks = std::move(rows);
    out.pitch = pitch;
    out.estimate = estimate;
    out.ok = FitCells(out, bank, false);
    return out;
}

void Describe(const ZoneGrid &grid, const DecodedZone &decoded, MrzResult &res)
{
    const Layout layout = LayoutOf(decoded.format);
    res.found = true;
    res.format = decoded.format;
    for (int r = 0; r < layout.lines; ++r)
        res.lines << decoded.text.mid(r * layout.length, layout.length);
    res.confidence = decoded.confidence;
    res.trusted = decoded.trusted;
    res.checkFailed = decoded.checkFailed;
    res.checks = decoded.checks;
    res.likeness = decoded.meanScore;
    res.weakLikeness = decoded.weakLikeness;
    res.allConfident = decoded.allConfident;
    res.fields = ParseFields(decoded.format, decoded.text);
    // The page turn that brings u to the right: rows that read downwards need a
    // quarter turn anticlockwise, i.e. 270 degrees clockwise.
    const RowGrid &top = grid.rows.front(), &bottom = grid.rows.back();
    const double angle = std::atan2(top.u.y(), top.u.x()) * 180.0 / std::numbers::pi;
    const int quarter = int(std::lround(angle / 90.0));
    res.turn = ((-quarter * 90) % 360 + 360) % 360;
    res.skew = angle - quarter * 90.0;
    const double half = top.pitch / 2;
    const QPointF up = top.v * (2.4 * half), down = bottom.v * (2.4 * half);
    res.zone << top.cells.front().centre - top.u * half - up << top.cells.back().centre + top.u * half - up
             << bottom.cells.back().centre + bottom.u * half + down << bottom.cells.front().centre - bottom.u * half + down;
}

// page: the picture as the glyphs are matched against it; ink: the same under
// the grey that keeps only black print dark, where the rows' marks are found.
Reading ReadZone(const Sampler &page, const Sampler &ink, const GlyphBank &bank, const ZoneCandidate &zone, QPointF dir,
                 bool anyTurn, std::optional<Format> format = std::nullopt)
{
    Reading out;
    ZoneGrid grid = MeasureZone(ink, bank, zone, dir, format);
    if (!grid.ok)
        return out;
    const CellClassifier cls(bank);
    // Every cell of the zone in reading order, the characters' height scaled by `tall`.
    const Sampler *source = &page;
    bool flat = false;
    auto sampleCell = [&](const RowGrid &r, const Cell &c, double tall) {
        Patch p = SampleCell(*source, bank, cls, r, c, tall);
        if (flat)
            FlattenBackground(p);
        return p;
    };
    auto sampleZone = [&](double tall) {
        std::vector<std::pair<const RowGrid *, const Cell *>> cells;
        for (const RowGrid &r : grid.rows)
            for (const Cell &c : r.cells)
                cells.push_back({&r, &c});
        std::vector<Patch> all(cells.size());
        ForEach(cells.size(), [&](size_t i, int) { all[i] = sampleCell(*cells[i].first, *cells[i].second, tall); });
        return all;
    };
    // Copies of a classifier for each core: it keeps its window's figures
    // between calls.
    std::vector<CellClassifier> clsOf(size_t(Workers()), cls);
    std::vector<Patch> patches = sampleZone(1.0);
    // Which way the rows read is decided by how well the glyphs match either
    // way, not by the check digits: a misread zone can be repaired into passing them.
    double forward = 0, backward = 0;
    {
        std::vector<float> ahead(patches.size()), round(patches.size());
        ForEach(patches.size(), [&](size_t i, int worker) {
            const Patch &p = patches[i];
            ahead[i] = clsOf[size_t(worker)].BestAtCentre(p);
            round[i] = clsOf[size_t(worker)].BestAtCentre(Patch(p.rbegin(), p.rend()));
        });
        for (size_t i = 0; i < patches.size(); ++i)
            forward += ahead[i], backward += round[i];
    }
    const bool turnRound = backward > forward;
    if (!anyTurn) {
        const QPointF u = grid.rows.front().u;
        if ((turnRound ? -u.x() : u.x()) < 0.9)
            return out;
    }
    if (turnRound) {
        if (!FitCells(grid, bank, true))
            return out;
        patches = sampleZone(1.0);
    }

    // The blur of the scan decides which set of glyphs the cells are read
    // against; a few dozen cells spread over the zone show it. Print that
    // matches OCR-B poorly is tried against the plain face too: a zone in
    // such a face is read, but nothing of it is trusted.
    CellClassifier reader(bank);
    const size_t stride = std::max<size_t>(1, patches.size() / 32);
    auto choose = [&](Typeface face, int *chosen) {
        double bestLikeness = -1;
        const size_t perSet = (patches.size() + stride - 1) / stride;
        std::vector<float> each(size_t(GlyphBank::kSets) * perSet);
        ForEach(each.size(), [&](size_t k, int worker) {
            each[k] = clsOf[size_t(worker)].Likeness(patches[k % perSet * stride], int(k / perSet), face);
        });
        for (int set = 0; set < GlyphBank::kSets; ++set) {
            double likeness = 0;
            int count = 0;
            for (size_t i = 0; i < perSet; ++i, ++count)
                likeness += each[size_t(set) * perSet + i];
            likeness /= std::max(1, count);
            if (likeness > bestLikeness) {
                bestLikeness = likeness;
                *chosen = set;
            }
        }
        return bestLikeness;
    };
    int bestSet = 0;
    Typeface face = Typeface::OcrB;
    double ocrB = choose(Typeface::OcrB, &bestSet);
    // A grey page has no brightest channel apart from its grey: the cells
    // sampled again would be the same, and never match better.
    if (!page.ReadsAlike(ink)) {
        // Print on a coloured background: the brightest of the channels keeps
        // black print dark and turns the colour to paper.
        std::vector<Patch> before = std::move(patches);
        source = &ink;
        patches = sampleZone(1.0);
        int inkSet = 0;
        const double inkLikeness = choose(Typeface::OcrB, &inkSet);
        if (inkLikeness > ocrB) {
            ocrB = inkLikeness;
            bestSet = inkSet;
        } else {
            source = &page;
            patches = std::move(before);
        }
    }
    // Print over a band of colour with gaps, or crossed by the lines of a
    // guilloche: what lies lighter than the strokes is taken for paper when
    // the glyphs then match clearly better.
    {
        // Only the cells the choice looks at, until it is made.
        std::vector<Patch> kept(patches.size());
        for (size_t i = 0; i < patches.size(); i += stride) {
            kept[i] = patches[i];
            FlattenBackground(patches[i]);
        }
        int flatSet = 0;
        const double flatLikeness = choose(Typeface::OcrB, &flatSet);
        if (flatLikeness > ocrB + kFlatLead) {
            flat = true;
            ocrB = flatLikeness;
            bestSet = flatSet;
            ForEach(patches.size(), [&](size_t i, int) {
                if (i % stride != 0)
                    FlattenBackground(patches[i]);
            });
        } else {
            for (size_t i = 0; i < patches.size(); i += stride)
                patches[i] = std::move(kept[i]);
        }
    }
    if (ocrB < kPlainFaceLikeness && bank.HasPlain()) {
        int plainSet = 0;
        if (choose(Typeface::PlainMono, &plainSet) > ocrB + kPlainFaceLead) {
            face = Typeface::PlainMono;
            bestSet = plainSet;
        }
    }
    const bool plain = face == Typeface::PlainMono;
    reader.UseSet(bestSet);
    reader.UseTypeface(face);
    // Seen at an angle, the characters' height may be scaled apart from their
    // width: half those cells show by how much (a plain scan keeps its
    // proportions unless another fits clearly better).
    double tall = 1.0;
    {
        std::vector<std::pair<const RowGrid *, const Cell *>> sample;
        std::vector<size_t> sampled;
        size_t i = 0;
        for (const RowGrid &r : grid.rows)
            for (const Cell &c : r.cells)
                if (i++ % (2 * stride) == 0)
                    sample.push_back({&r, &c}), sampled.push_back(i - 1);
        constexpr double talls[] = {1.0, 0.88, 0.94, 1.06, 1.12};
        std::vector<float> each(std::size(talls) * sample.size());
        ForEach(each.size(), [&](size_t k, int worker) {
            const size_t t = k / sample.size(), j = k % sample.size();
            CellClassifier &own = clsOf[size_t(worker)];
            each[k] = t == 0 ? own.Likeness(patches[sampled[j]], bestSet, face)
                             : own.Likeness(sampleCell(*sample[j].first, *sample[j].second, talls[t]), bestSet, face);
        });
        double best = 0;
        for (size_t j = 0; j < sample.size(); ++j)
            best += each[j];
        best += 0.01 * double(sample.size());
        for (size_t t = 1; t < std::size(talls); ++t) {
            double likeness = 0;
            for (size_t j = 0; j < sample.size(); ++j)
                likeness += each[t * sample.size() + j];
            if (likeness > best)
                best = likeness, tall = talls[t];
        }
    }
    if (tall != 1.0)
        patches = sampleZone(tall);
    std::vector<Scores> scores(patches.size());
    {
        std::vector<CellClassifier> readers(size_t(Workers()), reader);
        ForEach(patches.size(), [&](size_t i, int worker) { scores[i] = readers[size_t(worker)].Classify(patches[i]); });
    }
    DecodedZone decoded = DecodeZone(grid.format, scores);
    if (plain) {
        decoded.weakLikeness = true;
        decoded.allConfident = false;
        std::fill(decoded.trusted.begin(), decoded.trusted.end(), false);
    }
    // Text in OCR-B that only looks like a zone is no zone, however the check
    // digits can be repaired into holding.
    if (!decoded.plausible)
        return out;
    // Rows forced to a shorter length than they measure leave characters
    // out unseen (a visa's rows read as the shorter visa's hold every check
    // they keep): such a reading is returned, but nothing of it trusted.
    if (format && grid.estimate - LayoutOf(grid.format).length > kForcedShorter) {
        decoded.allConfident = false;
        std::fill(decoded.trusted.begin(), decoded.trusted.end(), false);
    }
    Describe(grid, decoded, out.result);
    int valid = 0;
    // A check that holds speaks for the layout even where it confirms no
    // character (two doubtful ones under it).
    for (const CheckResult &c : decoded.checks)
        valid += c.holds ? 1 : 0;
    // Checks that hold count first; each repair and misfit costs, and a reading
    // whose rows match the format exactly beats one forced to a length. The
    // more a forced length differs from what the rows measure, the less it
    // is worth: a card's rows forced to a passport's length read on into
    // the print beyond them, where a check more may hold by chance, and a
    // passport's rows forced to a card's lose their fillers unseen.
    out.quality = valid * 10.0 - decoded.repairs * 4.0 - decoded.misfits * 4.0
                  + (format ? -kForcedPerCharacter * std::fabs(grid.estimate - LayoutOf(grid.format).length) : 6.0)
                  + decoded.meanScore;
    return out;
}

} // namespace

MrzResult ReadMrz(const QImage &picture, const ReadOptions &options)
{
    MrzResult none;
    if (picture.isNull()) {
        none.error = QStringLiteral("the picture is empty");
        return none;
    }
    const GlyphBank *bank = GlyphBank::Instance(&none.error);
    if (!bank)
        return none;
    const QImage page = ReadableFormat(picture);
    const Sampler sampler(page), ink(page, GreyOf::Brightest);
    Reading best;
    // A second search with a stricter idea of ink when the first found no zone
    // that reads cleanly (dark background lines run through the characters),
    // a third with a looser idea for print faded towards the paper, and that
    // again against narrower surroundings, which follow a band of colour
    // printed behind the characters instead of turning it dark whole; last,
    // thin strokes darker than what closes over them.
    struct Search
    {
        float inkRatio;
        int minContrast;
        int surroundings;
        int strokeRadius = 0;
    };
    for (const Search search :
         {Search{0.85f, 16, 20}, Search{0.72f, 16, 20}, Search{0.93f, 8, 20}, Search{0.93f, 8, 60},
          Search{0.93f, 8, 0, 2}}) {
        // Thin strokes alone where no search found a zone: ink nearly as dark
        // as the band of colour behind it, which no surroundings tell apart.
        if (search.strokeRadius > 0 && best.result.found)
            break;
        const float inkRatio = search.inkRatio;
        for (const ZoneCandidate &zone :
             LocateZones(page, options.maxCandidates, inkRatio, search.minContrast, search.surroundings, search.strokeRadius)) {
            QPointF dir;
            for (const ZoneLine &l : zone.lines) {
                const QPointF d = l.end - l.start;
                dir += Dot(d, dir) < 0 ? -d : d;
            }
            // Rows found along x are measured left to right, rows along y top down;
            // the reading turns them round when the glyphs say so.
            if (dir.x() + dir.y() < 0)
                dir = -dir;
            Reading r = ReadZone(sampler, ink, *bank, zone, Unit(dir), options.anyTurn);
            // Two rows of 36 or of 44: merged marks can mislead the count, so a
            // reading that does not hold is tried with the other length too.
            if (zone.lines.size() == 2 && !ReadsCleanly(r.result)) {
                const Format other = r.result.found && LayoutOf(r.result.format).length == 44 ? Format::TD2 : Format::TD3;
                Reading o = ReadZone(sampler, ink, *bank, zone, Unit(dir), options.anyTurn, other);
                if (o.quality > r.quality)
                    r = std::move(o);
                if (!r.result.found) {
                    Reading t = ReadZone(sampler, ink, *bank, zone, Unit(dir), options.anyTurn, Format::TD2);
                    if (t.quality > r.quality)
                        r = std::move(t);
                }
            }
            // Glare, a band of colour or fading may hide the characters at
            // one end of the rows from the search: read again with the rows
            // drawn further out on both sides, where the marks of the lost
            // characters are found again against their own surroundings and
            // stray print beyond the zone stands apart from it.
            if (!ReadsCleanly(r.result)) {
                ZoneCandidate longer = zone;
                for (ZoneLine &l : longer.lines) {
                    const QPointF along = Unit(l.end - l.start) * (kLostCharacters * l.height);
                    l.start -= along;
                    l.end += along;
                }
                Reading e = ReadZone(sampler, ink, *bank, longer, Unit(dir), options.anyTurn);
                if (e.quality > r.quality)
                    r = std::move(e);
            }
            if (r.quality > best.quality)
                best = std::move(r);
            if (ReadsCleanly(best.result))
                return best.result;
        }
    }
    return best.result;
}

std::future<MrzResult> ReadAhead(const QImage &page, const ReadOptions &options)
{
    return AsideBehind([page = ReadableFormat(page), options] { return ReadMrz(page, options); });
}

bool PrepareReader(QString *error)
{
    return GlyphBank::Instance(error) != nullptr;
}

MrzResult ReadMrzFile(const QString &path, const ReadOptions &options)
{
    MrzResult r;
    const QImage image = imaging::LoadPageFile(path, &r.error);
    if (image.isNull())
        return r;
    return ReadMrz(image, options);
}

} // namespace mrz
