#include "CognitiveRequest.h"

#include "PackageLoader.h"
#include "ResultFieldsReader.h"
#include "common/RecognitionFields.h"
#include "scanify/engCognitive9r_FM.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TPictureBox.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <memory>

namespace {

// The window marks a field's background: pale yellow for a doubt, light red
// for an error.
const QColor DoubtColour(255, 255, 128);
const QColor ErrorColour(255, 128, 128);

FieldMark MarkOf(const QWidget *control)
{
    QColor background;
    if (const auto *text = AsText(control))
        background = text->BackgroundColor();
    else if (const auto *date = AsDate(control))
        background = date->BackgroundColor();
    if (background == ErrorColour)
        return FieldMark::Erroneous;
    if (background == DoubtColour)
        return FieldMark::Doubtful;
    return FieldMark::None;
}

/// The host fills the read-only current values as typed text.
void FillCurrent(TCognitiveRecognitionFM *f, const PersonRecord &r)
{
    using namespace recognition;
    const QJsonObject values = r.ToJson();
    for (const TFieldDescription &field : ResultFields()) {
        QWidget *control = f->findChild<QWidget *>(ControlName(field, TColumn::Current));
        const QJsonValue value = values.value(QLatin1String(field.recordKey));
        if (auto *date = AsDate(control)) {
            const QDate d = QDate::fromString(value.toString(), Qt::ISODate);
            date->Edit()->setText(d.isValid() ? d.toString(QLatin1String(ui::TNullableDateEdit::DisplayFormat)) : QString());
            Q_EMIT date->Edit()->editingFinished(); // the edit takes typed text when editing ends
        } else if (auto *text = AsText(control)) {
            text->Edit()->setText(value.toString());
        }
    }
}

} // namespace

PersonRecord ReadCognitiveRecord(const TCognitiveRecognitionFM *f)
{
    PersonRecord r = ReadResultFields(f, f->pgcRecognize->currentWidget() == f->tsEdit, MarkOf);
    r.documentName = f->FDocumentName;
    return r;
}

CognitiveResult RunCognitiveRequest(const PackageLoader &package, const CognitiveRequest &request)
{
    auto create = package.Function<TCognitiveRecognitionFM *(*)(QWidget *)>("TCognitiveRecognitionFM_Create");
    auto **formVariable = package.Variable<TCognitiveRecognitionFM *>("CognitiveRecognitionFM");
    std::unique_ptr<TCognitiveRecognitionFM> form(create(nullptr));
    struct Forget
    {
        TCognitiveRecognitionFM **variable;
        ~Forget() { *variable = nullptr; }
    } forget{formVariable};

    if (request.current) {
        form->pgcRecognize->setCurrentWidget(form->tsEdit);
        FillCurrent(form.get(), *request.current);
    } else {
        form->pgcRecognize->setCurrentWidget(form->tsAdd);
    }
    if (request.operate) {
        TCognitiveRecognitionFM *f = form.get();
        QTimer::singleShot(0, f, [f, operate = request.operate] { operate(f); });
    }
    CognitiveResult result;
    result.modalResult = form->exec();
    result.photoToAccountData = *package.Variable<bool>("gl_PhotoToAccountData");
    result.documentToAccountData = *package.Variable<bool>("gl_DocumentToAccountData");
    if (result.modalResult == 1) {
        PersonRecord record = ReadCognitiveRecord(form.get());
        if (result.photoToAccountData)
            record.photo = form->imgPhoto->Picture();
        if (result.documentToAccountData)
            record.documentPicture = form->imgWorkRecognize->Picture();
        result.record = std::move(record);
    }
    return result;
}
