// Reads real pictures of travel documents and a set of generated zone pages
// with our reader and with Tesseract 5, and prints one table: documents with
// every line right, character error rate, zones found, false valid readings,
// zones found where there are none and milliseconds per picture, beside the
// accepted targets.
//
//   mrz_compare [--evaluation | --seed S] [--pages DIR] [--count N] [--dpi D] [--scans]
//               [--real DIR | --no-real] [--no-tesseract]
//
// Real pictures: read in place from DIR (default ../shared/mrz-real-dev, the
// development pictures, through their truth.json); the run names the ones not
// read right, for tuning. Skipped with a message when the folder is missing.
// Generated pages: without --evaluation a development set (seed
// kDevelopmentSeed or --seed), whose missed pages are named. The fixed
// evaluation set is read only when --evaluation asks for it, and then only the
// figures are printed: no page names that could steer tuning. A set is drawn
// from its seed into DIR the first time (and reused after); it mixes scans,
// photographs, zone crops and pages without a zone (--scans: scans only);
// --dpi puts every page at one resolution.
// Times are processor time on one core (the machine may be shared, so wall
// time would measure the neighbours): our reader's thread time on the decoded
// picture in this process, pinned to one core; Tesseract's child-process time.
// Tesseract gets a generated page's zone cut out by the truth, upright,
// deskewed and scaled (generous to it: it need not find the zone), a real
// picture whole but turned upright by the truth, and a picture without a zone
// whole; it runs as the `tesseract` command with one thread.

#include "MrzReader.h"
#include "MrzScore.h"
#include "PageGenerator.h"
#include "PageLoader.h"
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
#include <time.h>

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

// Accepted targets.
constexpr double kRealRightShare = 0.95;
constexpr double kRealMedianMs = 100;
constexpr double kEvaluationRightShare = 0.995;

double ThreadMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Options
{
    QString pages;
    std::uint64_t seed = kDevelopmentSeed;
    bool evaluation = false;
    int count = 1000;
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
    std::map<std::pair<int, bool>, Tally> oursByDpi; // (dpi, whole A4 glass)
    QStringList misses;
    // Zones whose truth holds fields in Cyrillic (the internal passport's
    // names, which the reader decodes from their Latin transliteration): how
    // many, and in how many every such field came out right.
    int cyrillicZones = 0, cyrillicRight = 0;
};

bool IsCyrillic(const QString &value)
{
    return std::any_of(value.begin(), value.end(), [](QChar c) { return c.unicode() >= 0x400 && c.unicode() <= 0x4ff; });
}

bool HasCyrillic(const QJsonObject &fields)
{
    return std::any_of(fields.begin(), fields.end(), [](const QJsonValue &v) { return IsCyrillic(v.toString()); });
}

// The truth's Cyrillic fields against the reader's field of the same name; a
// name the reader does not have counts as wrong.
bool CyrillicRight(const QJsonObject &want, const mrz::Fields &got)
{
    for (auto it = want.begin(); it != want.end(); ++it) {
        if (!IsCyrillic(it.value().toString()))
            continue;
        bool right = false;
        for (const mrz::FieldEntry &e : mrz::FieldTable())
            if (it.key() == QLatin1String(e.name))
                right = (got.*e.member).value == it.value().toString();
        if (!right)
            return false;
    }
    return true;
}

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
    const double decodeStart = ThreadMs();
    QString error;
    run.page = mrz::LoadPageFile(picture, &error);
    run.decodeMs = ThreadMs() - decodeStart;
    if (run.page.isNull()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return std::nullopt;
    }
    const double start = ThreadMs();
    run.result = mrz::ReadMrz(run.page);
    run.reading.ms = ThreadMs() - start;
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
    if (HasCyrillic(truth.fields)) {
        ++set.cyrillicZones;
        set.cyrillicRight += CyrillicRight(truth.fields, run.result.fields) ? 1 : 0;
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

const char *Met(bool met)
{
    return met ? "met" : "MISSED";
}

void PrintTargets(const char *name, const SetResult &set, bool real)
{
    const Tally &t = set.ours;
    if (real) {
        std::printf("Targets, %s: every line right >= %.0f %% of legible documents: %.1f %% %s; no false valid: %d %s;"
                    " no zone found where none: %d %s; median <= %.0f ms: %.1f ms %s\n",
                    name, 100 * kRealRightShare, 100 * t.RightShare(), Met(t.RightShare() >= kRealRightShare), t.FalseValid(),
                    Met(t.FalseValid() == 0), t.FoundWhereNone(), Met(t.FoundWhereNone() == 0), kRealMedianMs, t.MedianMs(),
                    Met(t.MedianMs() <= kRealMedianMs));
        return;
    }
    std::printf("Targets, %s: every line right >= %.1f %%: %.1f %% %s; zones with every Cyrillic field right"
                " (internal passports) 100 %%: ",
                name, 100 * kEvaluationRightShare, 100 * t.RightShare(), Met(t.RightShare() >= kEvaluationRightShare));
    if (set.cyrillicZones)
        std::printf("%d/%d %s\n", set.cyrillicRight, set.cyrillicZones, Met(set.cyrillicRight == set.cyrillicZones));
    else
        std::printf("no such zones in this set\n");
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
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--pages") && i + 1 < args.size())
            o.pages = args[++i];
        else if (args[i] == QLatin1String("--seed") && i + 1 < args.size())
            o.seed = args[++i].toULongLong(), seedGiven = true;
        else if (args[i] == QLatin1String("--evaluation"))
            o.evaluation = true;
        else if (args[i] == QLatin1String("--count") && i + 1 < args.size())
            o.count = args[++i].toInt();
        else if (args[i] == QLatin1String("--dpi") && i + 1 < args.size())
            o.dpi = args[++i].toInt();
        else if (args[i] == QLatin1String("--scans"))
            o.scans = true;
        else if (args[i] == QLatin1String("--real") && i + 1 < args.size())
            o.real = args[++i];
        else if (args[i] == QLatin1String("--no-real"))
            o.real.clear();
        else if (args[i] == QLatin1String("--no-tesseract"))
            o.tesseract = false;
        else {
            std::fprintf(stderr, "usage: mrz_compare [--evaluation | --seed S] [--pages DIR] [--count N] [--dpi D] [--scans]\n"
                                 "                   [--real DIR | --no-real] [--no-tesseract]\n");
            return 2;
        }
    }
    if (o.evaluation && seedGiven) {
        std::fprintf(stderr, "mrz_compare: --evaluation reads the fixed set; it takes no --seed\n");
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
