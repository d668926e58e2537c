#pragma once
// A page made readable and read once as a whole: reduced, turned level and
// scaled from the layout Tesseract finds (or placed by the zone), then its
// lines recognised.

#include "OcrText.h"
#include "PagePlace.h"

namespace printed {

struct PageText
{
    PreparedPage page;
    std::vector<OcrLine> lines;
};

/// Reads the page's lines with the engine, which keeps the prepared picture
/// for reading regions again (the picture lives in the result: keep it).
PageText ReadPageText(tesseract::TessBaseAPI &api, const QImage &page, DocumentKind kind,
                      const mrz::MrzResult *zone);

} // namespace printed
