#include "JsonZone.h"

#include <QJsonObject>
#include <limits>

namespace standin {

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

} // namespace standin
