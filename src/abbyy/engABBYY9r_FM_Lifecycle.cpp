// Showing, closing and destroying the recognition window; the settings it
// keeps; the check boxes saved at once; the date check; action enabling.
#include "abbyy/engABBYY9r_FM.h"

#include "abbyy/engUtilsABBYY9r.h"
#include "common/FormSettings.h"
#include "base/PackageTexts.h"
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

TABBYYRecognitionFM::~TABBYYRecognitionFM()
{
    FormDestroy();
    // The data set outlives the window: it must not call back into a freed form.
    if (m_afterPostAttached && gl_cdsNationalities)
        gl_cdsNationalities->SetAfterPost(nullptr);
    if (ABBYYRecognitionFM == this)
        ABBYYRecognitionFM = nullptr;
}

QPushButton *TABBYYRecognitionFM::escapeButton() const
{
    // On the scan page "Отмена", which closes whatever the dates say; on the
    // options page "Закрыть окно".
    return IsOptionsPageActive() ? bCancelOptions : bCancel;
}

void TABBYYRecognitionFM::connectCheckBoxes()
{
    rebindOptions();
    using W = TABBYYRecognitionFM;
    bindOption(cxFIOInLatin, &W::cxFIOInLatinClick);
    bindOption(cxFIOInLatin_2, &W::cxFIOInLatinClick);
    // The copy boxes share the document-picture handler.
    for (QCheckBox *box : CopyBoxes())
        bindOption(box, &W::cxDocPictureToAccoutDataClick);
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
    disconnectOptions();
    try {
        int scannerIndex = -1;
        WithRecognizeIniFile([&](TSettingsFile &ini) {
            settings::ReadFormBounds(ini, this);

            // The operator never switches between tsAdd and tsEdit: no tab row.
            pgcRecognize->tabBar()->hide();

            showOption(cxPhotoToAccoutData, cxPhotoToAccoutData_2, gl_PhotoToAccountData);
            showOption(cxDocPictureToAccoutData, cxDocPictureToAccoutData_2, gl_DocumentToAccountData);
            showOption(cxFIOInLatin, cxFIOInLatin_2, gl_FIOOnLatin);
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
                throw std::runtime_error(texts::EngineNotStarted);
            const int count = gl_RecognitionEngine->ScannersCount();
            for (int i = 0; i < count; ++i)
                cbScanListForTest->addItem(gl_RecognitionEngine->ScannerName(i));
            if (cbScanListForTest->count() > 0)
                scannerIndex = settings::Stored(ini, settings::ScannerIndex, 0);
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
            settings::Write(ini, settings::TwainDialogSupported);
            gl_TwainDialogNeed = cxShowTwainDialog->isChecked();
            settings::Write(ini, settings::TwainDialogNeed);
            gl_BrightnessSupported = tbBrightness->isEnabled();
            settings::Write(ini, settings::BrightnessSupported);
            gl_BrightnessValue = tbBrightness->Position();
            settings::Write(ini, settings::BrightnessValue);
            gl_OrientSupported = rgOrient->isEnabled();
            settings::Write(ini, settings::OrientSupported);
            gl_OrientValue = rgOrient->ItemIndex();
            settings::Write(ini, settings::OrientValue);
            gl_PaperSizeSupported = cbPaperSize->isEnabled();
            settings::Write(ini, settings::PaperSizeSupported);
            gl_PaperSizeIndex = cbPaperSize->currentIndex();
            settings::Write(ini, settings::PaperSizeIndex);
            gl_PaperSizeValue = cbPaperSize->currentText();
            settings::Write(ini, settings::PaperSizeValue);
            gl_ColorModeSupported = rgColorMode->isEnabled();
            settings::Write(ini, settings::ColorModeSupported);
            gl_ColorModeValue = rgColorMode->ItemIndex();
            settings::Write(ini, settings::ColorModeValue);
            settings::Write(ini, settings::RotationIndex, rgRotation->ItemIndex());
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

void TABBYYRecognitionFM::FormDestroy()
{
    for (int i = 0; i < cbPassportTypes->count(); ++i) {
        delete PassportType(i);
        cbPassportTypes->setItemData(i, QVariant());
    }
}

void TABBYYRecognitionFM::cxFIOInLatinClick()
{
    saveOption(cxFIOInLatin, cxFIOInLatin_2, settings::FIOOnLatin);
}

void TABBYYRecognitionFM::ActionListUpdate()
{
    const bool scanner = cbScanListForTest->currentIndex() >= 0;
    acScan->setEnabled(scanner);
    acRecognize->setEnabled(scanner);

    updateSaveAction(std::nullopt);
}
