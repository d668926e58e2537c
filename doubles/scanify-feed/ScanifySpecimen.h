#pragma once
// The specimen documents the Scanify engine feeds and recognises in its
// specimen mode: each is a page picture and a Scanify description
// (components/scproxy/README.md gives the format) with the recognition form
// that reads it, the zone that finds it, how it lies in the feeder, and the
// fields the engine returns.

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace scproxy {

struct SpecimenField
{
    QByteArray id;         ///< field identifier (at most 15 bytes)
    QString title;
    QString value;         ///< what the engine returns
    int flags = 0;         ///< SCF_VRS_WARNING (4) and/or SCF_VRS_ERROR (8)
    int dataType = 0;      ///< SCF_DT_*
    bool readsOnlyUpright = false; ///< read only when the zone's turn brings the page upright
    QRect zone;            ///< where the value is printed on the upright picture; empty when not given
};

struct SpecimenPhoto
{
    QByteArray field;      ///< identifier of the picture field; empty: no photo
    QString file;          ///< name of the file written into the package folder
    QRect zone;            ///< the portrait on the upright picture
};

struct ScanifySpecimen
{
    QString descriptionPath;
    QString name;          ///< file name of the description without ".json"
    QByteArray formId;     ///< identifier of the recognition form (at most 63 bytes)
    QString formName;      ///< the form's long name
    QByteArray zone;       ///< the configuration zone that reads this document
    int feedAngle = 0;     ///< clockwise degrees by which the page lies turned in the feeder
    QImage picture;        ///< the page upright
    QString picturePath;   ///< the picture's file
    SpecimenPhoto photo;
    std::vector<SpecimenField> fields;
    /// false: a picture in the folder that no description names; the engine
    /// reads it as a passport by its zone ("InoPas_MRZ" through "ZoneOfMRZ"),
    /// or as "Passport1" when the zone is a Russian internal passport's.
    bool described = true;
};

using ScanifySpecimenList = std::vector<std::shared_ptr<const ScanifySpecimen>>;

/// Reads one description and its picture. Throws std::runtime_error with a
/// message naming the file and the fault when either is unusable.
std::shared_ptr<const ScanifySpecimen> LoadScanifySpecimen(const QString &descriptionPath);

/// The descriptions of a folder in file-name order, then the pictures of the
/// folder no description names (*.jpg, *.jpeg, *.png), cached until the folder
/// or its time stamp changes. Unusable descriptions and pictures are listed in problems.
ScanifySpecimenList ScanifySpecimens(const QString &folder, QStringList *problems = nullptr);

/// The pages the feeder holds, in the order it hands them out: the specimens
/// of the folder whose names match one of the patterns (wildcards, case
/// ignored; all when there are none), described pages and loose pictures
/// alike. When none does, *problems starts with why. A host that works one
/// window per page lists them here, as the feeder does.
ScanifySpecimenList FeederPages(const QString &folder, const QStringList &patterns, QStringList *problems);

/// The feeder: it hands out the pages of FeederPages in turn; a page for
/// which the recognition window offers a repeat run stays in the feeder, as
/// an operator leaves it on the glass for that run. The repeat run reads
/// with another configuration (the other turn) than the run that left the
/// page there; a scan read as that run read is the next person's first run,
/// for which the operator has taken the page away.
class Feeder
{
public:
    static Feeder &Instance();
    /// The next page for a scan read by the configuration reading (any text
    /// that tells configurations apart), null when the feeder is empty
    /// (*problems says why).
    std::shared_ptr<const ScanifySpecimen> Next(const QString &folder, const QStringList &patterns,
                                                const QByteArray &reading, QStringList *problems);
    /// The page, scanned for a run read by reading, stays for a repeat run.
    void KeepOnGlass(const std::shared_ptr<const ScanifySpecimen> &page, const QByteArray &reading);

private:
    QString m_key;
    int m_position = 0;
    std::shared_ptr<const ScanifySpecimen> m_onGlass;
    QByteArray m_leftBy; ///< the reading of the first run that left m_onGlass there
    std::shared_ptr<const ScanifySpecimen> m_repeating; ///< the page last handed out for a repeat run
};

} // namespace scproxy
