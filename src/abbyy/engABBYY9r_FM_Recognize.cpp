// The working operations of the recognition window: scan a picture, have the
// engine recognise the document, put the fields and pictures into the window,
// and copy the person's current values over the recognised ones.
#include "abbyy/engABBYY9r_FM.h"

#include "abbyy/engABBYY9r_FM_RecognizeFields.h"
#include "abbyy/engABBYY9r_FM_RecognizePictures.h"
#include "abbyy/engUtilsABBYY9r.h"
#include "common/OperatorLog.h"
#include "base/PackageTexts.h"
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "common/PictureTurn.h"
#include "ui/TBusyGuard.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TPictureBox.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TMessageBox.h"
#include "ui/TChoiceGroup.h"
#include "ui/TTrackSlider.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <new>

namespace {

/// The hourglass alone, for work that leaves the window enabled.
class TWaitCursor
{
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};

IRecognitionEngine &Engine()
{
    if (!gl_RecognitionEngine)
        throw std::runtime_error(texts::EngineNotStarted);
    return *gl_RecognitionEngine;
}

QString ErrorText(const std::exception &e)
{
    return QString::fromUtf8(e.what());
}

} // namespace

void TABBYYRecognitionFM::acScanExecute()
{
    imgTempRecognize->Clear();
    imgWorkRecognize->Clear();
    imgTempRecognize->SetTag(0);
    ui::TBusyGuard busy(this);
    try {
        ApplyScannerProps(); // a scanner that refuses an option still scans
        const QString scanned = Engine().Scan();
        abbyy::TScannedPicture picture = abbyy::MoveScannedPicture(scanned);
        // The engine reads the file again at "Распознать", also when it kept
        // its first name.
        FFileName = picture.FileName;
        if (picture.Moved) {
            const QImage image = abbyy::LoadScannedPicture(picture);
            imgTempRecognize->SetPicture(image);
            imgWorkRecognize->SetPicture(image);
            // A turn without memory for its picture keeps the scan as it came.
            try {
                switch (rgRotation->ItemIndex()) {
                case 1: sbTurnLeftWorkClick(); break;
                case 2: sbTurnRightWorkClick(); break;
                default: break;
                }
            } catch (const std::bad_alloc &) {
                ShowNotEnoughResource();
            }
        }
    } catch (const std::exception &e) {
        imgTempRecognize->Clear();
        imgWorkRecognize->Clear();
        imgTempRecognize->SetTag(0);
        ui::ShowMessageBox(this, ErrorText(e), LoadResString(&_S_ERROR), QMessageBox::Critical);
    }
}

IFieldsCollectionPtr TABBYYRecognitionFM::ScanAndRecognizePassport(const QString &DocumentType)
{
    return Engine().ScanAndRecognize(DocumentType);
}

void TABBYYRecognitionFM::acRecognizeExecute()
{
    imgPhoto->Clear();
    imgTempRecognize->Clear();
    imgWorkRecognize->Clear();

    TDocumentInfo *document = SelectedPassportType();
    if (!document) {
        ui::ShowMessageBox(this, QString(texts::DocumentTypeNotChosen), LoadResString(&_S_ERROR),
                           QMessageBox::Critical);
        return;
    }
    const QString documentType = document->FIdentifier;
    TWaitCursor wait;

    IFieldsCollectionPtr fields;
    try {
        if (!FFileName.isEmpty() && QFileInfo::exists(FFileName)) {
            fields = Engine().Recognize(FFileName, documentType);
        } else if (cbScanListForTest->currentIndex() >= 0) {
            if (tbBrightness->Position() == 0)
                tbBrightness->SetPosition(50);
            ApplyScannerProps();
            fields = ScanAndRecognizePassport(documentType);
        }
    } catch (const std::exception &e) {
        fields = nullptr;
        ui::ShowMessageBox(this, ErrorText(e), QApplication::applicationDisplayName(), QMessageBox::NoIcon);
    }
    if (!fields) {
        ui::ShowMessageBox(this, LoadResString(&_S_DOC_NOT_RECOGNIZED), LoadResString(&_S_MESSAGE),
                           QMessageBox::Information);
        return;
    }

    try {
        ListBox2->clear();
        const std::int32_t count = fields->Count();
        for (std::int32_t i = 0; i < count; ++i) {
            const IRecognizedFieldPtr field = fields->Item(i);
            if (field)
                ListBox2->addItem(QStringList{field->id(), field->Name(), field->Value()}.join(QStringLiteral(", ")));
        }

        const bool editing = pgcRecognize->currentWidget() == tsEdit;
        if (editing) {
            gl_PhotoToAccountData = cxPhotoToAccoutData_2->isChecked();
            gl_DocumentToAccountData = cxDocPictureToAccoutData_2->isChecked();
            gl_FIOOnLatin = cxFIOInLatin_2->isChecked();
        } else {
            gl_PhotoToAccountData = cxPhotoToAccoutData->isChecked();
            gl_DocumentToAccountData = cxDocPictureToAccoutData->isChecked();
            gl_FIOOnLatin = cxFIOInLatin->isChecked();
        }
        const TResultControls target = editing ? EditControls(false) : AddControls();
        const TResultControls current = EditControls(true);
        abbyy::TRecognizedFieldsWriter writer(fields.get(), target, editing ? &current : nullptr, *document,
                                              document->FTypeDocument == tdForeignPassport && gl_FIOOnLatin);
        writer.ResetControls();
        const bool recognized = writer.FillFields();

        abbyy::LoadRecognizedPhoto(fields.get(), imgPhoto, gl_PhotoToAccountData);
        if (!abbyy::LoadRecognizedFullImage(fields.get(), imgWorkRecognize, gl_DocumentToAccountData))
            ui::ShowMessageBox(this, LoadResString(&_S_DOC_PICTURE_NOT_RETURNED), LoadResString(&_S_MESSAGE),
                               QMessageBox::Information);

        recognition::LogRecognitionOutcome(QStringLiteral("ABBYY"), document->FDocName, documentType, m_fields,
                                           editing ? recognition::TColumn::Recognized : recognition::TColumn::Add);
        bRecognize->setDefault(!recognized);
        bSave->setDefault(recognized);
        if (!recognized)
            ui::ShowMessageBox(this, LoadResString(&_S_DOC_NOT_RECOGNIZED), LoadResString(&_S_MESSAGE),
                               QMessageBox::Information);
    } catch (const std::exception &e) {
        ui::ShowMessageBox(this, ErrorText(e), LoadResString(&_S_ERROR), QMessageBox::Critical);
    }
}

void TABBYYRecognitionFM::sbCopyCurrentDataClick()
{
    // Colours stay as they are: the operator sees which values were replaced
    // by what the engine doubted or found different.
    m_fields.CopyCurrentValues(std::nullopt);
}

void TABBYYRecognitionFM::sbTurnLeftWorkClick()
{
    imaging::TurnImage(imgTempRecognize, imgWorkRecognize, imaging::TurnDirection::Left);
}

void TABBYYRecognitionFM::sbTurnRightWorkClick()
{
    imaging::TurnImage(imgTempRecognize, imgWorkRecognize, imaging::TurnDirection::Right);
}
