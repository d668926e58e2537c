#include "SpecimenCatalogue.h"

#include "Description.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <cmath>
#include <limits>
#include <mutex>
#include <stdexcept>

namespace passportreader {

namespace {

std::mutex g_lock;

constexpr char Kind[] = "Specimen description";

[[noreturn]] void Bad(const QString &path, const QString &what)
{
    doubles::ThrowBadDescription(Kind, path, what);
}

QRect ReadZone(const QString &path, const QJsonValue &v, const QString &what)
{
    return doubles::ReadDescriptionZone(Kind, path, v, what);
}

QByteArray Digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

std::shared_ptr<const Specimen> LoadSpecimen(const QString &path)
{
    const QJsonObject root = doubles::ReadDescriptionObject(Kind, path);

    auto s = std::make_shared<Specimen>();
    s->descriptionPath = path;
    s->documentType = root.value(QLatin1String("documentType")).toString();
    if (s->documentType.isEmpty())
        Bad(path, QStringLiteral("\"documentType\" is missing"));
    const QString picture = root.value(QLatin1String("picture")).toString();
    if (picture.isEmpty())
        Bad(path, QStringLiteral("\"picture\" is missing"));
    s->picturePath = QFileInfo(path).dir().absoluteFilePath(picture);
    if (!s->picture.load(s->picturePath) || s->picture.isNull())
        Bad(path, QStringLiteral("picture %1 cannot be read").arg(s->picturePath));
    s->picture = s->picture.convertToFormat(QImage::Format_RGB888);
    s->photoZone = ReadZone(path, root.value(QLatin1String("photoZone")), QStringLiteral("\"photoZone\""));
    if (!s->photoZone.isEmpty() && !s->picture.rect().contains(s->photoZone))
        Bad(path, QStringLiteral("\"photoZone\" lies outside the picture"));

    const QJsonValue fields = root.value(QLatin1String("fields"));
    if (!fields.isArray())
        Bad(path, QStringLiteral("\"fields\" must be an array"));
    int ordinal = 0;
    for (const QJsonValue &fv : fields.toArray()) {
        ++ordinal;
        const QJsonObject fo = fv.toObject();
        SpecimenField f;
        f.name = fo.value(QLatin1String("name")).toString();
        if (!fv.isObject() || f.name.isEmpty())
            Bad(path, QStringLiteral("field %1 has no \"name\"").arg(ordinal));
        if (!fo.value(QLatin1String("value")).isString())
            Bad(path, QStringLiteral("field %1 (%2) has no string \"value\"").arg(ordinal).arg(f.name));
        f.value = fo.value(QLatin1String("value")).toString();
        f.id = fo.value(QLatin1String("id")).toString(QString::number(ordinal));
        f.found = fo.value(QLatin1String("found")).toBool(!f.value.trimmed().isEmpty());
        for (const QJsonValue &u : fo.value(QLatin1String("untrusted")).toArray()) {
            const int i = u.toInt(-1);
            if (!u.isDouble() || i < 0 || i >= f.value.size())
                Bad(path, QStringLiteral("field %1 (%2) lists an untrusted symbol outside its value").arg(ordinal).arg(f.name));
            f.untrusted.append(i);
        }
        f.zone = ReadZone(path, fo.value(QLatin1String("zone")), QStringLiteral("zone of %1").arg(f.name));
        s->fields.push_back(std::move(f));
    }
    s->signature = PageSignature(s->picture);
    return s;
}

SpecimenCatalogue &SpecimenCatalogue::Instance()
{
    static SpecimenCatalogue catalogue;
    return catalogue;
}

SpecimenList SpecimenCatalogue::Specimens(const QString &folder, QStringList *problems)
{
    std::lock_guard lock(g_lock);
    // A document the user drops into the folder changes its time stamp.
    const QDateTime stamp = QFileInfo(folder).lastModified();
    if (folder != m_folder || stamp != m_stamp || m_specimens.empty()) {
        m_folder = folder;
        m_stamp = stamp;
        m_specimens.clear();
        m_problems.clear();
        for (const QString &path : doubles::DescriptionFiles(folder)) {
            try {
                m_specimens.push_back(LoadSpecimen(path));
            } catch (const std::exception &e) {
                m_problems << QString::fromUtf8(e.what());
            }
        }
    }
    if (problems)
        *problems = m_problems;
    return m_specimens;
}

void SpecimenCatalogue::RememberDelivered(const QByteArray &fileBytes, const std::shared_ptr<const Specimen> &s)
{
    std::lock_guard lock(g_lock);
    m_delivered.insert(Digest(fileBytes), s);
}

std::shared_ptr<const Specimen> SpecimenCatalogue::Identify(const QString &folder, const QByteArray &fileBytes,
                                                            const QImage &page)
{
    {
        std::lock_guard lock(g_lock);
        if (auto known = m_delivered.value(Digest(fileBytes)))
            return known;
    }
    const SpecimenList list = Specimens(folder);
    const std::vector<float> sig = PageSignature(page);
    const double pageAspect = double(page.width()) / std::max(1, page.height());
    std::shared_ptr<const Specimen> best;
    double bestScore = 0.9; // below this the page is not taken for that specimen
    for (const auto &s : list) {
        const double aspect = double(s->picture.width()) / std::max(1, s->picture.height());
        if (std::abs(aspect - pageAspect) > 0.1 * aspect)
            continue;
        const double score = SignatureCorrelation(sig, s->signature);
        if (score > bestScore) {
            bestScore = score;
            best = s;
        }
    }
    return best;
}

std::vector<float> PageSignature(const QImage &image)
{
    constexpr int W = 48, H = 32;
    std::vector<float> v;
    if (image.isNull())
        return v;
    const QImage thumb = image.convertToFormat(QImage::Format_Grayscale8)
                             .scaled(W, H, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    v.reserve(W * H);
    double sum = 0;
    for (int y = 0; y < H; ++y) {
        const uchar *line = thumb.constScanLine(y);
        for (int x = 0; x < W; ++x) {
            v.push_back(line[x]);
            sum += line[x];
        }
    }
    const double mean = sum / v.size();
    double sq = 0;
    for (float &f : v) {
        f = float(f - mean);
        sq += double(f) * f;
    }
    const double norm = std::sqrt(sq);
    if (norm > 0)
        for (float &f : v)
            f = float(f / norm);
    return v;
}

double SignatureCorrelation(const std::vector<float> &a, const std::vector<float> &b)
{
    if (a.size() != b.size() || a.empty())
        return 0;
    double dot = 0;
    for (size_t i = 0; i < a.size(); ++i)
        dot += double(a[i]) * b[i];
    return dot;
}

} // namespace passportreader
