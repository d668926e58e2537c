#include "ResultFieldsReader.h"

#include "common/RecognitionFields.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TNullableDateEdit.h"

#include <QJsonObject>
#include <QLineEdit>

ui::TCaptionedEdit *AsText(QWidget *control)
{
    return control && control->inherits("ui::TCaptionedEdit") ? static_cast<ui::TCaptionedEdit *>(control) : nullptr;
}

ui::TNullableDateEdit *AsDate(QWidget *control)
{
    return control && control->inherits("ui::TNullableDateEdit") ? static_cast<ui::TNullableDateEdit *>(control)
                                                                 : nullptr;
}

PersonRecord ReadResultFields(const QWidget *form, bool edit, const std::function<FieldMark(const QWidget *)> &mark)
{
    using namespace recognition;
    // The record's own reader takes the values by the same keys it writes.
    QJsonObject values;
    QStringList doubtful, erroneous;
    const TColumn column = edit ? TColumn::Recognized : TColumn::Add;
    for (const TFieldDescription &f : ResultFields()) {
        const QString key = QLatin1String(f.recordKey);
        const QWidget *control = form->findChild<QWidget *>(ControlName(f, column));
        if (!control)
            continue;
        if (const auto *date = AsDate(control))
            values[key] = date->Date().isValid() ? QJsonValue(date->Date().toString(Qt::ISODate)) : QJsonValue();
        else if (const auto *text = AsText(control))
            // The package's own getters are not linked into the host. The Scanify
            // window puts a blank before every value it reads; the record keeps
            // the value.
            values[key] = text->Edit()->text().trimmed();
        switch (mark(control)) {
        case FieldMark::Doubtful: doubtful << key; break;
        case FieldMark::Erroneous: erroneous << key; break;
        case FieldMark::None: break;
        }
    }
    PersonRecord r = PersonRecord::FromJson(values);
    doubtful.sort();
    erroneous.sort();
    r.doubtful = doubtful;
    r.erroneous = erroneous;
    return r;
}
