#include "PersonRecord.h"
#include "PrivateRecords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <stdexcept>

namespace {

QJsonValue DateJson(const QDate &d)
{
    return d.isValid() ? QJsonValue(d.toString(Qt::ISODate)) : QJsonValue(QJsonValue::Null);
}

QDate JsonDate(const QJsonValue &v)
{
    return QDate::fromString(v.toString(), Qt::ISODate);
}

[[noreturn]] void Fail(const QString &text)
{
    throw std::runtime_error(text.toStdString());
}

} // namespace

QJsonObject PersonRecord::ToJson() const
{
    QJsonObject o{
        {"documentType", documentType},
        {"lastName", lastName},
        {"firstName", firstName},
        {"middleName", middleName},
        {"passportNumber", passportNumber},
        {"sex", sex},
        {"dateOfBirth", DateJson(dateOfBirth)},
        {"placeOfBirth", placeOfBirth},
        {"dateOfIssue", DateJson(dateOfIssue)},
        {"dateOfExpiry", DateJson(dateOfExpiry)},
        {"issuedBy", issuedBy},
        {"departmentCode", departmentCode},
        {"nationality", nationality},
        {"doubtful", QJsonArray::fromStringList(doubtful)},
    };
    // Only the Scanify window tells errors from doubts and names the document.
    if (!erroneous.isEmpty())
        o["erroneous"] = QJsonArray::fromStringList(erroneous);
    if (!unreadable.isEmpty())
        o["unreadable"] = QJsonArray::fromStringList(unreadable);
    if (!documentName.isEmpty())
        o["documentName"] = documentName;
    o["photo"] = photo.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(QStringLiteral("photo.png"));
    o["documentPicture"] = documentPicture.isNull() ? QJsonValue(QJsonValue::Null)
                                                    : QJsonValue(QStringLiteral("document.png"));
    return o;
}

PersonRecord PersonRecord::FromJson(const QJsonObject &o)
{
    PersonRecord r;
    r.documentType = o.value("documentType").toString();
    r.lastName = o.value("lastName").toString();
    r.firstName = o.value("firstName").toString();
    r.middleName = o.value("middleName").toString();
    r.passportNumber = o.value("passportNumber").toString();
    r.sex = o.value("sex").toString();
    r.dateOfBirth = JsonDate(o.value("dateOfBirth"));
    r.placeOfBirth = o.value("placeOfBirth").toString();
    r.dateOfIssue = JsonDate(o.value("dateOfIssue"));
    r.dateOfExpiry = JsonDate(o.value("dateOfExpiry"));
    r.issuedBy = o.value("issuedBy").toString();
    r.departmentCode = o.value("departmentCode").toString();
    r.nationality = o.value("nationality").toString();
    for (const QJsonValue &v : o.value("doubtful").toArray())
        r.doubtful << v.toString();
    for (const QJsonValue &v : o.value("erroneous").toArray())
        r.erroneous << v.toString();
    for (const QJsonValue &v : o.value("unreadable").toArray())
        r.unreadable << v.toString();
    r.documentName = o.value("documentName").toString();
    return r;
}

void PersonRecord::Store(const QString &folder) const
{
    if (!MakeRecordFolder(folder))
        Fail(QStringLiteral("Cannot create the folder %1").arg(folder));
    const QDir dir(folder);
    const auto savePicture = [&](const QImage &image, const QString &name) {
        const QString path = dir.filePath(name);
        if (image.isNull())
            QFile::remove(path); // an old picture must not pass for this record's
        else if (!WritePrivately(path, [&] { return image.save(path, "PNG"); }))
            Fail(QStringLiteral("Cannot write %1").arg(path));
    };
    savePicture(photo, QStringLiteral("photo.png"));
    savePicture(documentPicture, QStringLiteral("document.png"));
    QSaveFile file(dir.filePath(QStringLiteral("record.json")));
    const QByteArray json = QJsonDocument(ToJson()).toJson(QJsonDocument::Indented);
    if (!WritePrivately(file.fileName(), [&] {
            return file.open(QIODevice::WriteOnly) && file.write(json) == json.size() && file.commit();
        }))
        Fail(QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString()));
}

PersonRecord PersonRecord::Load(const QString &recordFile)
{
    QFile file(recordFile);
    if (!file.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("Cannot read the person's record %1: %2").arg(recordFile, file.errorString()));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        Fail(QStringLiteral("The person's record %1 is not a JSON object").arg(recordFile));
    PersonRecord r = FromJson(doc.object());
    const QDir dir = QFileInfo(recordFile).dir();
    if (doc.object().value("photo").isString())
        r.photo.load(dir.filePath(QFileInfo(doc.object().value("photo").toString()).fileName()));
    if (doc.object().value("documentPicture").isString())
        r.documentPicture.load(dir.filePath(QFileInfo(doc.object().value("documentPicture").toString()).fileName()));
    return r;
}
