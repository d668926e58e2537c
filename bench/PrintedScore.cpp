#include "PrintedScore.h"

#include "MrzReader.h"
#include "MrzScore.h"
#include "RussianPassport.h"


#include <algorithm>
#include <cstdio>

namespace printedbench {

using printed::DocumentKind;
using printed::Field;

QString Normalised(const QString &text)
{
    return text.simplified();
}

bool Occurs(const QString &value, const QString &text)
{
    return Normalised(text).contains(Normalised(value));
}

int NearestDistance(const QString &value, const QString &text)
{
    // Edit distance with the stretch free to start and end anywhere in the text.
    const QString v = Normalised(value), t = Normalised(text);
    std::vector<int> prev(size_t(t.size()) + 1, 0), cur(size_t(t.size()) + 1);
    for (int i = 1; i <= v.size(); ++i) {
        cur[0] = i;
        for (int j = 1; j <= t.size(); ++j)
            cur[size_t(j)] = std::min({prev[size_t(j)] + 1, cur[size_t(j) - 1] + 1, prev[size_t(j) - 1] + (v[i - 1] == t[j - 1] ? 0 : 1)});
        std::swap(prev, cur);
    }
    return *std::min_element(prev.begin(), prev.end());
}

std::map<Field, QString> ZoneValues(DocumentKind kind, const mrz::MrzResult &zone, int currentYear)
{
    std::map<Field, QString> out;
    if (!zone.found || kind == DocumentKind::DrivingLicence)
        return out;
    const mrz::Fields &f = zone.fields;
    const auto put = [&](Field field, const mrz::FieldText &text) {
        if (!text.doubtful && !text.value.isEmpty())
            out[field] = text.value;
    };
    if (kind == DocumentKind::InternalPassport) {
        put(Field::Surname, f.surname);
        put(Field::GivenName, f.givenNames);
        put(Field::Patronymic, f.patronymic);
        put(Field::Series, mrz::SeriesOf(f.documentNumber));
        put(Field::Number, mrz::NumberOf(f.documentNumber));
        put(Field::BirthDate, mrz::DisplayDate(f.birthDate, true, currentYear));
        put(Field::Sex, mrz::PrintedSex(f.sex));
        // An issue date lies in the past, as a birth date does.
        put(Field::IssueDate, mrz::DisplayDate(f.issueDate, true, currentYear));
        put(Field::DivisionCode, f.divisionCode);
        return out;
    }
    put(Field::SurnameLatin, f.surname);
    put(Field::GivenNameLatin, f.givenNames);
    const QString number = f.documentNumber.value;
    if (number.size() == 9) {
        out[Field::Series] = number.left(2);
        out[Field::Number] = number.mid(2);
    }
    put(Field::BirthDate, mrz::DisplayDate(f.birthDate, true, currentYear));
    put(Field::ExpiryDate, mrz::DisplayDate(f.expiryDate, false, currentYear));
    if (f.sex.value == QLatin1String("M"))
        out[Field::Sex] = QStringLiteral("М");
    else if (f.sex.value == QLatin1String("F"))
        out[Field::Sex] = QStringLiteral("Ж");
    return out;
}

void Tally::Count(Field f, const QString &truth, bool right, int errors, int *pageRight)
{
    PerField &p = m_perField[f];
    ++p.seen;
    ++m_fields;
    p.characters += truth.size();
    p.errors += errors;
    if (right) {
        ++p.right;
        ++m_fieldsRight;
        ++*pageRight;
    } else {
        m_misses.push_back(m_page + QLatin1Char(' ') + printed::FieldName(f));
    }
}

void Tally::Document(DocumentKind kind, bool allRight, double ms)
{
    auto &[documents, right] = m_perKind[kind];
    ++documents;
    right += allRight ? 1 : 0;
    m_documentsRight += allRight ? 1 : 0;
    m_ms.push_back(ms);
}

void Tally::AddReading(DocumentKind kind, const std::map<Field, QString> &truth, const std::map<Field, FieldReading> &read,
                       const std::map<Field, QString> &zone, double ms)
{
    m_marks = true;
    int right = 0;
    for (const auto &[field, value] : truth) {
        const auto it = read.find(field);
        const QString got = it == read.end() ? QString() : Normalised(it->second.value);
        const QString want = Normalised(value);
        // A field not read counts every character wrong.
        Count(field, value, it != read.end() && got == want, it == read.end() ? int(want.size()) : mrzbench::EditDistance(want, got), &right);
        const auto z = zone.find(field);
        if (it != read.end() && z != zone.end() && got != Normalised(z->second) && !it->second.doubtful)
            ++m_unmarked;
    }
    Document(kind, right == int(truth.size()), ms);
}

void Tally::AddText(DocumentKind kind, const std::map<Field, QString> &truth, const QString &text, double ms)
{
    int right = 0;
    for (const auto &[field, value] : truth)
        Count(field, value, Occurs(value, text), NearestDistance(value, text), &right);
    Document(kind, right == int(truth.size()), ms);
}

int Tally::DocumentsRight(DocumentKind kind) const
{
    const auto it = m_perKind.find(kind);
    return it == m_perKind.end() ? 0 : it->second.second;
}

int Tally::Documents(DocumentKind kind) const
{
    const auto it = m_perKind.find(kind);
    return it == m_perKind.end() ? 0 : it->second.first;
}

int Tally::Right(Field f) const
{
    const auto it = m_perField.find(f);
    return it == m_perField.end() ? 0 : it->second.right;
}

int Tally::Seen(Field f) const
{
    const auto it = m_perField.find(f);
    return it == m_perField.end() ? 0 : it->second.seen;
}

double Tally::CharacterErrorRate(Field f) const
{
    const auto it = m_perField.find(f);
    return it == m_perField.end() || it->second.characters == 0 ? 0.0 : double(it->second.errors) / double(it->second.characters);
}

double Tally::MedianMs() const
{
    if (m_ms.empty())
        return 0;
    std::vector<double> ms = m_ms;
    std::sort(ms.begin(), ms.end());
    const size_t mid = ms.size() / 2;
    return ms.size() % 2 ? ms[mid] : (ms[mid - 1] + ms[mid]) / 2.0;
}

double Tally::MeanMs() const
{
    double sum = 0;
    for (double m : m_ms)
        sum += m;
    return m_ms.empty() ? 0.0 : sum / double(m_ms.size());
}

namespace {

QString Share(int right, int of)
{
    return of ? QStringLiteral("%1 % (%2/%3)").arg(100.0 * right / of, 5, 'f', 1).arg(right).arg(of) : QStringLiteral("-");
}

} // namespace

void PrintTable(const Tally &reader, const Tally &text, const char *readerName, const char *textName)
{
    std::printf("| %-15s | %-22s | %8s | %-22s | %8s |\n", "field", readerName, "CER", textName, "CER");
    std::printf("|-----------------|------------------------|----------|------------------------|----------|\n");
    for (const Field f : printed::kAllFields) {
        if (reader.Seen(f) == 0 && text.Seen(f) == 0)
            continue;
        std::printf("| %-15s | %-22s | %6.2f %% | %-22s | %6.2f %% |\n", qPrintable(printed::FieldName(f)),
                    qPrintable(Share(reader.Right(f), reader.Seen(f))), 100 * reader.CharacterErrorRate(f),
                    qPrintable(Share(text.Right(f), text.Seen(f))), 100 * text.CharacterErrorRate(f));
    }
    std::printf("| %-15s | %-22s | %8s | %-22s | %8s |\n", "all fields", qPrintable(Share(reader.FieldsRight(), reader.Fields())), "",
                qPrintable(Share(text.FieldsRight(), text.Fields())), "");
    std::printf("| %-15s | %-22s | %8s | %-22s | %8s |\n", "documents", qPrintable(Share(reader.DocumentsRight(), reader.Pages())), "",
                qPrintable(Share(text.DocumentsRight(), text.Pages())), "");
    for (const DocumentKind k : {DocumentKind::InternalPassport, DocumentKind::DrivingLicence, DocumentKind::ForeignPassport})
        if (reader.Documents(k) || text.Documents(k))
            std::printf("| %-15s | %-22s | %8s | %-22s | %8s |\n", qPrintable(QStringLiteral("  ") + printed::KindName(k).left(13)),
                        qPrintable(Share(reader.DocumentsRight(k), reader.Documents(k))), "",
                        qPrintable(Share(text.DocumentsRight(k), text.Documents(k))), "");
    const auto unmarked = [](const Tally &t) { return t.Unmarked() < 0 ? QStringLiteral("n/a") : QString::number(t.Unmarked()); };
    std::printf("| %-15s | %-22s | %8s | %-22s | %8s |\n", "unmarked", qPrintable(unmarked(reader)), "", qPrintable(unmarked(text)), "");
    std::printf("| %-15s | %-22s | %8s | %-22s | %8s |\n", "ms median/mean",
                qPrintable(QStringLiteral("%1 / %2").arg(reader.MedianMs(), 0, 'f', 0).arg(reader.MeanMs(), 0, 'f', 0)), "",
                qPrintable(QStringLiteral("%1 / %2").arg(text.MedianMs(), 0, 'f', 0).arg(text.MeanMs(), 0, 'f', 0)), "");
    std::printf("\nTargets for %s:\n", readerName);
    std::printf("  fields exactly right >= %.0f %%: %s %s\n", 100 * kFieldsTarget, qPrintable(Share(reader.FieldsRight(), reader.Fields())),
                mrzbench::VerdictText(mrzbench::AtLeast(reader.FieldsRight(), reader.Fields(), kFieldsTarget)));
    std::printf("  documents with every field right >= %.0f %%: %s %s\n", 100 * kDocumentsTarget,
                qPrintable(Share(reader.DocumentsRight(), reader.Pages())),
                mrzbench::VerdictText(mrzbench::AtLeast(reader.DocumentsRight(), reader.Pages(), kDocumentsTarget)));
    std::printf("  fields that differ from the zone left unmarked = 0: %s %s\n", qPrintable(unmarked(reader)),
                reader.Unmarked() < 0 ? "not measured" : mrzbench::VerdictText(mrzbench::NoneOf(reader.Unmarked(), reader.Fields())));
    std::printf("  ms per page <= %.0f (the mean): %.0f %s\n", kMsTarget, reader.MeanMs(),
                mrzbench::VerdictText(mrzbench::AtMost(reader.MeanMs(), kMsTarget, reader.Pages())));
}

} // namespace printedbench
