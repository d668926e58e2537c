#pragma once
// The operator's window for the Scanify engine: scan an identity document,
// have the engine recognise it, correct the fields and hand them to the host.
//
// The host loads and starts the engine (LoadCognitiveDll, InitScanify),
// creates the window with TCognitiveRecognitionFM_Create (which also sets
// CognitiveRecognitionFM), selects the data page tsAdd or tsEdit (filling the
// "Curr" controls for tsEdit), shows it modally (exec() returns 1 for OK, 2
// for Cancel) and reads the field controls of the active data page, imgPhoto,
// imgWorkRecognize and FDocumentName. Every control carries its name as
// objectName and is a public member of the same name.

#include "common/RecognitionFields.h"
#include "common/TCountryInfo.h"
#include "common/r9Export.h"

#include <QDialog>
#include <QMetaObject>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace ui {
class TActionUpdater;
class TChoiceGroup;
class TPictureBox;
class TTrackSlider;
} // namespace ui

class R9_EXPORT TCognitiveRecognitionFM : public QDialog, public TResultFieldMembers
{
    Q_OBJECT
public:
    explicit TCognitiveRecognitionFM(QWidget *owner = nullptr);
    ~TCognitiveRecognitionFM() override;

    // ---- outer pages (the tab row is never shown) -------------------------
    QTabWidget *pgcScanRecognize;
    QWidget *tsScanAndRecognize;
    QWidget *tsCommonOptions; // "Установки", never made visible

    // ---- scan page, left: the scanned page -------------------------------
    QFrame *pnlScan;
    QFrame *pnlPassportScan;
    ui::TPictureBox *imgWorkRecognize;
    ui::TPictureBox *imgTempRecognize; // hidden
    QFrame *pnlRepeatRecognize;         // on top of the picture, shown for a repeat offer
    QPushButton *bRepeatRecognize;
    QToolButton *sbTurnLeftForRepeat;  // hidden
    QToolButton *sbTurnRightForRepeat; // hidden
    QFrame *pnlTypeDocument;

    // ---- scan page, right ------------------------------------------------
    QFrame *pnlRecognize;
    QTabWidget *pgcRecognize;
    QWidget *tsAdd;
    QWidget *tsEdit;
    QFrame *pnlButtons;
    QPushButton *bSave;
    QPushButton *bCancel;

    // ---- tsAdd (the field controls are the inherited members) ------------
    QGroupBox *gbRecognize;
    QPushButton *bRecognize;
    QCheckBox *cxPhotoToAccoutData;
    QLabel *laPhotoToAccoutData;
    QCheckBox *cxDocPictureToAccoutData;
    QLabel *laDocPictureToAccoutData;
    QGroupBox *pnlPhoto;
    ui::TPictureBox *imgPhoto;
    QCheckBox *cxShowTWAINDialog_Add;
    QCheckBox *cxSelectScanner_Add;
    QCheckBox *cxProtocol;

    // ---- tsEdit ----------------------------------------------------------
    QGroupBox *gbRecognize_2;
    QPushButton *bRecognize_2;
    QCheckBox *cxPhotoToAccoutData_2;
    QLabel *laPhotoToAccoutData_2;
    QCheckBox *cxDocPictureToAccoutData_2;
    QLabel *laDocPictureToAccoutData_2;
    QCheckBox *cxShowTWAINDialog;
    QCheckBox *cxSelectScanner;
    QToolButton *sbCopyCurrentData;
    QFrame *pnlCurrentData;
    QFrame *pnlRecognizedData;

    // ---- the hidden options page (no handlers) ---------------------------
    QComboBox *cbScanListForTest;
    QPushButton *bScanTest;
    ui::TTrackSlider *tbBrightness;
    QComboBox *cbPaperSize;
    ui::TChoiceGroup *rgOrient;
    ui::TChoiceGroup *rgColorMode;
    ui::TChoiceGroup *rgRotation;
    QPushButton *bCancelOptions;

    // ---- actions ---------------------------------------------------------
    ui::TActionUpdater *ActionList;
    QAction *acRecognize;
    QAction *acSave;
    QAction *acScan; // bound to no control

    /// Display name of the kind of document recognised last, for the host.
    QString FDocumentName;

    /// The field controls by the shared field table.
    const recognition::TResultFieldSet &Fields() const { return m_fields; }

    // ---- window events ---------------------------------------------------
    void FormShow();
    void FormClose();
    void FormCloseQuery(bool &CanClose);
    /// Invokable by name, for a host that loads the package at run time.
    Q_INVOKABLE void ActionListUpdate();

    // ---- handlers ----------------------------------------------------------
    /// "Распознать": a run with "ScApi_270.ini".
    void acRecognizeExecute();
    /// Does nothing itself: bSave closes the form with OK after the date check.
    void acSaveExecute();
    /// "Распознать повторно": a complete new run with "ScApi_90.ini".
    void bRepeatRecognizeClick();
    void bCancelClick();
    void sbCopyCurrentDataClick();
    void cxPhotoToAccoutDataClick();
    void cxDocPictureToAccoutDataClick();
    void cxSelectScanner_AddClick();
    void cxShowTWAINDialog_AddClick();
    void cxProtocolClick();

    /// Empties the fields of the active data page and resets their marking.
    void ClearControls();

    /// One complete run: configuration AScApiIniFileName (a bare name in the
    /// per-user data folder), a new package, a scan, recognition, the fields
    /// of the first document into the active data page. Every outcome is
    /// shown to the operator; an exception (a picture file that cannot be
    /// loaded) propagates after the form is enabled again, the scanner closed
    /// and the cursor restored.
    void ScanAndRecognize(const QString &AScApiIniFileName);

    /// Whether the cancel button was pressed since the last show.
    bool Cancelled() const { return FCancel; }

public Q_SLOTS:
    /// Runs the close check and FormClose; a refused check keeps the form open.
    void done(int result) override;
    /// The window's close button: Cancel (2), with the date check.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    /// Escape presses "Отмена".
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildScanPage();
    void buildAddPage();
    void buildEditPage();
    void buildOptionsPage();
    void connectOptionBoxes(bool both);
    void disconnectOptionBoxes();
    recognition::TColumn activeColumn(bool *dataPage) const;
    void runGuarded(const std::function<void()> &work);

    recognition::TResultFieldSet m_fields;
    std::vector<QMetaObject::Connection> m_optionConnections;
    bool FCancel = false;
};

/// Creates the window and stores it in CognitiveRecognitionFM (common/Recognition9r.h).
R9_API TCognitiveRecognitionFM *TCognitiveRecognitionFM_Create(QWidget *owner);
