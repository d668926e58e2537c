#include "PrintedReader.h"

#include "DocumentFields.h"
#include "EdgeNumber.h"
#include "EnginePool.h"
#include "KindRecognition.h"
#include "LicenceNumbers.h"
#include "PageText.h"
#include "ZoneCheck.h"

#include "MrzReader.h"

#include <tesseract/baseapi.h>

namespace printed {

namespace {

// A document shows itself by a few of its labels; one alone may be any word
// (the licence's are numbers, which a few specks may resemble).
int LabelsOfADocument(DocumentKind kind)
{
    return kind == DocumentKind::DrivingLicence ? 4 : 2;
}

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
    PageText text = ReadPageText(*engine, page, kind, zone);
    if (kind == DocumentKind::DrivingLicence)
        RestoreLicenceNumbers(*engine, &text.lines, text.page.grey);
    const auto hits = FindLabels(text.lines, kind);
    if (FieldLabels(hits) >= LabelsOfADocument(kind)) {
        r.documentFound = true;
        r.fields = ReadDocumentFields(*engine, kind, text.lines, hits, text.page.grey.size());
        if (kind == DocumentKind::InternalPassport && !r.fields.count(Field::Number))
            r.fields.merge(ReadEdgeSeriesNumber(*engine, text.page.grey));
        for (auto &[field, t] : r.fields)
            t.box = text.page.toPage.mapRect(QRectF(t.box)).toAlignedRect();
        if (zone && zone->found)
            CrossCheck(kind, *zone, &r.fields);
    }
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
