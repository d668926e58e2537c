// Showing and closing the Scanify recognition window, the options saved at
// each click, the date check before it closes, and the enabling of actions.
#include "scanify/engCognitive9r_FM.h"

#include "common/FieldOutcome.h"
#include "common/FormSettings.h"
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

namespace {

const QString ScanInfo = QStringLiteral("SCAN_INFO");
const QString ScannerName = QStringLiteral("ScannerName");

} // namespace

TCognitiveRecognitionFM::~TCognitiveRecognitionFM()
{
    if (CognitiveRecognitionFM == this)
        CognitiveRecognitionFM = nullptr;
}

void TCognitiveRecognitionFM::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TCognitiveRecognitionFM::done(int result)
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

void TCognitiveRecognitionFM::reject()
{
    done(2);
}

void TCognitiveRecognitionFM::keyPressEvent(QKeyEvent *event)
{
    // Escape is "Отмена": the window closes whatever the dates say.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        bCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TCognitiveRecognitionFM::runGuarded(const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::exception &e) {
        ui::ShowMessageBox(this, QString::fromUtf8(e.what()), LoadResString(&_S_ERROR), QMessageBox::Critical);
    }
}

void TCognitiveRecognitionFM::connectOptionBoxes(bool both)
{
    disconnectOptionBoxes();
    auto bind = [this](QCheckBox *box, void (TCognitiveRecognitionFM::*handler)()) {
        m_optionConnections.push_back(connect(box, &QCheckBox::toggled, this, [this, handler] { (this->*handler)(); }));
    };
    bind(cxPhotoToAccoutData, &TCognitiveRecognitionFM::cxPhotoToAccoutDataClick);
    bind(cxPhotoToAccoutData_2, &TCognitiveRecognitionFM::cxPhotoToAccoutDataClick);
    bind(cxDocPictureToAccoutData, &TCognitiveRecognitionFM::cxDocPictureToAccoutDataClick);
    bind(cxDocPictureToAccoutData_2, &TCognitiveRecognitionFM::cxDocPictureToAccoutDataClick);
    bind(cxSelectScanner_Add, &TCognitiveRecognitionFM::cxSelectScanner_AddClick);
    bind(cxSelectScanner, &TCognitiveRecognitionFM::cxSelectScanner_AddClick);
    bind(cxShowTWAINDialog_Add, &TCognitiveRecognitionFM::cxShowTWAINDialog_AddClick);
    if (both)
        bind(cxShowTWAINDialog, &TCognitiveRecognitionFM::cxShowTWAINDialog_AddClick);
}

void TCognitiveRecognitionFM::disconnectOptionBoxes()
{
    for (const QMetaObject::Connection &c : m_optionConnections)
        disconnect(c);
    m_optionConnections.clear();
}

TColumn TCognitiveRecognitionFM::activeColumn(bool *dataPage) const
{
    *dataPage = pgcRecognize->currentWidget() == tsAdd || pgcRecognize->currentWidget() == tsEdit;
    return pgcRecognize->currentWidget() == tsEdit ? TColumn::Recognized : TColumn::Add;
}

