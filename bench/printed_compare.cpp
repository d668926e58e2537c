// Reads the printed fields of generated document pages with our printed
// reader (the zone read first where the document has one) and with plain
// Tesseract on the whole page, and prints one table side by side: per field
// the share exactly right and the character error rate, all fields, documents
// with every field right, fields that differ from the zone without a doubt
// mark, and processor milliseconds per page, beside the targets.
//
//   printed_compare [--pages DIR]                    the evaluation set
//   printed_compare --seed S [--count N] [--pages DIR] [--no-tesseract]
//
// The EVALUATION set is the pages of seeds 9000 to 9059 (20 of each kind): it
// is for measuring only, never for tuning, and its run names no page. A
// development set is any seeds below 9000 (--seed, --count); its run names
// the fields it missed. Pages are drawn into a folder of the set under DIR (a
// temporary folder without --pages) and read back from there when they are
// already drawn.
//
// One core: the process is pinned to one, the zone reader keeps to one worker
// and Tesseract to one OpenMP thread (OMP_THREAD_LIMIT=1, set before it
// loads). Tesseract reads with rus+eng and its default page segmentation
// (fully automatic, as its command line does); a field counts as right for it
// when the field's exact value occurs in the page's text, whitespace
// normalised. Times are processor time: ours from the decoded picture through
// the zone and the printed reading; Tesseract's from SetImage to the text.

#include "MrzReader.h"
#include "ProcessTime.h"
#include "Parallel.h"
#include "PrintedPages.h"
#include "PrintedReader.h"
#include "PrintedScore.h"

#include <tesseract/baseapi.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <sched.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using printed::DocumentKind;
using printed::Field;

using benchtime::ProcessMs;

struct Options
{
    QString pages;
    std::uint64_t seed = printedpages::kEvaluationSeed;
    int count = printedpages::kEvaluationCount;
    bool evaluation = true;
    bool tesseract = true;
};

// The page of one seed in the folder, drawn there first when it is not.
bool EnsurePage(const QString &folder, const QString &stem, std::uint64_t seed)
{
    if (QFile::exists(QDir(folder).filePath(stem + QStringLiteral(".json"))))
        return true;
    QString error;
    if (printedpages::WritePage(printedpages::MakeSeedPage(seed), folder, stem, &error))
        return true;
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return false;
}

std::map<Field, QString> TruthFields(const QJsonObject &json)
{
    std::map<Field, QString> truth;
    const QJsonObject fields = json.value(QStringLiteral("fields")).toObject();
    for (auto it = fields.begin(); it != fields.end(); ++it)
        if (const auto f = printed::FieldByName(it.key()))
            truth[*f] = it.value().toString();
    return truth;
}

// Plain Tesseract on the whole page: its text.
QString TesseractText(tesseract::TessBaseAPI &api, const QImage &page, double *ms)
{
    const QImage gray = page.convertToFormat(QImage::Format_Grayscale8);
    const double start = ProcessMs();
    api.SetImage(gray.constBits(), gray.width(), gray.height(), 1, int(gray.bytesPerLine()));
    const int dpi = int(std::lround(page.dotsPerMeterX() * 0.0254));
    if (dpi >= 70)
        api.SetSourceResolution(dpi);
    std::unique_ptr<char[]> text(api.GetUTF8Text());
    *ms = ProcessMs() - start;
    return text ? QString::fromUtf8(text.get()) : QString();
}

// A fault as the truth states it, without its measure where only its kind
// matters: "turned 1.20 degrees" is "turned", "200 dpi" and "JPEG quality 35"
// stay as they are, a milder JPEG quality is "JPEG quality 60-92".
QString FaultOf(const QString &degradation)
{
    if (degradation.endsWith(QLatin1String(" dpi")) || degradation == QLatin1String("JPEG quality 35"))
        return degradation;
    if (degradation.startsWith(QLatin1String("JPEG quality")))
        return QStringLiteral("JPEG quality 60-92");
    QStringList words;
    for (const QString &w : degradation.split(QLatin1Char(' '))) {
        bool number = false;
        w.toDouble(&number);
        if (!number && w != QLatin1String("degrees"))
            words << w;
    }
    return words.join(QLatin1Char(' '));
}

