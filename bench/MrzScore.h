#pragma once
// What the zone benchmark counts for one reader on one set of pictures: the
// truth of a picture, what a reader made of it, and the tally of both.

#include "MrzFields.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace mrzbench {

/// The truth of one picture, from a generated page's JSON or an entry of the
/// real pictures' truth.json.
struct Expected
{
    QString name;
    bool hasZone = true;
    bool legible = true;            ///< every character readable by eye
    bool printedCheckErrors = false; ///< the document prints a check digit that fails
    QStringList lines;              ///< as printed; empty without a zone
    QJsonObject fields;             ///< generated pages: the data's fields by name
    int uprightTurn = 0;            ///< clockwise degrees that make the picture upright
    QString format;                 ///< as the truth names it (TD1, ..., MRVA, RUSPN); real pictures too
    QString kind;                   ///< how the picture was made (scan, camera, zone-only, real)
    QStringList conditions;         ///< generated pages: what makes them hard (turned at an angle, slant, glare, ...)

    QString Text() const { return lines.join(QString()); }
    int Rows() const { return int(lines.size()); }
    int Length() const { return lines.isEmpty() ? 0 : int(lines.first().size()); }
};
Expected FromGenerated(const QJsonObject &truth);

/// Conditions of a generated page the evaluation target is judged on apart.
inline constexpr const char *kAtAnAngle = "at an angle";
inline constexpr const char *kKeystone = "keystone over 5 %";
Expected FromReal(const QString &name, const QJsonObject &truth);

/// What a reader returned.
struct Reading
{
    bool found = false;
    QString text;       ///< the zone's lines joined
    bool valid = false; ///< the reader vouches for it: every check digit holds
    double ms = 0;      ///< processor time
};

/// Edit distance (insertions, deletions and substitutions of characters).
int EditDistance(const QString &a, const QString &b);

class Tally
{
public:
    void Add(const Expected &truth, const Reading &reading);

    int Pictures() const { return m_pictures; }
    int LegibleZones() const { return m_legible; }
    int AllRight() const { return m_allRight; }
    double RightShare() const; ///< of the legible zones, 0..1
    double CharacterErrorRate() const;
    int WithZone() const { return m_withZone; }
    int Found() const { return m_found; }
    int FalseValid() const { return m_falseValid; }
    int Negatives() const { return m_negatives; }
    int FoundWhereNone() const { return m_foundWhereNone; }
    double MedianMs() const;
    double MeanMs() const;

    /// "| name | ... |" with every figure; targets are printed by the caller.
    void PrintRow(const char *set, const char *reader) const;
    static void PrintHeader();

private:
    int m_pictures = 0, m_withZone = 0, m_legible = 0, m_allRight = 0, m_found = 0, m_falseValid = 0;
    int m_negatives = 0, m_foundWhereNone = 0;
    long m_errors = 0, m_characters = 0;
    std::vector<double> m_ms;
};

/// Every field of the truth as the reader has it; a field the reader has no
/// name for counts as wrong, so a truth field cannot pass unjudged.
bool FieldsRight(const QJsonObject &want, const mrz::Fields &got);

/// Whether a target holds over a set. A set with nothing to judge (no
/// picture of the kind) proves nothing either way.
enum class Verdict
{
    Met,
    Missed,
    NotMeasured,
};
/// "At least share of the of items": right of them.
Verdict AtLeast(int right, int of, double share);
/// "None of the of items": count of them.
Verdict NoneOf(int count, int of);
/// "At most limit" for a figure taken over of items.
Verdict AtMost(double value, double limit, int of);
const char *VerdictText(Verdict v);

/// Why a reading of a picture is not right, or empty when it is.
QString Miss(const Expected &truth, const Reading &reading);

} // namespace mrzbench
