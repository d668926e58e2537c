#pragma once
// What the printed-fields benchmark counts for one reader on one set of
// pages: per field the share exactly right and the character error rate,
// the fields and documents right overall, the fields that differ from the
// zone without a doubt mark, and the time per page.

#include "PrintedFields.h"

#include <QString>

#include <map>
#include <vector>

namespace mrz {
struct MrzResult;
}

namespace printedbench {

/// Blanks, tabs and line breaks collapsed to one blank, none at the ends.
QString Normalised(const QString &text);
/// The value occurs in the text, whitespace normalised in both.
bool Occurs(const QString &value, const QString &text);
/// The fewest edits that turn some stretch of the text into the value (0
/// when it occurs): how near a page's text comes to a field.
int NearestDistance(const QString &value, const QString &text);

/// What a reader gave for one field.
struct FieldReading
{
    QString value;
    bool doubtful = false;
};

/// The printed fields the zone states, as the page prints them ("45 03",
/// "МУЖ.", "dd.mm.yyyy"): empty when no zone was read.
std::map<printed::Field, QString> ZoneValues(printed::DocumentKind kind, const mrz::MrzResult &zone, int currentYear);

class Tally
{
public:
    /// A reader that names its fields (and marks doubts): each truth field
    /// right when the value read is the truth, whitespace normalised.
    void AddReading(printed::DocumentKind kind, const std::map<printed::Field, QString> &truth,
                    const std::map<printed::Field, FieldReading> &read, const std::map<printed::Field, QString> &zone, double ms);
    /// A reader that gives the page's text only: a field right when its
    /// value occurs in it; its error rate from the nearest stretch of text.
    void AddText(printed::DocumentKind kind, const std::map<printed::Field, QString> &truth, const QString &text, double ms);

    int Pages() const { return int(m_ms.size()); }
    int FieldsRight() const { return m_fieldsRight; }
    int Fields() const { return m_fields; }
    int DocumentsRight() const { return m_documentsRight; }
    int DocumentsRight(printed::DocumentKind kind) const;
    int Documents(printed::DocumentKind kind) const;
    /// Fields whose value differs from the zone's and carries no doubt mark;
    /// -1 for a reader that marks nothing.
    int Unmarked() const { return m_marks ? m_unmarked : -1; }
    int Right(printed::Field f) const;
    int Seen(printed::Field f) const;
    double CharacterErrorRate(printed::Field f) const;
    double MedianMs() const;
    double MeanMs() const;
    /// The fields a page did not get right ("0007 Surname"), for development sets.
    const std::vector<QString> &Misses() const { return m_misses; }
    void SetPageName(const QString &name) { m_page = name; }

private:
    struct PerField
    {
        int seen = 0, right = 0;
        long errors = 0, characters = 0;
    };
    void Count(printed::Field f, const QString &truth, bool right, int errors, int *pageRight);
    void Document(printed::DocumentKind kind, bool allRight, double ms);

    std::map<printed::Field, PerField> m_perField;
    std::map<printed::DocumentKind, std::pair<int, int>> m_perKind; // documents, all right
    int m_fields = 0, m_fieldsRight = 0, m_documentsRight = 0, m_unmarked = 0;
    bool m_marks = false;
    std::vector<double> m_ms;
    std::vector<QString> m_misses;
    QString m_page;
};

/// The side-by-side table: one row per field, then the totals, the marks,
/// the times and the targets with whether the reader meets them.
void PrintTable(const Tally &reader, const Tally &text, const char *readerName, const char *textName);

inline constexpr double kFieldsTarget = 0.97;
inline constexpr double kDocumentsTarget = 0.90;
inline constexpr double kMsTarget = 800;

} // namespace printedbench
