#include "MrzScore.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace mrzbench {

Expected FromGenerated(const QJsonObject &truth)
{
    Expected e;
    e.lines = truth.value(QStringLiteral("lines")).toVariant().toStringList();
    // Sets drawn before the truth named it always had a zone.
    e.hasZone = truth.value(QStringLiteral("has_zone")).toBool(true);
    e.legible = truth.value(QStringLiteral("legible")).toBool(e.hasZone);
    e.fields = truth.value(QStringLiteral("fields")).toObject();
    e.format = truth.value(QStringLiteral("format")).toString();
    e.kind = truth.value(QStringLiteral("capture")).toString(QStringLiteral("scan"));
    e.name = truth.value(QStringLiteral("picture")).toString();
    const auto number = [&](const char *key) { return truth.value(QLatin1String(key)).toDouble(); };
    const auto flag = [&](const char *key) { return truth.value(QLatin1String(key)).toBool(); };
    const double offSquare = std::abs(std::remainder(number("rotation") + number("skew"), 90.0));
    const struct
    {
        const char *name;
        bool holds;
    } conditions[] = {
        {"square (within 5 degrees)", offSquare <= 5},
        {kAtAnAngle, offSquare > 5},
        {kKeystone, number("keystone") > 0.05},
        {"aspect off by over 5 %", std::abs(number("aspect") - 1.0) > 0.05 && truth.contains(QStringLiteral("aspect"))},
        {"glare on the zone", flag("glareOnZone")},
        {"colour background", flag("colourBackground")},
        {"annotation frame", flag("annotationFrame")},
        {"faded ink", truth.contains(QStringLiteral("contrast")) && number("contrast") < 1.0},
        {"characters under 12 px", truth.contains(QStringLiteral("char_px")) && number("char_px") < 12},
    };
    for (const auto &c : conditions)
        if (c.holds)
            e.conditions << QString::fromLatin1(c.name);
    return e;
}

Expected FromReal(const QString &name, const QJsonObject &truth)
{
    Expected e;
    e.name = name;
    e.hasZone = truth.value(QStringLiteral("has_zone")).toBool();
    e.legible = truth.value(QStringLiteral("legible")).toBool();
    e.lines = e.hasZone ? truth.value(QStringLiteral("lines")).toVariant().toStringList() : QStringList();
    e.printedCheckErrors = !truth.value(QStringLiteral("printed_check_errors")).toArray().isEmpty();
    e.uprightTurn = truth.value(QStringLiteral("upright_turn")).toInt();
    e.format = truth.value(QStringLiteral("format")).toString();
    e.kind = QStringLiteral("real");
    return e;
}

