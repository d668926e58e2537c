#include "PrintedJson.h"

#include <QJsonArray>

namespace printed {

QJsonObject ToJson(const PrintedReading &reading)
{
    QJsonObject o;
    o.insert(QStringLiteral("kind"), KindName(reading.kind));
    o.insert(QStringLiteral("documentFound"), reading.documentFound);
    if (!reading.error.isEmpty())
        o.insert(QStringLiteral("error"), reading.error);
    QJsonObject fields;
    for (const auto &[field, text] : reading.fields) {
        QJsonObject f;
        f.insert(QStringLiteral("value"), text.Value());
        f.insert(QStringLiteral("lines"), QJsonArray::fromStringList(text.lines));
        f.insert(QStringLiteral("doubtful"), text.doubtful);
        f.insert(QStringLiteral("fromZone"), text.fromZone);
        f.insert(QStringLiteral("box"), QJsonArray{text.box.x(), text.box.y(), text.box.width(), text.box.height()});
        fields.insert(FieldName(field), f);
    }
    o.insert(QStringLiteral("fields"), fields);
    return o;
}

} // namespace printed
