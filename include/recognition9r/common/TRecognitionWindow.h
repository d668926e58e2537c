#pragma once
// What the two recognition windows (passport reader and Scanify) share: the
// outer pages, the scan page with the document picture on the left and the
// two data pages (tsAdd, tsEdit) with "Готово" and "Отмена" on the right, the
// recognition group's common controls, the photo, the copy button, the
// option boxes saved at each click, the date check before closing, the
// enabling of "Готово", and Escape. Each window builds its own controls
// into this frame through the hooks and keeps only what differs.
//
// Every control carries its name as objectName and is a public member of the
// same name; the windows' controls are reached through the derived classes.

#include "common/RecognitionFields.h"
#include "base/r9Export.h"
#include "ui/TFormDialog.h"

#include <QMetaObject>
#include <functional>
#include <optional>
#include <vector>

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
class QVBoxLayout;

namespace settings {
struct TBoolSetting;
}

namespace recognition {
struct TScannerOptionsLayout;
}

namespace ui {
class TActionUpdater;
class TChoiceGroup;
class TPictureBox;
class TTrackSlider;
} // namespace ui

class R9_EXPORT TRecognitionWindow : public ui::TFormDialog, public TResultFieldMembers
{
    Q_OBJECT
public:
    explicit TRecognitionWindow(QWidget *owner = nullptr);

    // ---- outer pages -----------------------------------------------------
    QTabWidget *pgcScanRecognize = nullptr;
    QWidget *tsScanAndRecognize = nullptr;
    QWidget *tsCommonOptions = nullptr;

    // ---- scan page, left: the document picture ---------------------------
    QFrame *pnlScan = nullptr;
    QFrame *pnlPassportScan = nullptr;
    ui::TPictureBox *imgTempRecognize = nullptr; // hidden: the picture as scanned
    ui::TPictureBox *imgWorkRecognize = nullptr; // shown: the document picture
    QFrame *pnlTypeDocument = nullptr;

    // ---- scan page, right ------------------------------------------------
    QFrame *pnlRecognize = nullptr;
    QTabWidget *pgcRecognize = nullptr;
    QWidget *tsAdd = nullptr;
    QWidget *tsEdit = nullptr;
    QFrame *pnlButtons = nullptr;
    QPushButton *bSave = nullptr;
    QPushButton *bCancel = nullptr;

    // ---- tsAdd (the field controls are the inherited members) ------------
    QGroupBox *gbRecognize = nullptr;
    QPushButton *bRecognize = nullptr;
    QCheckBox *cxPhotoToAccoutData = nullptr;
    QCheckBox *cxDocPictureToAccoutData = nullptr;
    QGroupBox *pnlPhoto = nullptr;
    ui::TPictureBox *imgPhoto = nullptr;

    // ---- options page: the scanner options both windows lay out alike ----
    QLabel *laScannerList = nullptr;
    QComboBox *cbScanListForTest = nullptr;
    QPushButton *bScanTest = nullptr;
    QGroupBox *gbScannerOptions = nullptr;
    ui::TPictureBox *imgBrightMin = nullptr;
    ui::TTrackSlider *tbBrightness = nullptr;
    ui::TPictureBox *imgBrightMax = nullptr;
    QLabel *laBrightValue = nullptr;
    ui::TChoiceGroup *rgOrient = nullptr;
    ui::TChoiceGroup *rgColorMode = nullptr;
    QLabel *laPaperSize = nullptr;
    QComboBox *cbPaperSize = nullptr;
    ui::TChoiceGroup *rgRotation = nullptr; // hidden

    // ---- tsEdit ----------------------------------------------------------
    QGroupBox *gbRecognize_2 = nullptr;
    QPushButton *bRecognize_2 = nullptr;
    QCheckBox *cxPhotoToAccoutData_2 = nullptr;
    QCheckBox *cxDocPictureToAccoutData_2 = nullptr;
    QToolButton *sbCopyCurrentData = nullptr;
    QFrame *pnlCurrentData = nullptr; // its title is the first row
    QFrame *pnlRecognizedData = nullptr;

    // ---- actions ---------------------------------------------------------
    ui::TActionUpdater *ActionList = nullptr;
    QAction *acRecognize = nullptr;
    QAction *acScan = nullptr;
    QAction *acSave = nullptr;

    /// The result controls by the shared field table.
    const recognition::TResultFieldSet &Fields() const { return m_fields; }

