// Reads real pictures of travel documents and a set of generated zone pages
// with our reader and with Tesseract 5, and prints one table: documents with
// every line right, character error rate, zones found, false valid readings,
// zones found where there are none and milliseconds per picture, beside the
// accepted targets.
//
//   mrz_compare --evaluation [--pages DIR] [--real DIR | --no-real] [--no-tesseract]
//   mrz_compare [--seed S] [--pages DIR] [--count N] [--dpi D] [--scans]
//               [--real DIR | --no-real] [--no-tesseract]
//
// Real pictures: read in place from DIR (default ../shared/mrz-real-dev, the
// development pictures, through their truth.json); the run names the ones not
// read right, for tuning. Skipped with a message when the folder is missing.
// Generated pages: without --evaluation a development set (seed
// kDevelopmentSeed or --seed), whose missed pages are named. The fixed
// evaluation set is read only when --evaluation asks for it, and then only the
// figures are printed: no page names that could steer tuning. It is one set
// whatever the command line says (--seed, --count, --dpi and --scans are
// refused with it), so its figures always mean the same thing. A set is drawn
// from its seed into DIR the first time (and reused after); it mixes scans,
// photographs, zone crops and pages without a zone (--scans: scans only);
// --dpi puts every page at one resolution.
// Times are processor time on one core (the machine may be shared, so wall
// time would measure the neighbours): our reader's processor time on the decoded
// picture in this process, pinned to one core; Tesseract's child-process time.
// Tesseract gets a generated page's zone cut out by the truth, upright,
// deskewed and scaled (generous to it: it need not find the zone), a real
// picture whole but turned upright by the truth, and a picture without a zone
// whole; it runs as the `tesseract` command with one thread.

#include "MrzReader.h"
#include "ProcessTime.h"
#include "MrzScore.h"
#include "PageGenerator.h"
#include "platform/PageLoader.h"
#include "TesseractZone.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTransform>

#include <sched.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

