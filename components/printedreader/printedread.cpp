// printedread [--time] [--lines] PICTURE [KIND]: reads the printed fields of the document on the
// picture and prints them as JSON. KIND is InternalPassport, DrivingLicence
// or ForeignPassport; without it (or "auto") the kind is told from the page.
// The passports' zones are read first and cross-checked with the print.
// Exit status: 0 when the document was found, 1 when not, 2 on bad usage or
// when the picture or Tesseract cannot be loaded.

#include "MrzReader.h"
#include "EnginePool.h"
#include "LabelFinder.h"
#include "LicenceNumbers.h"
#include "PageText.h"
#include "PrintedJson.h"
#include "PrintedReader.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageReader>
#include <QJsonDocument>

#include <cstdio>
#include <ctime>

namespace {

void PrintLines(const QImage &page, printed::DocumentKind kind, const mrz::MrzResult *zone)
{
    printed::EngineLease engine = printed::LeaseEngine();
    if (!engine)
        return;
    printed::PageText text = printed::ReadPageText(*engine, page, kind, zone);
    if (kind == printed::DocumentKind::DrivingLicence)
        printed::RestoreLicenceNumbers(*engine, &text.lines, text.page.grey);
    std::fprintf(stderr, "picture read: %d x %d\n", text.page.grey.width(), text.page.grey.height());
    for (size_t i = 0; i < text.lines.size(); ++i) {
        std::fprintf(stderr, "%2zu:", i);
        for (const printed::OcrWord &w : text.lines[i].words)
            std::fprintf(stderr, " [%s %d,%d %dx%d]", qPrintable(w.text), w.box.x(), w.box.y(), w.box.width(),
                         w.box.height());
        std::fputc('\n', stderr);
    }
    for (const printed::LabelHit &h : printed::FindLabels(text.lines, kind))
        std::fprintf(stderr, "label %d: line %d, words %d..%d\n", int(h.role), h.line, h.firstWord, h.lastWord);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    // --time: the reading repeated once the engine is loaded, and its time
    // on stderr (what a page costs an engine server that reads many).
    const bool timed = args.removeAll(QStringLiteral("--time")) > 0;
    // --lines: what the engine read of the page, line by line with the
    // words' boxes, and the labels found, on stderr.
    const bool showLines = args.removeAll(QStringLiteral("--lines")) > 0;
    if (args.isEmpty() || args.size() > 2 || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h")) {
        std::fprintf(stderr, "usage: printedread [--time] [--lines] PICTURE [InternalPassport|DrivingLicence|ForeignPassport|auto]\n"
                             "Prints the document's printed fields as JSON.\n");
        return args.isEmpty() || args.size() > 2 ? 2 : 0;
    }
    std::optional<printed::DocumentKind> kind;
    if (args.size() == 2 && args[1] != QLatin1String("auto")) {
        kind = printed::KindByName(args[1]);
        if (!kind) {
            std::fprintf(stderr, "printedread: unknown kind %s\n", qPrintable(args[1]));
            return 2;
        }
    }
    QImageReader reader(args[0]);
    reader.setAutoTransform(true);
    const QImage page = reader.read();
    if (page.isNull()) {
        std::fprintf(stderr, "printedread: %s: %s\n", qPrintable(args[0]), qPrintable(reader.errorString()));
        return 2;
    }
    QString why;
    if (!printed::ReaderAvailable(&why)) {
        std::fprintf(stderr, "printedread: %s\n", qPrintable(why));
        return 2;
    }
    if (!kind)
        kind = printed::RecogniseKind(page);
    if (!kind) {
        std::fputs("{ \"documentFound\": false }\n", stdout);
        return 1;
    }
    mrz::MrzResult zone;
    if (*kind != printed::DocumentKind::DrivingLicence)
        zone = mrz::ReadMrz(page);
    printed::PrintedReading reading = printed::ReadPrinted(page, *kind, zone.found ? &zone : nullptr);
    if (timed) {
        // The processor time too: on a busy machine the wall clock says
        // more about the other processes than about the reading.
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpu = std::clock();
        reading = printed::ReadPrinted(page, *kind, zone.found ? &zone : nullptr);
        std::fprintf(stderr, "printedread: %lld ms, %.0f ms of processor time\n", static_cast<long long>(clock.elapsed()),
                     1000.0 * double(std::clock() - cpu) / CLOCKS_PER_SEC);
    }
    if (showLines)
        PrintLines(page, *kind, zone.found ? &zone : nullptr);
    std::fputs(QJsonDocument(printed::ToJson(reading)).toJson(QJsonDocument::Indented).constData(), stdout);
    return reading.documentFound ? 0 : 1;
}
