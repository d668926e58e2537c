// Showing, closing and destroying the recognition window; the settings it
// keeps; the check boxes saved at once; the date check; action enabling.
#include "abbyy/engABBYY9r_FM.h"

#include "abbyy/engUtilsABBYY9r.h"
#include "common/FormSettings.h"
#include "common/Recognition9r.h"
#include "common/engCommon9r_p.h"
#include "common/TSettingsFile.h"
#include "host/IDataSet.h"
#include "ui/TActionUpdater.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TPictureBox.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TMessageBox.h"
#include "ui/TChoiceGroup.h"
#include "ui/TTrackSlider.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <stdexcept>

namespace {

const QString ScanInfo = QStringLiteral("SCAN_INFO");

} // namespace

TABBYYRecognitionFM::~TABBYYRecognitionFM()
{
    FormDestroy();
    // The data set outlives the window: it must not call back into a freed form.
    if (m_afterPostAttached && gl_cdsNationalities)
        gl_cdsNationalities->SetAfterPost(nullptr);
    if (ABBYYRecognitionFM == this)
        ABBYYRecognitionFM = nullptr;
}

void TABBYYRecognitionFM::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TABBYYRecognitionFM::done(int result)
{
    if (isVisible()) {
        bool canClose = true;
        FormCloseQuery(canClose);
        if (!canClose)
            return;
        FormClose();
    }
    QDialog::done(result);
}

void TABBYYRecognitionFM::reject()
{
    done(2);
}

void TABBYYRecognitionFM::keyPressEvent(QKeyEvent *event)
{
    // Escape presses the page's cancel button: on the scan page "Отмена",
    // which closes whatever the dates say; on the options page "Закрыть окно".
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        (IsOptionsPageActive() ? bCancelOptions : bCancel)->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TABBYYRecognitionFM::runGuarded(const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::exception &e) {
        ui::ShowMessageBox(this, QString::fromUtf8(e.what()), LoadResString(&_S_ERROR), QMessageBox::Critical);
    }
}

void TABBYYRecognitionFM::connectCheckBoxes()
{
    disconnectCheckBoxes();
    auto bind = [this](QCheckBox *box, void (TABBYYRecognitionFM::*handler)()) {
        m_checkBoxConnections.push_back(connect(box, &QCheckBox::toggled, this, [this, handler] { (this->*handler)(); }));
    };
    bind(cxPhotoToAccoutData, &TABBYYRecognitionFM::cxPhotoToAccoutDataClick);
    bind(cxPhotoToAccoutData_2, &TABBYYRecognitionFM::cxPhotoToAccoutDataClick);
    bind(cxDocPictureToAccoutData, &TABBYYRecognitionFM::cxDocPictureToAccoutDataClick);
    bind(cxDocPictureToAccoutData_2, &TABBYYRecognitionFM::cxDocPictureToAccoutDataClick);
    bind(cxFIOInLatin, &TABBYYRecognitionFM::cxFIOInLatinClick);
    bind(cxFIOInLatin_2, &TABBYYRecognitionFM::cxFIOInLatinClick);
    // The copy boxes share the document-picture handler.
    for (QCheckBox *box : CopyBoxes())
        bind(box, &TABBYYRecognitionFM::cxDocPictureToAccoutDataClick);
}

void TABBYYRecognitionFM::disconnectCheckBoxes()
{
    for (const QMetaObject::Connection &c : m_checkBoxConnections)
        disconnect(c);
    m_checkBoxConnections.clear();
}

void TABBYYRecognitionFM::connectScannerList()
{
    disconnectScannerList();
    m_scannerListConnection = connect(cbScanListForTest, &QComboBox::currentIndexChanged, this,
                                      [this] { cbScanListForTestChange(); });
}

void TABBYYRecognitionFM::disconnectScannerList()
{
    if (m_scannerListConnection)
        disconnect(m_scannerListConnection);
    m_scannerListConnection = {};
}

