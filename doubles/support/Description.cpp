#include "Description.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <limits>
#include <stdexcept>

namespace doubles {

QStringList DescriptionFiles(const QString &folder)
{
    const QDir dir(folder);
    QStringList paths;
    for (const QString &name : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name))
        paths << dir.absoluteFilePath(name);
    return paths;
}

QRect ReadJsonZone(const QJsonValue &v, QString *fault)
{
    fault->clear();
    if (v.isUndefined() || v.isNull())
        return {};
    const QJsonObject o = v.toObject();
    if (!v.isObject() || !o.value(QLatin1String("x")).isDouble() || !o.value(QLatin1String("y")).isDouble()
        || !o.value(QLatin1String("width")).isDouble() || !o.value(QLatin1String("height")).isDouble()) {
        *fault = QStringLiteral("must be an object with numbers x, y, width, height");
        return {};
    }
    const int x = o.value(QLatin1String("x")).toInt(), y = o.value(QLatin1String("y")).toInt();
    const int width = o.value(QLatin1String("width")).toInt(), height = o.value(QLatin1String("height")).toInt();
    const auto fits = [](qint64 c) { return c >= std::numeric_limits<int>::min() && c <= std::numeric_limits<int>::max(); };
    // QRect keeps the last column, x + width - 1, and works it out from x + width.
    if (!fits(qint64(x) + width) || !fits(qint64(x) + width - 1) || !fits(qint64(y) + height)
        || !fits(qint64(y) + height - 1)) {
        *fault = QStringLiteral("reaches past the coordinate range");
        return {};
    }
    return QRect(x, y, width, height);
}

void ThrowBadDescription(const char *kind, const QString &path, const QString &what)
{
    throw std::runtime_error(QStringLiteral("%1 %2: %3").arg(QLatin1String(kind), path, what).toStdString());
}

QJsonObject ReadDescriptionObject(const char *kind, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        ThrowBadDescription(kind, path, QStringLiteral("cannot be opened (%1)").arg(file.errorString()));
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &err);
    if (err.error != QJsonParseError::NoError)
        ThrowBadDescription(kind, path, QStringLiteral("is not valid JSON at offset %1 (%2)").arg(err.offset).arg(err.errorString()));
    if (!doc.isObject())
        ThrowBadDescription(kind, path, QStringLiteral("must hold one JSON object"));
    return doc.object();
}

QRect ReadDescriptionZone(const char *kind, const QString &path, const QJsonValue &v, const QString &what)
{
    QString fault;
    const QRect zone = ReadJsonZone(v, &fault);
    if (!fault.isEmpty())
        ThrowBadDescription(kind, path, what + QLatin1Char(' ') + fault);
    return zone;
}

} // namespace doubles
