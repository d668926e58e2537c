#include "ScanifySpecimen.h"

#include "Description.h"
#include "platform/PageLoader.h"

#include "scanify/scapiTypes.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <utility>

namespace scproxy {

namespace {

constexpr qsizetype MaxFieldIdBytes = sizeof(TScFieldInformation::szId) - 1;
constexpr qsizetype MaxFormIdBytes = sizeof(TScFormInformation::szId) - 1;

std::mutex g_lock;

constexpr char Kind[] = "Scanify description";

[[noreturn]] void Bad(const QString &path, const QString &what)
{
    doubles::ThrowBadDescription(Kind, path, what);
}

QRect ReadZone(const QString &path, const QJsonValue &v, const QString &what)
{
    return doubles::ReadDescriptionZone(Kind, path, v, what);
}

int ReadDataType(const QString &path, const QJsonValue &v, const QString &field)
{
    static const std::map<QString, int> types{{QStringLiteral("string"), SCF_DT_STRING},
                                              {QStringLiteral("int"), SCF_DT_INT},
                                              {QStringLiteral("date"), SCF_DT_DATE},
                                              {QStringLiteral("double"), SCF_DT_DOUBLE}};
    if (v.isUndefined())
        return SCF_DT_STRING;
    const auto it = types.find(v.toString());
    if (it == types.end())
        Bad(path, QStringLiteral("field %1: \"type\" must be \"string\", \"int\", \"date\" or \"double\"").arg(field));
    return it->second;
}

/// A file name the engine may write into a package folder: no folder part.
bool IsPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

SpecimenField ReadField(const QString &path, const QJsonValue &fv, int ordinal, std::set<QByteArray> &ids)
{
    const QJsonObject fo = fv.toObject();
    SpecimenField f;
    f.id = fo.value(QLatin1String("id")).toString().toLocal8Bit();
    if (!fv.isObject() || f.id.isEmpty())
        Bad(path, QStringLiteral("field %1 has no \"id\"").arg(ordinal));
    const QString name = QString::fromLocal8Bit(f.id);
    if (f.id.size() > MaxFieldIdBytes)
        Bad(path, QStringLiteral("field identifier %1 is longer than %2 bytes").arg(name).arg(MaxFieldIdBytes));
    if (!ids.insert(f.id).second)
        Bad(path, QStringLiteral("field identifier %1 is listed twice").arg(name));
    if (!fo.value(QLatin1String("value")).isString())
        Bad(path, QStringLiteral("field %1 has no string \"value\"").arg(name));
    f.value = fo.value(QLatin1String("value")).toString();
    f.title = fo.value(QLatin1String("title")).toString(name);
    const QJsonValue flags = fo.value(QLatin1String("flags"));
    f.flags = flags.toInt(-1);
    if (flags.isUndefined())
        f.flags = 0;
    else if (!flags.isDouble() || (f.flags & ~(SCF_VRS_WARNING | SCF_VRS_ERROR)) != 0 || f.flags < 0)
        Bad(path, QStringLiteral("field %1: \"flags\" must be 0, 4 (doubt), 8 (error) or 12").arg(name));
    f.dataType = ReadDataType(path, fo.value(QLatin1String("type")), name);
    f.readsOnlyUpright = fo.value(QLatin1String("readsOnlyUpright")).toBool(false);
    f.zone = ReadZone(path, fo.value(QLatin1String("zone")), QStringLiteral("zone of %1").arg(name));
    return f;
}

} // namespace

std::shared_ptr<const ScanifySpecimen> LoadScanifySpecimen(const QString &path)
{
    const QJsonObject root = doubles::ReadDescriptionObject(Kind, path);

    auto s = std::make_shared<ScanifySpecimen>();
    s->descriptionPath = path;
    s->name = QFileInfo(path).completeBaseName();
    s->formId = root.value(QLatin1String("formId")).toString().toLocal8Bit();
    if (s->formId.isEmpty())
        Bad(path, QStringLiteral("\"formId\" is missing"));
    if (s->formId.size() > MaxFormIdBytes)
        Bad(path, QStringLiteral("\"formId\" is longer than %1 bytes").arg(MaxFormIdBytes));
    s->formName = root.value(QLatin1String("formName")).toString(QString::fromLocal8Bit(s->formId));
    s->zone = root.value(QLatin1String("zone")).toString().toLocal8Bit();
    if (s->zone.isEmpty())
        Bad(path, QStringLiteral("\"zone\" is missing"));
    const QJsonValue angle = root.value(QLatin1String("feedAngle"));
    s->feedAngle = angle.toInt(-1);
    if (angle.isUndefined())
        s->feedAngle = 0;
    else if (!angle.isDouble() || s->feedAngle % 90 != 0 || s->feedAngle < 0 || s->feedAngle >= 360)
        Bad(path, QStringLiteral("\"feedAngle\" must be 0, 90, 180 or 270"));

    const QString picture = root.value(QLatin1String("picture")).toString();
    if (picture.isEmpty())
        Bad(path, QStringLiteral("\"picture\" is missing"));
    const QString picturePath = QFileInfo(path).dir().absoluteFilePath(picture);
    s->picturePath = picturePath;
    QString loadError;
    s->picture = imaging::LoadPageFile(picturePath, &loadError);
    if (s->picture.isNull())
        Bad(path, QStringLiteral("picture %1 cannot be read").arg(picturePath));
    s->picture = s->picture.convertToFormat(QImage::Format_RGB888);

    const QJsonValue fields = root.value(QLatin1String("fields"));
    if (!fields.isArray())
        Bad(path, QStringLiteral("\"fields\" must be an array"));
    std::set<QByteArray> ids;
    int ordinal = 0;
    for (const QJsonValue &fv : fields.toArray())
        s->fields.push_back(ReadField(path, fv, ++ordinal, ids));

    const QJsonValue photo = root.value(QLatin1String("photo"));
    if (!photo.isUndefined()) {
        const QJsonObject po = photo.toObject();
        s->photo.field = po.value(QLatin1String("field")).toString().toLocal8Bit();
        if (!photo.isObject() || s->photo.field.isEmpty() || s->photo.field.size() > MaxFieldIdBytes)
            Bad(path, QStringLiteral("\"photo\" must name its \"field\" (at most %1 bytes)").arg(MaxFieldIdBytes));
        if (!ids.insert(s->photo.field).second)
            Bad(path, QStringLiteral("the photo field %1 is also a text field").arg(QString::fromLocal8Bit(s->photo.field)));
        s->photo.file = po.value(QLatin1String("file")).toString(QString::fromLocal8Bit(s->photo.field) + QStringLiteral(".jpg"));
        if (!IsPlainFileName(s->photo.file))
            Bad(path, QStringLiteral("the photo \"file\" must be a plain file name without a folder"));
        s->photo.zone = ReadZone(path, po.value(QLatin1String("zone")), QStringLiteral("the photo zone"));
        if (s->photo.zone.isEmpty() || !s->picture.rect().contains(s->photo.zone))
            Bad(path, QStringLiteral("the photo \"zone\" must lie inside the picture"));
    }
    return s;
}

// A picture without a description: a page as it lies in the feeder, which the
// engine reads as a passport when its zone reads.
std::shared_ptr<const ScanifySpecimen> UndescribedPage(const QString &path, QStringList *problems)
{
    auto s = std::make_shared<ScanifySpecimen>();
    QString error;
    s->picture = imaging::LoadPageFile(path, &error);
    if (s->picture.isNull()) {
        *problems << QStringLiteral("picture %1 cannot be read: %2").arg(path, error);
        return nullptr;
    }
    s->picture = s->picture.convertToFormat(QImage::Format_RGB888);
    s->described = false;
    s->picturePath = path;
    s->name = QFileInfo(path).completeBaseName();
    s->formId = "InoPas_MRZ";
    s->formName = QStringLiteral("InoPas_MRZ");
    s->zone = "ZoneOfMRZ";
    return s;
}

ScanifySpecimenList ScanifySpecimens(const QString &folder, QStringList *problems)
{
    static QString cachedFolder;
    static QDateTime cachedStamp;
    static ScanifySpecimenList cached;
    static QStringList cachedProblems;

    std::lock_guard lock(g_lock);
    // A document the user drops into the folder changes the folder's time
    // stamp; one edited in place changes its own.
    QDateTime stamp = QFileInfo(folder).lastModified();
    const QStringList pictures{QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.png")};
    for (const QFileInfo &f : QDir(folder).entryInfoList(QStringList{QStringLiteral("*.json")} + pictures, QDir::Files))
        stamp = std::max(stamp, f.lastModified());
    if (folder != cachedFolder || stamp != cachedStamp || (cached.empty() && cachedProblems.isEmpty())) {
        cachedFolder = folder;
        cachedStamp = stamp;
        cached.clear();
        cachedProblems.clear();
        for (const QString &path : doubles::DescriptionFiles(folder)) {
            try {
                cached.push_back(LoadScanifySpecimen(path));
            } catch (const std::exception &e) {
                cachedProblems << QString::fromUtf8(e.what());
            }
        }
        // A picture is a page of its own when no description names it, nor
        // shares its name (a broken description still owns its picture).
        std::set<QString> named;
        for (const auto &s : cached)
            named.insert(s->picturePath);
        const QDir dir(folder);
        std::set<QString> stems;
        for (const QString &name : dir.entryList({QStringLiteral("*.json")}, QDir::Files))
            stems.insert(QFileInfo(name).completeBaseName());
        for (const QString &name : dir.entryList(pictures, QDir::Files, QDir::Name)) {
            const QString path = dir.absoluteFilePath(name);
            if (named.count(path) == 0 && stems.count(QFileInfo(name).completeBaseName()) == 0)
                cached.push_back(UndescribedPage(path, &cachedProblems));
        }
        std::erase(cached, nullptr);
    }
    if (problems)
        *problems = cachedProblems;
    return cached;
}

Feeder &Feeder::Instance()
{
    static Feeder feeder;
    return feeder;
}

ScanifySpecimenList FeederPages(const QString &folder, const QStringList &patterns, QStringList *problems)
{
    ScanifySpecimenList feed;
    for (const auto &s : ScanifySpecimens(folder, problems)) {
        bool taken = patterns.isEmpty();
        for (const QString &p : patterns)
            taken = taken || QRegularExpression::fromWildcard(p, Qt::CaseInsensitive).match(s->name).hasMatch();
        if (taken)
            feed.push_back(s);
    }
    if (feed.empty() && problems && !patterns.isEmpty())
        problems->prepend(QStringLiteral("no description in %1 matches %2").arg(folder, patterns.join(QLatin1Char(','))));
    return feed;
}

std::shared_ptr<const ScanifySpecimen> Feeder::Next(const QString &folder, const QStringList &patterns,
                                                    const QByteArray &reading, QStringList *problems)
{
    const ScanifySpecimenList feed = FeederPages(folder, patterns, problems);
    std::lock_guard lock(g_lock);
    const QString key = folder + QLatin1Char('|') + patterns.join(QLatin1Char(','));
    if (key != m_key) {
        m_key = key;
        m_position = 0;
        m_onGlass.reset();
    }
    m_repeating = std::exchange(m_onGlass, nullptr);
    if (m_repeating && reading != m_leftBy)
        return m_repeating;
    m_repeating.reset(); // a first run: the page left for a repeat was taken away
    if (feed.empty())
        return nullptr;
    const auto page = feed[std::size_t(m_position) % feed.size()];
    m_position = int((std::size_t(m_position) + 1) % feed.size());
    return page;
}

void Feeder::KeepOnGlass(const std::shared_ptr<const ScanifySpecimen> &page, const QByteArray &reading)
{
    std::lock_guard lock(g_lock);
    // A repeat run that offers yet another leaves the page as the first run left it.
    if (page != m_repeating)
        m_leftBy = reading;
    m_onGlass = page;
}

} // namespace scproxy
