// Placeholder until the reader lands: reads nothing.
#include "PrintedReader.h"

namespace printed {

PrintedReading ReadPrinted(const QImage &, DocumentKind kind, const mrz::MrzResult *)
{
    PrintedReading r;
    r.kind = kind;
    r.error = QStringLiteral("not built yet");
    return r;
}

std::optional<DocumentKind> RecogniseKind(const QImage &) { return std::nullopt; }

bool ReaderAvailable(QString *why)
{
    if (why)
        *why = QStringLiteral("not built yet");
    return false;
}

} // namespace printed
