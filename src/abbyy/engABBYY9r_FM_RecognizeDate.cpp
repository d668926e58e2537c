#include "abbyy/engABBYY9r_FM_RecognizeDate.h"

#include <QRegularExpression>

namespace abbyy {

QDate DateFromEngineText(const QString &text)
{
    static const QRegularExpression iso(QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})$"));
    static const QRegularExpression dayFirst(QStringLiteral("^([0-9]{1,2})([./\\- ])([0-9]{1,2})\\2([0-9]{4})$"));

    const QString trimmed = text.trimmed();
    int day = 0, month = 0, year = 0;
    if (const auto m = iso.match(trimmed); m.hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
        day = m.captured(3).toInt();
    } else if (const auto d = dayFirst.match(trimmed); d.hasMatch()) {
        day = d.captured(1).toInt();
        month = d.captured(3).toInt();
        year = d.captured(4).toInt();
    } else {
        return {};
    }
    if (year < 1)
        return {};
    // QDate refuses impossible days itself (31 April, 29 February of a common year).
    return QDate(year, month, day);
}

} // namespace abbyy
