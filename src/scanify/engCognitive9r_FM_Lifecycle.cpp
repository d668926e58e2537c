// Showing and closing the Scanify recognition window, the options saved at
// each click, the date check before it closes, and the enabling of actions.
#include "scanify/engCognitive9r_FM.h"

#include "common/FieldOutcome.h"
#include "common/FormSettings.h"
#include "base/PackageTexts.h"
#include "common/Recognition9r.h"
#include "common/TSettingsFile.h"
#include "common/engCommon9r.h"
#include "common/engCommon9r_p.h"
#include "ui/TActionUpdater.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TMessageBox.h"
#include "ui/TNullableDateEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>

using recognition::TColumn;

TCognitiveRecognitionFM::~TCognitiveRecognitionFM()
{
    if (CognitiveRecognitionFM == this)
        CognitiveRecognitionFM = nullptr;
}

void TCognitiveRecognitionFM::connectOptionBoxes(bool both)
{
    rebindOptions();
    using W = TCognitiveRecognitionFM;
    bindOption(cxSelectScanner_Add, &W::cxSelectScanner_AddClick);
    bindOption(cxSelectScanner, &W::cxSelectScanner_AddClick);
    bindOption(cxShowTWAINDialog_Add, &W::cxShowTWAINDialog_AddClick);
    if (both)
        bindOption(cxShowTWAINDialog, &W::cxShowTWAINDialog_AddClick);
}

void TCognitiveRecognitionFM::FormShow()
{
    // Setting the boxes from the settings must not write them back.
    disconnectOptions();
    try {
        WithRecognizeIniFile([&](TSettingsFile &ini) {
            settings::ReadFormBounds(ini, this);
            // The operator never switches between tsAdd and tsEdit: the tab
            // row is pushed out of sight, 25 pixels at every show.
            pgcRecognize->tabBar()->hide();
            pgcRecognize->setMinimumHeight(pgcRecognize->minimumHeight() + 25);
            showOption(cxPhotoToAccoutData, cxPhotoToAccoutData_2, gl_PhotoToAccountData);
            showOption(cxDocPictureToAccoutData, cxDocPictureToAccoutData_2, gl_DocumentToAccountData);
            showOption(cxShowTWAINDialog_Add, cxShowTWAINDialog, gl_TwainDialogNeed);
            showOption(cxSelectScanner_Add, cxSelectScanner, gl_SelectScanner);
            settings::Read(ini, settings::ScannerName);
        });
    } catch (const std::exception &e) {
        ui::ShowMessageBox(this,
                           QString(texts::WindowSettingsNotRestored) + QStringLiteral("\r\r")
                               + QString::fromUtf8(e.what()),
                           LoadResString(&_S_ERROR), QMessageBox::Critical);
    }
    connectOptionBoxes(true);
    FCancel = false;
    // A window has one default button: "Распознать" of the page shown.
    (pgcRecognize->currentWidget() == tsEdit ? bRecognize_2 : bRecognize)->setDefault(true);
}

void TCognitiveRecognitionFM::FormClose()
{
    try {
        WithRecognizeIniFile([&](TSettingsFile &ini) {
            settings::Write(ini, settings::ScannerName);
            settings::Write(ini, settings::TwainDialogNeed);
            settings::Write(ini, settings::SelectScanner);
            settings::Write(ini, settings::RecognizePhoto);
            settings::Write(ini, settings::RecognizeDocument);
            settings::WriteFormBounds(ini, this);
            ini.UpdateFile();
        });
    } catch (const std::exception &e) {
        // The globals hold the choices for this session; the window still closes.
        ui::ShowMessageBox(this, QString::fromUtf8(e.what()), LoadResString(&_S_ERROR), QMessageBox::Critical);
    }
    cbScanListForTest->clear();
}

void TCognitiveRecognitionFM::ClearControls()
{
    const TColumn column = activeColumn();
    // A hint left from the last run would describe a value that is gone.
    m_fields.ClearMarking(column, recognition::TMarking::Background);
    m_fields.ClearColumn(column);
    QApplication::processEvents();
}

void TCognitiveRecognitionFM::ActionListUpdate()
{
    // The nationality is never copied: its box stays as the operator left it.
    updateSaveAction(recognition::rfNationality);
}

void TCognitiveRecognitionFM::sbCopyCurrentDataClick()
{
    m_fields.CopyCurrentValues(recognition::rfNationality);
    if (cxCopyIssueBy->isChecked())
        ledIssuedByRec->SetHint(ledIssuedByRec->Text());
}

void TCognitiveRecognitionFM::cxSelectScanner_AddClick()
{
    saveOption(cxSelectScanner_Add, cxSelectScanner, settings::SelectScanner);
}

void TCognitiveRecognitionFM::cxShowTWAINDialog_AddClick()
{
    saveOption(cxShowTWAINDialog_Add, cxShowTWAINDialog, settings::TwainDialogNeed);
}

void TCognitiveRecognitionFM::cxProtocolClick()
{
    // Not stored: the protocol is off again at the next package load.
    gl_Protocol = cxProtocol->isChecked();
}