namespace {

using mrzbench::Expected;
using mrzbench::Reading;
using mrzbench::Tally;

constexpr std::uint64_t kEvaluationSeed = 20261208; // the fixed evaluation set; tuning uses other seeds
constexpr std::uint64_t kDevelopmentSeed = 7;       // the default: a set to tune on
constexpr int kEvaluationCount = 1000;

// Accepted targets.
constexpr double kRealRightShare = 0.95;
constexpr double kRealMedianMs = 100;
constexpr double kEvaluationRightShare = 0.995;

using benchtime::ProcessMs;

struct Options
{
    QString pages;
    std::uint64_t seed = kDevelopmentSeed;
    bool evaluation = false;
    int count = kEvaluationCount;
    int dpi = 0;
    bool scans = false;
    QString real = QStringLiteral("../shared/mrz-real-dev");
    bool tesseract = true;
};

// One set's figures for both readers.
struct SetResult
{
    Tally ours, oursDecoding, theirs;
    std::map<QString, Tally> oursByKind;
    std::map<QString, Tally> oursByCondition; // a picture counts under each of its conditions
    // By format, with the pictures whose every truth field came out as read
    // (the measure for the layouts the document code tells apart).
    std::map<QString, std::pair<Tally, int>> oursByFormat;
    std::map<std::pair<int, bool>, Tally> oursByDpi; // (dpi, whole A4 glass)
    QStringList misses;
    // Internal passport zones, and how many came out with every field of the
    // truth right: the Cyrillic names the reader decodes from their Latin
    // transliteration, and the series and number, dates, sex and division code
    // it lays out as the page prints them.
    int internalZones = 0, internalRight = 0;
};

// Our reader on a picture file: the reading with and without the time spent
// decoding the file.
struct OurRun
{
    Reading reading;
    double decodeMs = 0;
    mrz::MrzResult result;
    QImage page;
};

std::optional<OurRun> ReadOurs(const QString &picture)
{
    OurRun run;
    const double decodeStart = ProcessMs();
    QString error;
    run.page = imaging::LoadPageFile(picture, &error);
    run.decodeMs = ProcessMs() - decodeStart;
    if (run.page.isNull()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return std::nullopt;
    }
    const double start = ProcessMs();
    run.result = mrz::ReadMrz(run.page);
    run.reading.ms = ProcessMs() - start;
    run.reading.found = run.result.found;
    run.reading.text = run.result.Text();
    run.reading.valid = run.result.found && run.result.AllChecksValid();
    return run;
}

void Count(SetResult &set, const Expected &truth, const OurRun &run)
{
    set.ours.Add(truth, run.reading);
    Reading withDecoding = run.reading;
    withDecoding.ms += run.decodeMs;
    set.oursDecoding.Add(truth, withDecoding);
    set.oursByKind[truth.hasZone ? truth.kind : QStringLiteral("no zone")].Add(truth, run.reading);
    if (truth.hasZone)
        for (const QString &c : truth.conditions)
            set.oursByCondition[c].Add(truth, run.reading);
    if (truth.hasZone && !truth.format.isEmpty()) {
        auto &[tally, fieldsRight] = set.oursByFormat[truth.format];
        tally.Add(truth, run.reading);
        const bool right = run.reading.found && mrzbench::FieldsRight(truth.fields, run.result.fields);
        fieldsRight += right ? 1 : 0;
        if (truth.format == mrz::FormatName(mrz::Format::RusInternal)) {
            ++set.internalZones;
            set.internalRight += right ? 1 : 0;
        }
    }
}

// Tesseract on a whole picture turned upright.
Reading TesseractWhole(const QImage &page, const Expected &truth, const QTemporaryDir &scratch)
{
    const QString file = scratch.filePath(QStringLiteral("whole.png"));
    (truth.uprightTurn % 360 ? page.transformed(QTransform().rotate(truth.uprightTurn)) : page).save(file);
    QString output;
    const double ms = mrzbench::RunTesseract(file, 3, &output);
    Reading r = truth.hasZone ? mrzbench::ZoneFromText(output, truth.Rows(), truth.Length(), true)
                              : mrzbench::AnyZoneFromText(output);
    r.ms = ms;
    return r;
}

// Tesseract on the zone cut out by the truth's corners.
Reading TesseractCrop(const QImage &page, const Expected &truth, const QJsonObject &json, const QTemporaryDir &scratch)
{
    QPolygonF zone;
    for (const QJsonValue &p : json.value(QStringLiteral("zone")).toArray())
        zone << QPointF(p.toArray().at(0).toDouble(), p.toArray().at(1).toDouble());
    const QString file = scratch.filePath(QStringLiteral("zone.png"));
    mrzbench::ZoneCrop(page, zone, truth.Length()).save(file);
    QString output;
    const double ms = mrzbench::RunTesseract(file, 6, &output);
    Reading r = mrzbench::ZoneFromText(output, truth.Rows(), truth.Length(), false);
    r.ms = ms;
    return r;
}

std::optional<SetResult> ReadRealPictures(const Options &o, const QTemporaryDir &scratch)
{
    QFile truthFile(QDir(o.real).filePath(QStringLiteral("truth.json")));
    if (!truthFile.open(QIODevice::ReadOnly)) {
        std::printf("Real pictures: none (no %s); skipped.\n", qPrintable(truthFile.fileName()));
        return std::nullopt;
    }
    const QJsonObject all = QJsonDocument::fromJson(truthFile.readAll()).object();
    SetResult set;
    for (auto it = all.begin(); it != all.end(); ++it) {
        const Expected truth = mrzbench::FromReal(it.key(), it.value().toObject());
        QString picture = QDir(o.real).filePath(QStringLiteral("images/") + it.key());
        if (!QFile::exists(picture))
            picture = QDir(o.real).filePath(it.key());
        const std::optional<OurRun> run = ReadOurs(picture);
        if (!run)
            continue;
        Count(set, truth, *run);
        const QString miss = mrzbench::Miss(truth, run->reading);
        if (!miss.isEmpty())
            set.misses << QStringLiteral("%1 (%2)").arg(truth.name, miss);
        if (o.tesseract)
            set.theirs.Add(truth, TesseractWhole(run->page, truth, scratch));
    }
    return set;
}

std::optional<SetResult> ReadGeneratedPages(const Options &o, const QString &folder, const QTemporaryDir &scratch)
{
    SetResult set;
    for (int i = 0; i < o.count; ++i) {
        const QString stem = QStringLiteral("page-%1").arg(i, 4, 10, QLatin1Char('0'));
        QFile truthFile(QDir(folder).filePath(stem + QStringLiteral(".json")));
        if (!truthFile.exists()) {
            QString error;
            const mrzpages::SetMix mix = o.scans ? mrzpages::SetMix::Scans : mrzpages::SetMix::RealWorld;
            if (!mrzpages::WritePage(mrzpages::MakeSetPage(o.seed, i, o.dpi, mix), folder, stem, &error)) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                return std::nullopt;
            }
        }
        if (!truthFile.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(truthFile.fileName()));
            return std::nullopt;
        }
        const QJsonObject json = QJsonDocument::fromJson(truthFile.readAll()).object();
        const Expected truth = mrzbench::FromGenerated(json);
        const std::optional<OurRun> run = ReadOurs(QDir(folder).filePath(truth.name));
        if (!run)
            return std::nullopt;
        Count(set, truth, *run);
        const int dpi = json.value(QStringLiteral("dpi")).toInt();
        // Sets drawn before the truth named it had whole pages up to 300 dpi only.
        const bool a4 = json.value(QStringLiteral("a4")).toBool(dpi <= 300);
        set.oursByDpi[{dpi, a4}].Add(truth, run->reading);
        if (!mrzbench::Miss(truth, run->reading).isEmpty())
            set.misses << stem;
        if (o.tesseract)
            set.theirs.Add(truth, truth.hasZone ? TesseractCrop(run->page, truth, json, scratch)
                                                : TesseractWhole(run->page, truth, scratch));
        if ((i + 1) % 50 == 0)
            std::fprintf(stderr, "%d pages\n", i + 1);
    }
    return set;
}

