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
    if (const auto *text = qobject_cast<const ui::TCaptionedEdit *>(control))
        background = text->BackgroundColor();
    else if (const auto *date = qobject_cast<const ui::TNullableDateEdit *>(control))
        background = date->BackgroundColor();
    if (background == ErrorColour)
        return FieldMark::Erroneous;
    if (background == DoubtColour)
        return FieldMark::Doubtful;
    return FieldMark::None;
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
        FillCurrentFields(form.get(), *request.current);
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