void TABBYYRecognitionFM::FormShow()
{
    disconnectScannerList();
    disconnectCheckBoxes();
    try {
        int scannerIndex = -1;
        WithRecognizeIniFile([&](TSettingsFile &ini) {
            settings::ReadFormBounds(ini, this);

            // The operator never switches between tsAdd and tsEdit: no tab row.
            pgcRecognize->tabBar()->hide();

            cxPhotoToAccoutData->setChecked(gl_PhotoToAccountData);
            cxPhotoToAccoutData_2->setChecked(gl_PhotoToAccountData);
            cxDocPictureToAccoutData->setChecked(gl_DocumentToAccountData);
            cxDocPictureToAccoutData_2->setChecked(gl_DocumentToAccountData);
            cxFIOInLatin->setChecked(gl_FIOOnLatin);
            cxFIOInLatin_2->setChecked(gl_FIOOnLatin);
            cxShowTwainDialog->setEnabled(gl_ShowTwainSupported);
            cxShowTwainDialog->setChecked(gl_TwainDialogNeed);
            tbBrightness->setEnabled(gl_BrightnessSupported);
            tbBrightness->SetPosition(gl_BrightnessValue);
            rgOrient->setEnabled(gl_OrientSupported);
            rgOrient->SetItemIndex(gl_OrientValue);
            cbPaperSize->setEnabled(gl_PaperSizeSupported);
            cbPaperSize->setCurrentIndex(gl_PaperSizeIndex >= 0 && gl_PaperSizeIndex < cbPaperSize->count()
                                             ? gl_PaperSizeIndex : -1);
            rgColorMode->setEnabled(gl_ColorModeSupported);
            rgColorMode->SetItemIndex(gl_ColorModeValue);
            rgRotation->SetItemIndex(gl_RotationIndex);

            cbScanListForTest->clear();
            if (!gl_RecognitionEngine)
                throw std::runtime_error("Механизм распознавания не запущен");
            const int count = gl_RecognitionEngine->ScannersCount();
            for (int i = 0; i < count; ++i)
                cbScanListForTest->addItem(gl_RecognitionEngine->ScannerName(i));
            if (cbScanListForTest->count() > 0)
                scannerIndex = ini.ReadInteger(ScanInfo, QStringLiteral("ScannerIndex"), 0);
        });
        if (cbScanListForTest->count() > 0) {
            cbScanListForTest->setCurrentIndex(scannerIndex >= 0 && scannerIndex < cbScanListForTest->count()
                                                   ? scannerIndex : -1);
            if (cbScanListForTest->currentIndex() >= 0)
                doScannerChange();
            connectScannerList();
        }
    } catch (const std::exception &e) {
        ui::ShowMessageBox(this, QString::fromUtf8(e.what()) + QStringLiteral("\r\r") + LoadResString(&_S_ERROR_INIT_ENGINE_2),
                           LoadResString(&_S_ERROR), QMessageBox::Critical);
    }

    if (gl_cdsNationalities) {
        if (!dsNationalities->DataSet())
            dsNationalities->SetDataSet(gl_cdsNationalities);
        gl_cdsNationalities->SetAfterPost([this](host::IDataSet *ds) { NationAfterPost(ds); });
        m_afterPostAttached = true;
        gl_cdsNationalities->First();
    }
    connectCheckBoxes();
    FCancel = false;
    bRecognize->setDefault(true);
}