void TCognitiveRecognitionFM::FormShow()
{
    // Setting the boxes from the settings must not write them back.
    disconnectOptionBoxes();
    try {
        WithRecognizeIniFile([&](TSettingsFile &ini) {
            settings::ReadFormBounds(ini, this);
            // The operator never switches between tsAdd and tsEdit: the tab
            // row is pushed out of sight, 25 pixels at every show.
            pgcRecognize->tabBar()->hide();
            pgcRecognize->setMinimumHeight(pgcRecognize->minimumHeight() + 25);
            cxPhotoToAccoutData->setChecked(gl_PhotoToAccountData);
            cxPhotoToAccoutData_2->setChecked(gl_PhotoToAccountData);
            cxDocPictureToAccoutData->setChecked(gl_DocumentToAccountData);
            cxDocPictureToAccoutData_2->setChecked(gl_DocumentToAccountData);
            cxShowTWAINDialog_Add->setChecked(gl_TwainDialogNeed);
            cxShowTWAINDialog->setChecked(gl_TwainDialogNeed);
            cxSelectScanner_Add->setChecked(gl_SelectScanner);
            cxSelectScanner->setChecked(gl_SelectScanner);
            gl_sScannerName = ini.ReadString(ScanInfo, ScannerName, QString());
        });
    } catch (const std::exception &e) {
        ui::ShowMessageBox(this,
                           QStringLiteral("Не удалось восстановить настройки окна.") + QStringLiteral("\r\r")
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
            ini.WriteString(ScanInfo, ScannerName, gl_sScannerName);
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

void TCognitiveRecognitionFM::FormCloseQuery(bool &CanClose)
{
    if (pgcScanRecognize->currentWidget() == tsCommonOptions || FCancel)
        return;
    bool dataPage = false;
    const TColumn column = activeColumn(&dataPage);
    if (dataPage && !m_fields.ConfirmDateOrder(this, column))
        CanClose = false;
}

void TCognitiveRecognitionFM::ClearControls()
{
    bool dataPage = false;
    const TColumn column = activeColumn(&dataPage);
    if (!dataPage)
        return;
    // A hint left from the last run would describe a value that is gone.
    m_fields.ClearMarking(column, recognition::TMarking::Background);
    m_fields.ClearColumn(column);
    QApplication::processEvents();
}

void TCognitiveRecognitionFM::ActionListUpdate()
{
    if (pgcScanRecognize->currentWidget() == tsCommonOptions) {
        acSave->setEnabled(false);
        return;
    }
    bool dataPage = false;
    const TColumn column = activeColumn(&dataPage);
    if (dataPage) {
        acSave->setEnabled(m_fields.HasNameAndNumber(column));
        if (column == TColumn::Recognized)
            m_fields.UpdateCopyBoxes(recognition::rfNationality);
    }
    if (acSave->isEnabled()) {
        bRecognize->setDefault(false);
        bSave->setDefault(true);
    }
}

void TCognitiveRecognitionFM::sbCopyCurrentDataClick()
{
    m_fields.CopyCurrentValues(recognition::rfNationality);
    if (cxCopyIssueBy->isChecked())
        ledIssuedByRec->SetHint(ledIssuedByRec->Text());
}

void TCognitiveRecognitionFM::acSaveExecute()
{
    // Nothing to do: bSave closes the window with OK after the date check.
}

void TCognitiveRecognitionFM::bCancelClick()
{
    FCancel = true;
}

namespace {

/// Copy boxes are bound here as well: the box of the active page decides.
template <class Form>
void saveBox(Form *f, QCheckBox *addBox, QCheckBox *editBox, const settings::TBoolSetting &setting)
{
    settings::SaveOptionBox(f->pgcRecognize, f->tsAdd, f->tsEdit, addBox, editBox, setting);
}

} // namespace

void TCognitiveRecognitionFM::cxPhotoToAccoutDataClick()
{
    runGuarded([this] { saveBox(this, cxPhotoToAccoutData, cxPhotoToAccoutData_2, settings::RecognizePhoto); });
}

void TCognitiveRecognitionFM::cxDocPictureToAccoutDataClick()
{
    runGuarded([this] {
        saveBox(this, cxDocPictureToAccoutData, cxDocPictureToAccoutData_2, settings::RecognizeDocument);
    });
}

void TCognitiveRecognitionFM::cxSelectScanner_AddClick()
{
    runGuarded([this] { saveBox(this, cxSelectScanner_Add, cxSelectScanner, settings::SelectScanner); });
}

void TCognitiveRecognitionFM::cxShowTWAINDialog_AddClick()
{
    runGuarded([this] { saveBox(this, cxShowTWAINDialog_Add, cxShowTWAINDialog, settings::TwainDialogNeed); });
}

void TCognitiveRecognitionFM::cxProtocolClick()
{
    // Not stored: the protocol is off again at the next package load.
    gl_Protocol = cxProtocol->isChecked();
}
