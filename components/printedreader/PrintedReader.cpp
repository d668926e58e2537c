#include "PrintedReader.h"

#include "DocumentFields.h"
#include "EnginePool.h"
#include "KindRecognition.h"
#include "LicenceNumbers.h"
#include "PageText.h"
#include "ZoneCheck.h"

#include "MrzReader.h"

#include <tesseract/baseapi.h>
#include <ctime>

namespace printed {

namespace {

// A document shows itself by a few of its labels; one alone may be any word.
constexpr int kLabelsOfADocument = 2;

int FieldLabels(const std::vector<LabelHit> &hits)
{
    int n = 0;
    for (const LabelHit &h : hits)
        n += h.role != LabelRole::Other ? 1 : 0;
    return n;
}

} // namespace

PrintedReading ReadPrinted(const QImage &page, DocumentKind kind, const mrz::MrzResult *zone)
{
    PrintedReading r;
    r.kind = kind;
    EngineLease engine = LeaseEngine(&r.error);
    if (!engine)
        return r;
    const std::clock_t c0 = std::clock();
    PageText text = ReadPageText(*engine, page, kind, zone);
    if (kind == DocumentKind::DrivingLicence)
        RestoreLicenceNumbers(*engine, &text.lines, text.page.grey.size());
    if (qEnvironmentVariableIsSet("PR_DEBUG")) fprintf(stderr, "page %.0f ms\n", (std::clock() - c0) * 1000.0 / CLOCKS_PER_SEC);
    const auto hits = FindLabels(text.lines, kind);
    if (qEnvironmentVariableIsSet("PR_DEBUG")) { // TEMP
        text.page.grey.save(QStringLiteral("/tmp/pr_prepared.png"));
        for (size_t i = 0; i < text.lines.size(); ++i) {
            QString s;
            for (auto &w : text.lines[i].words) s += QStringLiteral("[%1 %2,%3 %4x%5] ").arg(w.text).arg(w.box.x()).arg(w.box.y()).arg(w.box.width()).arg(w.box.height());
            fprintf(stderr, "L%zu %s\n", i, qPrintable(s));
        }
        for (auto &h : hits) fprintf(stderr, "H role=%d line=%d %d-%d\n", int(h.role), h.line, h.firstWord, h.lastWord);
    }
    if (FieldLabels(hits) >= kLabelsOfADocument) {
        r.documentFound = true;
        r.fields = ReadDocumentFields(*engine, kind, text.lines, hits, text.page.grey.size());
        if (qEnvironmentVariableIsSet("PR_DEBUG")) fprintf(stderr, "fields %.0f ms\n", (std::clock() - c0) * 1000.0 / CLOCKS_PER_SEC);
        for (auto &[field, t] : r.fields)
            t.box = text.page.toPage.mapRect(QRectF(t.box)).toAlignedRect();
    }
    if (zone && zone->found)
        CrossCheck(kind, *zone, &r.fields);
    return r;
}

std::optional<DocumentKind> RecogniseKind(const QImage &page)
{
    EngineLease engine = LeaseEngine();
    if (!engine)
        return std::nullopt;
    const PageText text = ReadPageText(*engine, page, DocumentKind::DrivingLicence, nullptr);
    return KindOfLines(text.lines);
}

bool ReaderAvailable(QString *why)
{
    QString error;
    const EngineLease engine = LeaseEngine(&error);
    if (why)
        *why = error;
    return bool(engine);
}

} // namespace printed
