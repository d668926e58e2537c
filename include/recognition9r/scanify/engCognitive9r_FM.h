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
#include "common/TRecognitionWindow.h"
#include "base/r9Export.h"

#include <QString>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
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

class R9_EXPORT TCognitiveRecognitionFM : public TRecognitionWindow
{
    Q_OBJECT
public:
    explicit TCognitiveRecognitionFM(QWidget *owner = nullptr);
    ~TCognitiveRecognitionFM() override;

    // The pages (the outer tab row is never shown, "Установки" never made
    // visible), the picture, the data pages, "Готово", "Отмена", the
    // recognition groups, the photo, the copy button and the actions are the
    // inherited TRecognitionWindow members; the field controls are its
    // TResultFieldMembers.

    // ---- scan page, on top of the picture: shown for a repeat offer -------
    QFrame *pnlRepeatRecognize;
    QPushButton *bRepeatRecognize;
    QToolButton *sbTurnLeftForRepeat;  // hidden
    QToolButton *sbTurnRightForRepeat; // hidden

    // ---- tsAdd -----------------------------------------------------------
    QLabel *laPhotoToAccoutData;
    QLabel *laDocPictureToAccoutData;
    QCheckBox *cxShowTWAINDialog_Add;
    QCheckBox *cxSelectScanner_Add;
    QCheckBox *cxProtocol;

    // ---- tsEdit ----------------------------------------------------------
    QLabel *laPhotoToAccoutData_2;
    QLabel *laDocPictureToAccoutData_2;
    QCheckBox *cxShowTWAINDialog;
    QCheckBox *cxSelectScanner;

    // ---- the hidden options page (no handlers; the scanner options are
    // the inherited members) ----------------------------------------------
    QPushButton *bCancelOptions;

    // acScan is bound to no control.

    /// Display name of the kind of document recognised last, for the host.
    QString FDocumentName;

    // ---- window events (FormCloseQuery: the shared date check) ----------
    void FormShow() override;
    void FormClose() override;
    /// Invokable by name, for a host that loads the package at run time.
    Q_INVOKABLE void ActionListUpdate() override;

    // ---- handlers (the photo and picture boxes, "Готово", "Отмена": inherited)
    /// "Распознать": a run with "ScApi_270.ini".
    void acRecognizeExecute();
    /// "Распознать повторно": a complete new run with "ScApi_90.ini".
    void bRepeatRecognizeClick();
    void sbCopyCurrentDataClick() override;
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

protected:
    void buildPictureTop(QVBoxLayout *picture) override;
    void buildTypeDocument() override;
    void buildAddPage() override;
    void buildEditPage() override;

private:
    /// The group " Распознавание " of tsAdd or tsEdit: "Распознать" and the
    /// option boxes of that page.
    QGridLayout *buildRecognizeGroup(QWidget *page, bool edit);
    void buildOptionsPage();
    void connectOptionBoxes(bool both);
};

/// Creates the window and stores it in CognitiveRecognitionFM (common/Recognition9r.h).
R9_API TCognitiveRecognitionFM *TCognitiveRecognitionFM_Create(QWidget *owner);
