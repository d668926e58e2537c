#include "base/DateText.h"

#include <QRegularExpression>

namespace dates {

int YearInWindow(int twoDigitYear, int thisYear)
{
    const int first = thisYear - 80;
    int year = first - first % 100 + twoDigitYear;
    if (year < first)
        year += 100;
    return year;
}

QDate DateFromText(const QString &text, TwoDigitYears twoDigitYears, const QDate &today)
{
    static const QRegularExpression iso(QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})$"));
    static const QRegularExpression dayFirst(
        QStringLiteral("^([0-9]{1,2})([./\\- ])([0-9]{1,2})\\2([0-9]{4}|[0-9]{2})$"));

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
        if (d.capturedLength(4) == 2) {
            if (twoDigitYears == TwoDigitYears::Refused)
                return {};
            year = YearInWindow(year, today.year());
        }
    } else {
        return {};
    }
    if (year < 1)
        return {};
    // QDate refuses impossible days itself (31 April, 29 February of a common year).
    return QDate(year, month, day);
}

} // namespace dates