void TABBYYRecognitionFM::FormClose()
{
    try {
        WithRecognizeIniFile([&](TSettingsFile &ini) {
            gl_ShowTwainSupported = cxShowTwainDialog->isEnabled();
            ini.WriteBool(ScanInfo, QStringLiteral("TwainDialogSupported"), gl_ShowTwainSupported);
            gl_TwainDialogNeed = cxShowTwainDialog->isChecked();
            ini.WriteBool(ScanInfo, QStringLiteral("TwainDialogNeed"), gl_TwainDialogNeed);
            gl_BrightnessSupported = tbBrightness->isEnabled();
            ini.WriteBool(ScanInfo, QStringLiteral("BrightnessSupported"), gl_BrightnessSupported);
            gl_BrightnessValue = tbBrightness->Position();
            ini.WriteInteger(ScanInfo, QStringLiteral("BrightnessValue"), gl_BrightnessValue);
            gl_OrientSupported = rgOrient->isEnabled();
            ini.WriteBool(ScanInfo, QStringLiteral("OrientSupported"), gl_OrientSupported);
            gl_OrientValue = rgOrient->ItemIndex();
            ini.WriteInteger(ScanInfo, QStringLiteral("OrientValue"), gl_OrientValue);
            gl_PaperSizeSupported = cbPaperSize->isEnabled();
            ini.WriteBool(ScanInfo, QStringLiteral("PaperSizeSupported"), gl_PaperSizeSupported);
            gl_PaperSizeIndex = cbPaperSize->currentIndex();
            ini.WriteInteger(ScanInfo, QStringLiteral("PaperSizeIndex"), gl_PaperSizeIndex);
            gl_PaperSizeValue = cbPaperSize->currentText();
            ini.WriteString(ScanInfo, QStringLiteral("PaperSizeValue"), gl_PaperSizeValue);
            gl_ColorModeSupported = rgColorMode->isEnabled();
            ini.WriteBool(ScanInfo, QStringLiteral("ColorModeSupported"), gl_ColorModeSupported);
            gl_ColorModeValue = rgColorMode->ItemIndex();
            ini.WriteInteger(ScanInfo, QStringLiteral("ColorModeValue"), gl_ColorModeValue);
            ini.WriteInteger(ScanInfo, QStringLiteral("RotationIndex"), rgRotation->ItemIndex());
            settings::Write(ini, settings::RecognizePhoto);
            settings::Write(ini, settings::RecognizeDocument);
            settings::Write(ini, settings::FIOOnLatin);
            settings::WriteFormBounds(ini, this);
            ini.UpdateFile();
        });
    } catch (const std::exception &e) {
        // The globals hold the choices for this session; the window still closes.
        ui::ShowMessageBox(this, QString::fromUtf8(e.what()), LoadResString(&_S_ERROR), QMessageBox::Critical);
    }
    // The next show fills the list again; clearing it is no scanner change.
    disconnectScannerList();
    cbScanListForTest->clear();
}

void TABBYYRecognitionFM::FormCloseQuery(bool &CanClose)
{
    CanClose = true;
    if (IsOptionsPageActive() || FCancel)
        return;
    const bool edit = pgcRecognize->currentWidget() == tsEdit;
    if (!m_fields.ConfirmDateOrder(this, edit ? recognition::TColumn::Recognized : recognition::TColumn::Add))
        CanClose = false;
}

void TABBYYRecognitionFM::FormDestroy()
{
    for (int i = 0; i < cbPassportTypes->count(); ++i) {
        delete PassportType(i);
        cbPassportTypes->setItemData(i, QVariant());
    }
}

void TABBYYRecognitionFM::bCancelClick()
{
    FCancel = true;
}


void TABBYYRecognitionFM::cxPhotoToAccoutDataClick()
{
    runGuarded([this] {
        settings::SaveOptionBox(pgcRecognize, tsAdd, tsEdit, cxPhotoToAccoutData, cxPhotoToAccoutData_2,
                                settings::RecognizePhoto);
    });
}

void TABBYYRecognitionFM::cxDocPictureToAccoutDataClick()
{
    runGuarded([this] {
        settings::SaveOptionBox(pgcRecognize, tsAdd, tsEdit, cxDocPictureToAccoutData, cxDocPictureToAccoutData_2,
                                settings::RecognizeDocument);
    });
}

void TABBYYRecognitionFM::cxFIOInLatinClick()
{
    runGuarded([this] {
        settings::SaveOptionBox(pgcRecognize, tsAdd, tsEdit, cxFIOInLatin, cxFIOInLatin_2, settings::FIOOnLatin);
    });
}

void TABBYYRecognitionFM::ActionListUpdate()
{
    const bool scanner = cbScanListForTest->currentIndex() >= 0;
    acScan->setEnabled(scanner);
    acRecognize->setEnabled(scanner);

    if (IsOptionsPageActive()) {
        acSave->setEnabled(false);
        return;
    }
    if (pgcScanRecognize->currentWidget() != tsScanAndRecognize)
        return;
    if (pgcRecognize->currentWidget() == tsAdd) {
        acSave->setEnabled(m_fields.HasNameAndNumber(recognition::TColumn::Add));
    } else if (pgcRecognize->currentWidget() == tsEdit) {
        acSave->setEnabled(m_fields.HasNameAndNumber(recognition::TColumn::Recognized));
        m_fields.UpdateCopyBoxes(std::nullopt);
    }
    if (acSave->isEnabled()) {
        bRecognize->setDefault(false);
        bRecognize_2->setDefault(false);
        bSave->setDefault(true);
    }
}