    // ---- window events and handlers both windows have ---------------------
    /// The date check of the active data page, unless "Отмена" was pressed
    /// or the options page is shown.
    void FormCloseQuery(bool &CanClose) override;
    /// Does nothing itself: bSave closes the window with OK after the date check.
    void acSaveExecute();
    virtual void sbCopyCurrentDataClick() = 0;
    virtual void ActionListUpdate() = 0;
    void bCancelClick();
    void cxPhotoToAccoutDataClick();
    void cxDocPictureToAccoutDataClick();

protected:
    /// Escape presses escapeButton().
    void keyPressEvent(QKeyEvent *event) override;
    /// The button Escape presses: "Отмена".
    virtual QPushButton *escapeButton() const;

    // ---- building, called from the window's constructor, in this order -----
    /// The action list, whose updates run ActionListUpdate.
    void createActionList();
    /// The outer pages on the whole window.
    void buildPageControl();
    /// The scan page; calls buildPictureTop, buildTypeDocument, then
    /// buildAddPage and buildEditPage.
    void buildScanPage();
    /// Above the picture, before the picture controls are made: nothing.
    virtual void buildPictureTop(QVBoxLayout *picture) { (void)picture; }
    /// The panel below the picture (pnlTypeDocument is made).
    virtual void buildTypeDocument() = 0;
    virtual void buildAddPage() = 0;
    virtual void buildEditPage() = 0;

    // ---- pieces of the data pages ----------------------------------------
    /// The scrolling layout of a data page.
    static QVBoxLayout *dataPageLayout(QWidget *page);
    /// The group " Распознавание " of a data page with its "Распознать"
    /// button bound to acRecognize; returns the group's grid.
    QGridLayout *recognizeGroup(QWidget *page, QGroupBox *&group, const char *groupName, QPushButton *&button,
                                const char *buttonName);
    /// pnlPhoto with imgPhoto, in the add page's group.
    void buildPhotoBox();
    /// sbCopyCurrentData ("Копировать") in the edit page's group.
    void buildCopyButton();
    /// The add page below its group: the field grid.
    void finishAddPage(QVBoxLayout *page);
    /// The edit page below its group: current values, copy boxes, recognised values.
    void finishEditPage(QVBoxLayout *page);
    /// The scanner options of the options page (the members above; the box
    /// for the scanner's own dialog when withTwainDialog), not yet placed.
    recognition::TScannerOptionsLayout buildScannerOptions(bool withTwainDialog);

    // ---- state and behaviour ---------------------------------------------
    bool optionsPageShown() const;
    /// The column of the data page shown: tsEdit's recognised values, else tsAdd's.
    recognition::TColumn activeColumn() const;
    /// "Готово" is enabled by the active data page: surname, first name and
    /// number; on tsEdit the copy boxes follow their current values (but
    /// copyExcept's). When "Готово" is enabled it becomes the default button.
    void updateSaveAction(std::optional<recognition::TResultField> copyExcept);
    /// "Готово" becomes the default button instead of "Распознать".
    void preferSave();
    /// The pair of option boxes (tsAdd, tsEdit) shows value.
    static void showOption(QCheckBox *addBox, QCheckBox *editBox, bool value);
    /// An option box clicked: the box of the active data page gives the
    /// global its value, which is written at once.
    void saveOption(QCheckBox *addBox, QCheckBox *editBox, const settings::TBoolSetting &setting);
    /// Connects a box's toggling to a handler until the next disconnectOptions.
    template <class Window>
    void bindOption(QCheckBox *box, void (Window::*handler)());
    /// Drops every binding bindOption made, and binds the photo and picture
    /// boxes of both data pages to their handlers again.
    void rebindOptions();
    void disconnectOptions();

    /// Runs work unless a run started this way is still under way: a run
    /// that lets pending events through (clearing the fields, a scanner's
    /// own loop) must not start a second one from a queued click or Enter.
    void runExclusive(const std::function<void()> &work);

    recognition::TResultFieldSet m_fields;
    /// True once "Отмена" was pressed; reset on every show.
    bool FCancel = false;

private:
    void connectOption(QCheckBox *box, std::function<void()> handler);

    std::vector<QMetaObject::Connection> m_optionConnections;
    bool m_running = false;
};

template <class Window>
void TRecognitionWindow::bindOption(QCheckBox *box, void (Window::*handler)())
{
    Window *window = static_cast<Window *>(this);
    connectOption(box, [window, handler] { (window->*handler)(); });
}