int Usage()
{
    std::fprintf(stderr, "usage: printed_compare [--pages DIR] [--no-tesseract]            (the evaluation set, seeds %llu..%llu)\n"
                         "       printed_compare --seed S [--count N] [--pages DIR] [--no-tesseract]   (a development set, S + N <= %llu)\n",
                 static_cast<unsigned long long>(printedpages::kEvaluationSeed),
                 static_cast<unsigned long long>(printedpages::kEvaluationSeed + printedpages::kEvaluationCount - 1),
                 static_cast<unsigned long long>(printedpages::kEvaluationSeed));
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // Tesseract's OpenMP reads its thread limit when the library loads, before
    // main: without the limit the program starts itself again with it.
    if (const char *limit = std::getenv("OMP_THREAD_LIMIT"); !limit || std::strcmp(limit, "1") != 0) {
        setenv("OMP_THREAD_LIMIT", "1", 1);
        execv("/proc/self/exe", argv);
        std::perror("printed_compare: cannot start again with OMP_THREAD_LIMIT=1");
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Options o;
    bool countGiven = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--pages") && i + 1 < args.size())
            o.pages = args[++i];
        else if (args[i] == QLatin1String("--seed") && i + 1 < args.size())
            o.seed = args[++i].toULongLong(&ok), o.evaluation = false;
        else if (args[i] == QLatin1String("--count") && i + 1 < args.size())
            o.count = args[++i].toInt(&ok), countGiven = true;
        else if (args[i] == QLatin1String("--no-tesseract"))
            o.tesseract = false;
        else
            return Usage();
        if (!ok)
            return Usage();
    }
    if (o.evaluation && countGiven) {
        std::fprintf(stderr, "printed_compare: the evaluation set is always its %d pages; --count goes with --seed\n",
                     printedpages::kEvaluationCount);
        return 2;
    }
    if (!o.evaluation && (o.count < 0 || o.seed + std::uint64_t(o.count) > printedpages::kEvaluationSeed)) {
        std::fprintf(stderr, "printed_compare: development seeds end below %llu (the evaluation set's), which is never tuned on\n",
                     static_cast<unsigned long long>(printedpages::kEvaluationSeed));
        return 2;
    }
    // One core for everything.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu() >= 0 ? sched_getcpu() : 0, &one);
    sched_setaffinity(0, sizeof one, &one);
    mrz::LimitWorkers(1);

    QTemporaryDir scratch;
    // One folder per set and generator version, so that pages kept on disk are
    // never taken for another set's or an older generator's.
    const QString folder = QDir(o.pages.isEmpty() ? scratch.path() : o.pages)
                               .filePath(QStringLiteral("seeds-%1-%2-v%3")
                                             .arg(o.seed)
                                             .arg(o.seed + std::uint64_t(std::max(o.count, 1)) - 1)
                                             .arg(printedpages::kPagesVersion));
    QString why;
    if (!printed::ReaderAvailable(&why))
        std::fprintf(stderr, "printed_compare: the printed reader says: %s\n", qPrintable(why));
    tesseract::TessBaseAPI api;
    if (o.tesseract) {
        if (api.Init(nullptr, "rus+eng") != 0) {
            std::fprintf(stderr, "printed_compare: Tesseract cannot load rus+eng (tesseract-ocr-rus, tesseract-ocr-eng)\n");
            return 1;
        }
        api.SetPageSegMode(tesseract::PSM_AUTO);
    }

    printedbench::Tally ours, theirs;
    // Ours apart by what makes a page hard: a page counts under its typeface
    // and under each of its faults.
    std::map<QString, printedbench::Tally> byCondition;
    const int year = QDate::currentDate().year();
    for (int i = 0; i < o.count; ++i) {
        const QString stem = QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
        if (!EnsurePage(folder, stem, o.seed + std::uint64_t(i)))
            return 1;
        QFile truthFile(QDir(folder).filePath(stem + QStringLiteral(".json")));
        if (!truthFile.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(truthFile.fileName()));
            return 1;
        }
        const QJsonObject json = QJsonDocument::fromJson(truthFile.readAll()).object();
        const std::optional<DocumentKind> kind = printed::KindByName(json.value(QStringLiteral("kind")).toString());
        const QImage page(QDir(folder).filePath(json.value(QStringLiteral("picture")).toString()));
        if (!kind || page.isNull()) {
            std::fprintf(stderr, "%s: no kind or no picture\n", qPrintable(stem));
            return 1;
        }
        const std::map<Field, QString> truth = TruthFields(json);

        const double start = ProcessMs();
        mrz::MrzResult zone;
        const bool hasZone = *kind != DocumentKind::DrivingLicence;
        if (hasZone)
            zone = mrz::ReadMrz(page);
        const printed::PrintedReading reading = printed::ReadPrinted(page, *kind, hasZone ? &zone : nullptr);
        const double ms = ProcessMs() - start;
        std::map<Field, printedbench::FieldReading> read;
        for (const auto &[field, text] : reading.fields)
            read[field] = printedbench::FieldReading{text.Value(), text.doubtful};
        ours.SetPageName(stem);
        const std::map<Field, QString> zoneValues = printedbench::ZoneValues(*kind, zone, year);
        ours.AddReading(*kind, truth, read, zoneValues, ms);
        QStringList conditions{QStringLiteral("typeface ") + json.value(QStringLiteral("font")).toString()};
        for (const QJsonValue &d : json.value(QStringLiteral("degradations")).toArray())
            conditions << FaultOf(d.toString());
        if (json.value(QStringLiteral("degradations")).toArray().isEmpty())
            conditions << QStringLiteral("no fault");
        for (const QString &c : conditions) {
            byCondition[c].AddReading(*kind, truth, read, zoneValues, ms);
        }

        if (o.tesseract) {
            double tms = 0;
            const QString text = TesseractText(api, page, &tms);
            theirs.SetPageName(stem);
            theirs.AddText(*kind, truth, text, tms);
        }
        if ((i + 1) % 10 == 0)
            std::fprintf(stderr, "%d pages\n", i + 1);
    }

    std::printf("\n%s set: %d pages, seeds %llu..%llu (%s)\n\n", o.evaluation ? "Evaluation" : "Development", o.count,
                static_cast<unsigned long long>(o.seed), static_cast<unsigned long long>(o.seed + std::uint64_t(o.count) - 1),
                qPrintable(folder));
    printedbench::PrintTable(ours, theirs, "ours (printedreader)", o.tesseract ? "Tesseract rus+eng, page" : "Tesseract (not run)");
    std::printf("\nRight: the value read is the truth, whitespace normalised (Tesseract: the truth occurs in its page text).\n"
                "CER: edits over the truth's characters (a field not read counts them all; Tesseract: the nearest stretch\n"
                "of its text). Unmarked: a field read with a value other than the zone's and no doubt mark (Tesseract marks\n"
                "nothing). ms: processor time on one core; ours includes reading the zone.\n");
    std::printf("\nOurs by typeface and by fault (a page under each of its own):\n");
    for (const auto &[condition, t] : byCondition)
        std::printf("  %-25s: %3d pages, fields %5.1f %% (%d/%d), documents %5.1f %% (%d/%d)\n", qPrintable(condition), t.Pages(),
                    t.Fields() ? 100.0 * t.FieldsRight() / t.Fields() : 0.0, t.FieldsRight(), t.Fields(),
                    t.Pages() ? 100.0 * t.DocumentsRight() / t.Pages() : 0.0, t.DocumentsRight(), t.Pages());
    // The evaluation run names no page: looking at them would be tuning on them.
    if (o.evaluation)
        std::printf("Evaluation fields ours missed: %zu (not named)\n", ours.Misses().size());
    else if (!ours.Misses().empty()) {
        // One line per page: "0007: Surname BirthPlace".
        std::map<QString, QStringList> byPage;
        for (const QString &m : ours.Misses())
            byPage[m.section(QLatin1Char(' '), 0, 0)] << m.section(QLatin1Char(' '), 1);
        std::printf("Development fields ours missed (%zu):\n", ours.Misses().size());
        for (const auto &[page, fields] : byPage)
            std::printf("  %s: %s\n", qPrintable(page), qPrintable(fields.join(QLatin1Char(' '))));
    }
    return 0;
}
