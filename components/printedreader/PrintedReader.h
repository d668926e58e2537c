#pragma once
// Reads the printed fields of a document from a page picture with Tesseract:
// finds the document on the page (its zone, where it has one, gives scale and
// turn), reads the printed labels and takes each value from where its label
// points, each with its own alphabet and pattern.

#include "PrintedFields.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace mrz {
struct MrzResult;
}

namespace printed {

struct PrintedText
{
    QStringList lines;             ///< the value's printed lines, in reading order
    std::vector<float> confidence; ///< per character of Value(), 0..1
    bool doubtful = false;         ///< read with low confidence, or differs from the zone
    bool fromZone = false;         ///< the zone's value: it stands where the print differs (then also doubtful) and fills a field the print did not give
    QRect box;                     ///< where the value is printed on the page

    /// The lines joined by one blank.
    QString Value() const { return lines.join(QLatin1Char(' ')); }
};

struct PrintedReading
{
    bool documentFound = false; ///< the document's labels were found on the page
    QString error;              ///< why nothing could be read at all (no Tesseract, no language data)
    DocumentKind kind = DocumentKind::InternalPassport;
    std::map<Field, PrintedText> fields; ///< only the fields found
};

/// Reads the printed fields of a document of this kind. The zone, when the
/// page has one and it was read, gives the document's place and turn and is
/// compared with: where a field is in both and they differ, the zone's value
/// stands and the field is doubtful. Safe to call from any thread; each call
/// takes a Tesseract engine of its own from a pool and gives it back.
PrintedReading ReadPrinted(const QImage &page, DocumentKind kind, const mrz::MrzResult *zone = nullptr);

/// The kind of document a page without a zone shows, by its printed title
/// and labels; empty when it is none of the kinds read here.
std::optional<DocumentKind> RecogniseKind(const QImage &page);

/// Whether Tesseract and its Russian and English data can be loaded; *why
/// tells what is missing.
bool ReaderAvailable(QString *why = nullptr);

} // namespace printed
