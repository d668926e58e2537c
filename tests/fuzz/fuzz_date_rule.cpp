// Date texts as the engine delivers them (UTF-8 input, any code points):
// a text converts only to a real day from year 1 to 9999, and the day
// printed back in the document's form converts to the same day.
#include "FuzzCheck.h"
#include "abbyy/engABBYY9r_FM_RecognizeDate.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QDate date = abbyy::DateFromEngineText(text);
    if (!date.isValid())
        return 0;
    FUZZ_CHECK(date.year() >= 1 && date.year() <= 9999);
    FUZZ_CHECK(abbyy::DateFromEngineText(date.toString(QStringLiteral("dd.MM.yyyy"))) == date);
    FUZZ_CHECK(abbyy::DateFromEngineText(date.toString(QStringLiteral("yyyy-MM-dd"))) == date);
    // Only digits, the separators and blanks can name a date.
    for (QChar c : text)
        FUZZ_CHECK(c.isDigit() || c == u'.' || c == u'/' || c == u'-' || c.isSpace());
    return 0;
}
