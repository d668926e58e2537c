#include "abbyy/engABBYY9r_FM_RecognizeDate.h"

#include "base/DateText.h"

namespace abbyy {

QDate DateFromEngineText(const QString &text)
{
    // The engine prints what the document shows; a two-digit year there is
    // not a reading to trust.
    return dates::DateFromText(text, dates::TwoDigitYears::Refused);
}

} // namespace abbyy