const char *Verdict(mrzbench::Verdict v)
{
    return mrzbench::VerdictText(v);
}

// The share right of a set's legible zones against the evaluation target.
void PrintShareTarget(const char *what, const Tally &t)
{
    std::printf("  every line right >= %.1f %% %s: %.1f %% (%d/%d) %s\n", 100 * kEvaluationRightShare, what,
                100 * t.RightShare(), t.AllRight(), t.LegibleZones(),
                Verdict(mrzbench::AtLeast(t.AllRight(), t.LegibleZones(), kEvaluationRightShare)));
}

void PrintTargets(const char *name, const SetResult &set, bool real)
{
    using mrzbench::AtLeast, mrzbench::AtMost, mrzbench::NoneOf;
    const Tally &t = set.ours;
    if (real) {
        std::printf("Targets, %s: every line right >= %.0f %% of legible documents: %.1f %% %s; no false valid: %d %s;"
                    " no zone found where none: %d/%d %s; median <= %.0f ms: %.1f ms %s\n",
                    name, 100 * kRealRightShare, 100 * t.RightShare(),
                    Verdict(AtLeast(t.AllRight(), t.LegibleZones(), kRealRightShare)), t.FalseValid(),
                    Verdict(NoneOf(t.FalseValid(), t.Pictures())), t.FoundWhereNone(), t.Negatives(),
                    Verdict(NoneOf(t.FoundWhereNone(), t.Negatives())), kRealMedianMs, t.MedianMs(),
                    Verdict(AtMost(t.MedianMs(), kRealMedianMs, t.Pictures())));
        return;
    }
    std::printf("Targets, %s:\n", name);
    PrintShareTarget("of all documents", t);
    // The target holds at every angle and in perspective, not only on the
    // whole set, where square scans could carry it.
    static const Tally none;
    const auto condition = [&](const char *c) -> const Tally & {
        const auto it = set.oursByCondition.find(QString::fromLatin1(c));
        return it == set.oursByCondition.end() ? none : it->second;
    };
    PrintShareTarget("at an angle", condition(mrzbench::kAtAnAngle));
    PrintShareTarget("with keystone over 5 %", condition(mrzbench::kKeystone));
    std::printf("  internal passport zones with every field right 100 %%: %d/%d %s\n", set.internalRight, set.internalZones,
                Verdict(AtLeast(set.internalRight, set.internalZones, 1.0)));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Real pictures carry colour profiles that libpng grumbles about when the
    // upright copy for Tesseract is written; the copy is right all the same.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.info=false"));
    Options o;
    o.pages = QDir::current().filePath(QStringLiteral("mrz-evaluation"));
    bool seedGiven = false;
    QStringList setChanges; // options that would draw another set than the fixed evaluation set
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--pages") && i + 1 < args.size())
            o.pages = args[++i];
        else if (args[i] == QLatin1String("--seed") && i + 1 < args.size())
            o.seed = args[++i].toULongLong(), seedGiven = true;
        else if (args[i] == QLatin1String("--evaluation"))
            o.evaluation = true;
        else if (args[i] == QLatin1String("--count") && i + 1 < args.size())
            o.count = args[++i].toInt(), setChanges << args[i - 1];
        else if (args[i] == QLatin1String("--dpi") && i + 1 < args.size())
            o.dpi = args[++i].toInt(), setChanges << args[i - 1];
        else if (args[i] == QLatin1String("--scans"))
            o.scans = true, setChanges << args[i];
        else if (args[i] == QLatin1String("--real") && i + 1 < args.size())
            o.real = args[++i];
        else if (args[i] == QLatin1String("--no-real"))
            o.real.clear();
        else if (args[i] == QLatin1String("--no-tesseract"))
            o.tesseract = false;
        else {
            std::fprintf(stderr, "usage: mrz_compare --evaluation [--pages DIR] [--real DIR | --no-real] [--no-tesseract]\n"
                                 "       mrz_compare [--seed S] [--pages DIR] [--count N] [--dpi D] [--scans]\n"
                                 "                   [--real DIR | --no-real] [--no-tesseract]\n");
            return 2;
        }
    }
    if (o.evaluation && seedGiven)
        setChanges.prepend(QStringLiteral("--seed"));
    if (o.evaluation && !setChanges.isEmpty()) {
        std::fprintf(stderr, "mrz_compare: --evaluation reads the fixed set (%d pages, every kind of picture); it takes no %s\n",
                     kEvaluationCount, qPrintable(setChanges.join(QStringLiteral(", "))));
        return 2;
    }
    if (!o.evaluation && o.seed == kEvaluationSeed) {
        std::fprintf(stderr, "mrz_compare: that is the evaluation seed; ask for the evaluation run with --evaluation\n");
        return 2;
    }
    if (o.dpi < 0 || o.dpi > 1200 || o.count < 0) {
        std::fprintf(stderr, "mrz_compare: --dpi takes 1 to 1200, --count a number of pages\n");
        return 2;
    }
    if (o.evaluation)
        o.seed = kEvaluationSeed;
    // One core for our reader, as on a reception desk's busy machine.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu() >= 0 ? sched_getcpu() : 0, &one);
    sched_setaffinity(0, sizeof one, &one);

    const QString folder = QDir(o.pages).filePath(QStringLiteral("seed-%1-v%2").arg(o.seed).arg(mrzpages::kSetVersion) +
                                                 (o.scans ? QStringLiteral("-scans") : QString()) +
                                                 (o.dpi ? QStringLiteral("-dpi%1").arg(o.dpi) : QString()));
    QTemporaryDir scratch;
    const std::optional<SetResult> real = o.real.isEmpty() ? std::nullopt : ReadRealPictures(o, scratch);
    const std::optional<SetResult> generated = ReadGeneratedPages(o, folder, scratch);
    if (!generated)
        return 1;

    const char *setName = o.evaluation ? "evaluation" : "development";
    std::printf("\nReal pictures: %s\n", real ? qPrintable(o.real) : "skipped");
    std::printf("%s set: %d pages, seed %llu (%s)\n\n", o.evaluation ? "Evaluation" : "Development", o.count,
                static_cast<unsigned long long>(o.seed), qPrintable(folder));
    Tally::PrintHeader();
    const auto rows = [&](const char *name, const SetResult &set) {
        set.ours.PrintRow(name, "ours (mrzreader)");
        set.oursDecoding.PrintRow(name, "ours + decoding");
        if (o.tesseract)
            set.theirs.PrintRow(name, "Tesseract 5, eng");
    };
    if (real)
        rows("real", *real);
    rows(setName, *generated);
    std::printf("\nEvery line right: of the legible documents with a zone. CER: edit distance to the true lines over all\n"
                "their characters, fillers included (a zone not found counts them all). False valid: reported valid\n"
                "with text that differs from the print, where there is no zone, or over a check digit the print gets\n"
                "wrong. Found, none: zones reported on pictures without one. ms: processor time on one core per picture;\n"
                "\"ours\" starts after the picture is decoded, \"+ decoding\" adds that; Tesseract's is its whole process.\n");
    if (o.tesseract)
        std::printf("Tesseract reads a generated zone cut out by the truth (upright, deskewed), a real picture whole and\n"
                    "turned upright by the truth; its zone is the last rows of zone length. It has no position classes and\n"
                    "no check-digit repair, which our reader uses.\n");
    std::printf("\n");
    if (real)
        PrintTargets("real pictures", *real, true);
    PrintTargets(o.evaluation ? "evaluation set" : "development set", *generated, false);

    std::printf("\nOurs on the %s set by kind of picture:\n", setName);
    for (const auto &[kind, t] : generated->oursByKind)
        std::printf("  %-10s: %4d pictures, %5.1f %% right, CER %.3f %%, found where none %d, false valid %d, median %.1f ms\n",
                    qPrintable(kind), t.Pictures(), 100.0 * t.RightShare(), 100.0 * t.CharacterErrorRate(),
                    t.FoundWhereNone(), t.FalseValid(), t.MedianMs());
    std::printf("Ours on the pictures with a zone by condition (a picture under each of its own):\n");
    for (const auto &[condition, t] : generated->oursByCondition)
        std::printf("  %-26s: %4d pictures, %5.1f %% right, CER %.3f %%, false valid %d\n", qPrintable(condition), t.Pictures(),
                    100.0 * t.RightShare(), 100.0 * t.CharacterErrorRate(), t.FalseValid());
    std::printf("Ours by format (fields right: found, and every field of the truth as read):\n");
    for (const auto &[format, figures] : generated->oursByFormat)
        std::printf("  %-5s: %4d pictures, %5.1f %% every line right, %5.1f %% fields right, CER %.3f %%\n", qPrintable(format),
                    figures.first.Pictures(), 100.0 * figures.first.RightShare(),
                    100.0 * figures.second / std::max(1, figures.first.Pictures()), 100.0 * figures.first.CharacterErrorRate());
    std::printf("Ours by resolution (A4: the whole scanner glass; other: the card or a photograph alone):\n");
    for (const auto &[kind, t] : generated->oursByDpi)
        std::printf("  %3d dpi %-5s: %4d pictures, %5.1f %% right, CER %.3f %%, median %.1f ms, mean %.1f ms\n", kind.first,
                    kind.second ? "A4" : "other", t.Pictures(), 100.0 * t.RightShare(), 100.0 * t.CharacterErrorRate(),
                    t.MedianMs(), t.MeanMs());
    if (real)
        std::printf("\nReal pictures ours did not read right: %s\n",
                    real->misses.isEmpty() ? "none" : qPrintable(real->misses.join(QStringLiteral(", "))));
    // The evaluation run names no pages: looking at them would be tuning on them.
    if (o.evaluation)
        std::printf("Evaluation pages ours did not read right: %lld (not named)\n", static_cast<long long>(generated->misses.size()));
    else if (!generated->misses.isEmpty())
        std::printf("Development pages ours did not read right: %s\n", qPrintable(generated->misses.join(QLatin1Char(' '))));
    return 0;
}
