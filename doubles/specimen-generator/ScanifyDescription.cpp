#include "ScanifyDescription.h"

#include "SpecimenBuilder.h"

#include <QDir>
#include <QJsonObject>

namespace specimens {

ScanifyDescription::ScanifyDescription(QString formId, QString formName, QString zone, QString picture, int feedAngle)
    : m_formId(std::move(formId)), m_formName(std::move(formName)), m_zone(std::move(zone)),
      m_picture(std::move(picture)), m_feedAngle(feedAngle)
{
}

void ScanifyDescription::Add(const QString &id, const QString &title, const QString &value, int flags,
                             const QString &type, Reading reading)
{
    QJsonObject o{{QStringLiteral("id"), id}, {QStringLiteral("title"), title}, {QStringLiteral("value"), value}};
    if (type != QLatin1String("string"))
        o.insert(QStringLiteral("type"), type);
    if (flags != Clean)
        o.insert(QStringLiteral("flags"), flags);
    if (reading == OnlyUpright)
        o.insert(QStringLiteral("readsOnlyUpright"), true);
    m_fields.append(o);
}

void ScanifyDescription::Text(const QString &id, const QString &title, const QString &value, int flags, Reading reading)
{
    Add(id, title, value, flags, QStringLiteral("string"), reading);
}

void ScanifyDescription::Date(const QString &id, const QString &title, const QString &value, int flags)
{
    Add(id, title, value, flags, QStringLiteral("date"), AnyTurn);
}

void ScanifyDescription::Photo(const QString &field, const QRect &zone)
{
    m_photoField = field;
    m_photoZone = zone;
}

void ScanifyDescription::Difficulty(const QString &text)
{
    m_difficulties << text;
}

bool ScanifyDescription::Save(const QString &folder, const QString &stem, QString *error) const
{
    QJsonObject root{{QStringLiteral("format"), 1},
                     {QStringLiteral("formId"), m_formId},
                     {QStringLiteral("formName"), m_formName},
                     {QStringLiteral("zone"), m_zone},
                     {QStringLiteral("picture"), m_picture},
                     {QStringLiteral("fields"), m_fields}};
    if (m_feedAngle != 0)
        root.insert(QStringLiteral("feedAngle"), m_feedAngle);
    if (!m_photoField.isEmpty())
        root.insert(QStringLiteral("photo"),
                    QJsonObject{{QStringLiteral("field"), m_photoField},
                                {QStringLiteral("file"), m_photoField + QStringLiteral(".jpg")},
                                {QStringLiteral("zone"), ZoneObject(m_photoZone)}});
    if (!m_difficulties.isEmpty())
        root.insert(QStringLiteral("difficulties"), QJsonArray::fromStringList(m_difficulties));
    QDir().mkpath(folder);
    return WriteDescription(folder, stem, root, error);
}

} // namespace specimens
