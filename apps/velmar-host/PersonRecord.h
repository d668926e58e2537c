#pragma once
// A person's record as the host keeps it: the identity document's fields,
// the holder's photo and the document picture, stored as "record.json" with
// "photo.png" and "document.png" beside it in the person's folder.

#include <QDate>
#include <QImage>
#include <QJsonObject>
#include <QString>
#include <QStringList>

struct PersonRecord
{
    QString documentType;
    QString lastName, firstName, middleName, passportNumber, sex;
    QDate dateOfBirth;
    QString placeOfBirth;
    QDate dateOfIssue, dateOfExpiry;
    QString issuedBy, departmentCode, nationality;
    QImage photo;            ///< empty: none kept
    QImage documentPicture;  ///< empty: none kept
    QStringList doubtful;    ///< keys of the fields the form marked doubtful (ABBYY: red)
    QStringList erroneous;   ///< keys of the fields the form marked wrong (Scanify only)
    /// keys of the fields the window found but could not read (it shows
    /// "Не распознано" in them); their values are empty
    QStringList unreadable;
    QString documentName;    ///< the kind of document the Scanify window recognised

    QJsonObject ToJson() const;
    /// Reads the keys ToJson writes; unknown keys are ignored, and a date
    /// that is not "yyyy-MM-dd" is taken as empty.
    static PersonRecord FromJson(const QJsonObject &json);

    /// Writes record.json and the pictures into folder (created); throws
    /// std::runtime_error naming the file that could not be written.
    void Store(const QString &folder) const;
    /// Reads a record.json (and the pictures it names); throws
    /// std::runtime_error for a missing or malformed file.
    static PersonRecord Load(const QString &recordFile);
};