int EditDistance(const QString &a, const QString &b)
{
    std::vector<int> prev(size_t(b.size()) + 1), cur(size_t(b.size()) + 1);
    for (int j = 0; j <= b.size(); ++j)
        prev[size_t(j)] = j;
    for (int i = 1; i <= a.size(); ++i) {
        cur[0] = i;
        for (int j = 1; j <= b.size(); ++j)
            cur[size_t(j)] = std::min({prev[size_t(j)] + 1, cur[size_t(j) - 1] + 1,
                                       prev[size_t(j) - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
        std::swap(prev, cur);
    }
    return prev[size_t(b.size())];
}

void Tally::Add(const Expected &truth, const Reading &reading)
{
    ++m_pictures;
    m_ms.push_back(reading.ms);
    const QString expected = truth.Text();
    // A reading vouched for is false when there is nothing to read, when it
    // differs from the print, or when the print's own check digits fail.
    if (reading.valid && (!truth.hasZone || reading.text != expected || truth.printedCheckErrors))
        ++m_falseValid;
    if (!truth.hasZone) {
        ++m_negatives;
        m_foundWhereNone += reading.found ? 1 : 0;
        return;
    }
    ++m_withZone;
    m_found += reading.found ? 1 : 0;
    m_characters += expected.size();
    // A zone not found counts every character as wrong.
    m_errors += reading.found ? EditDistance(expected, reading.text) : expected.size();
    if (truth.legible) {
        ++m_legible;
        m_allRight += reading.found && reading.text == expected ? 1 : 0;
    }
}

double Tally::RightShare() const
{
    return m_legible ? double(m_allRight) / m_legible : 0.0;
}

double Tally::CharacterErrorRate() const
{
    return m_characters ? double(m_errors) / double(m_characters) : 0.0;
}

double Tally::MedianMs() const
{
    if (m_ms.empty())
        return 0;
    std::vector<double> ms = m_ms;
    const size_t mid = ms.size() / 2;
    std::nth_element(ms.begin(), ms.begin() + std::ptrdiff_t(mid), ms.end());
    if (ms.size() % 2)
        return ms[mid];
    return (ms[mid] + *std::max_element(ms.begin(), ms.begin() + std::ptrdiff_t(mid))) / 2.0;
}

double Tally::MeanMs() const
{
    double sum = 0;
    for (double m : m_ms)
        sum += m;
    return m_ms.empty() ? 0.0 : sum / double(m_ms.size());
}

void Tally::PrintHeader()
{
    std::printf("| %-11s | %-22s | %8s | %-17s | %8s | %-11s | %-7s | %-11s | %9s | %9s |\n", "set", "reader", "pictures",
                "every line right", "CER", "zones found", "false valid", "found, none", "ms median", "ms mean");
    std::printf("|-------------|------------------------|----------|-------------------|----------|-------------|"
                "-------------|-------------|-----------|-----------|\n");
}

void Tally::PrintRow(const char *set, const char *reader) const
{
    char right[32], found[32], none[32];
    std::snprintf(right, sizeof right, "%5.1f %% (%d/%d)", 100.0 * RightShare(), m_allRight, m_legible);
    std::snprintf(found, sizeof found, "%d/%d", m_found, m_withZone);
    std::snprintf(none, sizeof none, "%d/%d", m_foundWhereNone, m_negatives);
    std::printf("| %-11s | %-22s | %8d | %-17s | %6.2f %% | %-11s | %11d | %-11s | %9.1f | %9.1f |\n", set, reader, m_pictures,
                right, 100.0 * CharacterErrorRate(), found, m_falseValid, none, MedianMs(), MeanMs());
}

bool FieldsRight(const QJsonObject &want, const mrz::Fields &got)
{
    const auto &table = mrz::FieldTable();
    for (auto it = want.begin(); it != want.end(); ++it) {
        const auto entry = std::find_if(table.begin(), table.end(),
                                        [&](const mrz::FieldEntry &e) { return it.key() == QLatin1String(e.name); });
        if (entry == table.end() || (got.*entry->member).value != it.value().toString())
            return false;
    }
    return true;
}

Verdict AtLeast(int right, int of, double share)
{
    if (of <= 0)
        return Verdict::NotMeasured;
    return double(right) / double(of) >= share ? Verdict::Met : Verdict::Missed;
}

Verdict AtMost(double value, double limit, int of)
{
    if (of <= 0)
        return Verdict::NotMeasured;
    return value <= limit ? Verdict::Met : Verdict::Missed;
}

Verdict NoneOf(int count, int of)
{
    if (of <= 0)
        return Verdict::NotMeasured;
    return count == 0 ? Verdict::Met : Verdict::Missed;
}

const char *VerdictText(Verdict v)
{
    switch (v) {
    case Verdict::Met:
        return "met";
    case Verdict::Missed:
        return "MISSED";
    case Verdict::NotMeasured:
        break;
    }
    return "not measured";
}

QString Miss(const Expected &truth, const Reading &reading)
{
    if (!truth.hasZone)
        return reading.found ? QStringLiteral("a zone where there is none") : QString();
    if (reading.valid && (reading.text != truth.Text() || truth.printedCheckErrors))
        return QStringLiteral("false valid");
    if (!reading.found)
        return QStringLiteral("no zone found");
    if (reading.text != truth.Text())
        return QStringLiteral("%1 of %2 characters wrong").arg(EditDistance(truth.Text(), reading.text)).arg(truth.Text().size());
    return QString();
}

} // namespace mrzbench
