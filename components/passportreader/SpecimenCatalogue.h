#pragma once
// The specimen documents the server serves in its specimen mode: each is a
// page picture and a JSON description with the ground truth (README.md gives
// the format).

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace passportreader {

struct SpecimenField
{
    QString id;
    QString name;
    QString value;
    bool found = true;
    QList<int> untrusted; ///< symbol indexes the engine reports as not trusted
    QRect zone;           ///< where the field is printed; empty when not given
};

struct Specimen
{
    QString descriptionPath;
    QString documentType;
    QString picturePath;
    QImage picture;
    QRect photoZone; ///< empty: the document has no portrait
    std::vector<SpecimenField> fields;
    std::vector<float> signature; ///< normalised thumbnail, for recognising a page
};

using SpecimenList = std::vector<std::shared_ptr<const Specimen>>;

/// Reads one description and its picture. Throws std::runtime_error with a
/// message naming the file and the fault when either is unusable.
std::shared_ptr<const Specimen> LoadSpecimen(const QString &descriptionPath);

class SpecimenCatalogue
{
public:
    /// The process-wide catalogue.
    static SpecimenCatalogue &Instance();

    /// The specimens of folder in file-name order (cached until the folder
    /// name changes). Descriptions that cannot be read are listed in problems.
    SpecimenList Specimens(const QString &folder, QStringList *problems = nullptr);

    /// Remembers that the file with these bytes shows specimen s.
    void RememberDelivered(const QByteArray &fileBytes, const std::shared_ptr<const Specimen> &s);

    /// The specimen shown by a page: first by the bytes of a file this server
    /// delivered, then by the look of the picture. Null when none matches.
    std::shared_ptr<const Specimen> Identify(const QString &folder, const QByteArray &fileBytes, const QImage &page);

private:
    QString m_folder;
    QDateTime m_stamp;
    SpecimenList m_specimens;
    QStringList m_problems;
    QHash<QByteArray, std::shared_ptr<const Specimen>> m_delivered;
};

/// Normalised grey thumbnail of a picture; pages that look alike give a
/// correlation near 1 whatever their brightness and colour mode.
std::vector<float> PageSignature(const QImage &image);
double SignatureCorrelation(const std::vector<float> &a, const std::vector<float> &b);

} // namespace passportreader
