#pragma once
// Collects the Scanify description of a specimen page (the format the engine
// reads in its specimen mode, components/scproxy/README.md): the recognition form, the zone
// that finds the page, how it lies in the feeder and the fields the engine
// returns with their flags.

#include <QJsonArray>
#include <QRect>
#include <QString>
#include <QStringList>

namespace specimens {

class ScanifyDescription
{
public:
    enum Flag { Clean = 0, Doubt = 4, Error = 8 };
    enum Reading { AnyTurn, OnlyUpright };

    /// picture: the page picture relative to the description's folder.
    ScanifyDescription(QString formId, QString formName, QString zone, QString picture, int feedAngle = 0);

    void Text(const QString &id, const QString &title, const QString &value, int flags = Clean,
              Reading reading = AnyTurn);
    /// A date as printed, "dd.MM.yyyy" (or whatever the page shows).
    void Date(const QString &id, const QString &title, const QString &value, int flags = Clean);
    void Photo(const QString &field, const QRect &zone);
    void Difficulty(const QString &text);

    /// Writes <stem>.json into folder; false with *error on failure.
    bool Save(const QString &folder, const QString &stem, QString *error) const;

private:
    void Add(const QString &id, const QString &title, const QString &value, int flags, const QString &type,
             Reading reading);

    QString m_formId, m_formName, m_zone, m_picture;
    int m_feedAngle;
    QJsonArray m_fields;
    QString m_photoField;
    QRect m_photoZone;
    QStringList m_difficulties;
};

} // namespace specimens
