#include "ResultFieldsReader.h"

#include "common/FieldMark.h"
#include "common/RecognitionFields.h"
#include "base/engCommon9rMessages.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TNullableDateEdit.h"

#include <QJsonObject>
#include <QLineEdit>

void FillCurrentFields(QWidget *form, const PersonRecord &record)
{
    using namespace recognition;
    const QJsonObject values = record.ToJson();
    for (const TFieldDescription &f : ResultFields()) {
        QWidget *control = form->findChild<QWidget *>(ControlName(f, TColumn::Current));
        const QJsonValue value = values.value(QLatin1String(f.recordKey));
        if (auto *date = qobject_cast<ui::TNullableDateEdit *>(control))
            date->SetDate(QDate::fromString(value.toString(), Qt::ISODate));
        else if (auto *text = qobject_cast<ui::TCaptionedEdit *>(control))
            text->SetText(value.toString());
    }
}

PersonRecord ReadResultFields(const QWidget *form, bool edit)
{
    using namespace recognition;
    // The record's own reader takes the values by the same keys it writes.
    QJsonObject values;
    QStringList doubtful, erroneous, unreadable;
    const TColumn column = edit ? TColumn::Recognized : TColumn::Add;
    for (const TFieldDescription &f : ResultFields()) {
        const QString key = QLatin1String(f.recordKey);
        const QWidget *control = form->findChild<QWidget *>(ControlName(f, column));
        if (!control)
            continue;
        if (const auto *date = qobject_cast<const ui::TNullableDateEdit *>(control))
            values[key] = date->Date().isValid() ? QJsonValue(date->Date().toString(Qt::ISODate)) : QJsonValue();
        else if (const auto *text = qobject_cast<const ui::TCaptionedEdit *>(control)) {
            // The Scanify window puts a blank before every value it reads; the
            // record keeps the value.
            const QString value = text->Text().trimmed();
            // The window's word for a field it found but could not read stays
            // in the edit for the operator; it is nobody's surname.
            if (value == LoadResString(&_S_NOT_RECOGNIZED)) {
                values[key] = QString();
                unreadable << key;
                continue;
            }
            values[key] = value;
        }
        switch (MarkOf(control)) {
        case TFieldMark::Doubtful: doubtful << key; break;
        case TFieldMark::Erroneous: erroneous << key; break;
        case TFieldMark::None: break;
        }
    }
    PersonRecord r = PersonRecord::FromJson(values);
    doubtful.sort();
    erroneous.sort();
    unreadable.sort();
    r.doubtful = doubtful;
    r.erroneous = erroneous;
    r.unreadable = unreadable;
    return r;
}
