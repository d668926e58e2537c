#include "MrzJson.h"

#include <QJsonArray>

namespace mrz {

QJsonObject ToJson(const MrzResult &r)
{
    QJsonObject o;
    o.insert(QStringLiteral("found"), r.found);
    if (!r.error.isEmpty())
        o.insert(QStringLiteral("error"), r.error);
    if (!r.found)
        return o;
    o.insert(QStringLiteral("format"), FormatName(r.format));
    o.insert(QStringLiteral("lines"), QJsonArray::fromStringList(r.lines));
    QJsonObject fields;
    for (const FieldEntry &e : FieldTable()) {
        const FieldText &f = r.fields.*e.member;
        QJsonObject field;
        field.insert(QStringLiteral("value"), f.value);
        QJsonArray untrusted;
        for (int i = 0; i < f.value.size(); ++i)
            if (!r.Trusted(f, i))
                untrusted.append(i);
        field.insert(QStringLiteral("untrusted"), untrusted);
        fields.insert(QString::fromLatin1(e.name), field);
    }
    o.insert(QStringLiteral("fields"), fields);
    QJsonObject checks;
    for (const CheckResult &c : r.checks)
        checks.insert(c.name, c.valid);
    o.insert(QStringLiteral("checks"), checks);
    o.insert(QStringLiteral("valid"), r.AllChecksValid());
    o.insert(QStringLiteral("likeness"), qRound(r.likeness * 1000) / 1000.0);
    double lowest = 1.0;
    for (float c : r.confidence)
        lowest = std::min(lowest, double(c));
    o.insert(QStringLiteral("lowestConfidence"), lowest);
    o.insert(QStringLiteral("turn"), r.turn);
    o.insert(QStringLiteral("skew"), qRound(r.skew * 100) / 100.0);
    QJsonArray zone;
    for (const QPointF &p : r.zone)
        zone.append(QJsonArray{qRound(p.x()), qRound(p.y())});
    o.insert(QStringLiteral("zone"), zone);
    return o;
}

} // namespace mrz
