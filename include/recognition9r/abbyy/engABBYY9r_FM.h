#pragma once
// The operator's window for the passport-reader engine: scan an identity
// document, have it recognised, and hand the fields back to the host.
//
// The host creates it with TABBYYRecognitionFM_Create (which also sets
// ABBYYRecognitionFM), fills cbPassportTypes with AddPassportType, selects the
// page tsScanAndRecognize and the sub-page tsAdd or tsEdit (filling the "Curr"
// controls for tsEdit), shows it modally (exec() returns 1 for OK, 2 for
// Cancel) and reads the result controls of the active sub-page, imgPhoto and
// imgWorkRecognize. Every control carries its name as objectName and is a
// public member of the same name.

#include "sdk/ABBYY_PassportReaderSdk_TLB.h"
#include "common/RecognitionFields.h"
#include "common/TCountryInfo.h"
#include "common/TRecognitionWindow.h"
#include "base/r9Export.h"

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QTableView;
class QToolButton;
class TDocumentInfo;

namespace host { class IDataSet; }
namespace ui {
class TActionUpdater;
class TNullableDateEdit;
class TPictureBox;
class TCaptionedEdit;
class TChoiceGroup;
class TTrackSlider;
}

/// The data source between the nationalities grid and the host's data set.
class R9_EXPORT TGridDataSource : public QObject
{
    Q_OBJECT
public:
    explicit TGridDataSource(QObject *parent = nullptr) : QObject(parent) {}
    host::IDataSet *DataSet() const { return m_dataSet; }
    /// Connects the source (and the grids on it) to a data set; null disconnects.
    void SetDataSet(host::IDataSet *dataSet)
    {
        if (dataSet == m_dataSet)
            return;
        m_dataSet = dataSet;
        Q_EMIT dataSetChanged(dataSet);
    }

Q_SIGNALS:
    void dataSetChanged(host::IDataSet *dataSet);

private:
    host::IDataSet *m_dataSet = nullptr;
};

class R9_EXPORT TABBYYRecognitionFM : public TRecognitionWindow
{
    Q_OBJECT
public:
    explicit TABBYYRecognitionFM(QWidget *owner = nullptr);
    ~TABBYYRecognitionFM() override;

    // The pages, the picture, the data pages, "Готово", "Отмена", the
    // recognition groups, the photo, the copy button and the actions are the
    // inherited TRecognitionWindow members; the result controls are its
    // TResultFieldMembers.

    // ---- scan page, below the picture: the document type -----------------
    QComboBox *cbPassportTypes;

    // ---- tsAdd and tsEdit ------------------------------------------------
    QCheckBox *cxFIOInLatin;
    QCheckBox *cxFIOInLatin_2;

    // ---- options page (the scanner options are the inherited members) ---
    QToolButton *sbTurnLeft;  // hidden
    QToolButton *sbTurnRight; // hidden
    QCheckBox *cxShowTwainDialog;
    QLabel *laShowTwainDialog;
    QLabel *laNationNames;
    QTableView *dbgNationlities;
    /// The grid's footer row: the number of countries listed.
    QLabel *dbgNationlitiesFooter;
    QScrollArea *sbScanTest;
    ui::TPictureBox *imgTempTest; // hidden: the test picture as scanned
    ui::TPictureBox *imgWorkTest;
    QPushButton *bCancelOptions;
    QListWidget *ListBox1;       // hidden: scanner settings listing
    QListWidget *ListBox2;       // hidden: recognised fields listing

    // ---- non-visual ------------------------------------------------------
    TGridDataSource *dsNationalities;

    /// The 44 paper sizes of cbPaperSize, in order (the last one is empty).
    static const std::array<const char *, 44> PaperSizes;

    // ---- host helpers ----------------------------------------------------
    /// Adds a document type; the form takes over info and frees it when destroyed.
    void AddPassportType(const QString &caption, TDocumentInfo *info);
    /// The document type of an item; null for an index out of range.
    TDocumentInfo *PassportType(int index) const;
    /// The document type of the selected item; null when none is selected.
    TDocumentInfo *SelectedPassportType() const;

    /// The result controls of one sub-page in a fixed order; on tsEdit the
    /// "Rec" controls, or the "Curr" ones when current is set.
    struct TResultControls
    {
        ui::TCaptionedEdit *LastName, *FirstName, *MiddleName, *PassportNumber, *Sex;
        ui::TNullableDateEdit *DateOfBirth;
        ui::TCaptionedEdit *PlaceOfBirth;
        ui::TNullableDateEdit *DateOfIssue, *DateOfExpiry;
        ui::TCaptionedEdit *IssuedBy, *DepartmentCode, *Nationality;
    };
    TResultControls AddControls() const;
    TResultControls EditControls(bool current) const;
    /// The twelve copy boxes in the order of TResultControls.
    std::array<QCheckBox *, 12> CopyBoxes() const;

    bool IsOptionsPageActive() const;
    bool IsAddPageActive() const;  // scan page with tsAdd
    bool IsEditPageActive() const; // scan page with tsEdit

    /// Hands the option controls to the engine's scanner settings; returns
    /// the adapter's error text (empty on success).
    QString ApplyScannerProps();

    // ---- window events (FormCloseQuery: the shared date check) ----------
    void FormShow() override;
    void FormClose() override;
    void FormDestroy();
    void ActionListUpdate() override;

    // ---- check boxes (the photo and picture boxes: inherited) ------------
    void cxFIOInLatinClick();

    // ---- options page (the scanner options are the inherited members) ---
    void cbScanListForTestChange();
    void bScanTestClick();
    void tbBrightnessChange();
    void imgBrightMinClick();
    void imgBrightMaxClick();
    void sbTurnLeftClick();
    void sbTurnRightClick();
    void NationAfterPost(host::IDataSet *DataSet);

    // ---- scan and recognise (engABBYY9r_FM_Recognize.cpp) ----------------
    /// Scans a picture into imgTempRecognize/imgWorkRecognize and keeps its file in FFileName.
    void acScanExecute();
    /// Recognises FFileName (or scans and recognises) and fills the active sub-page.
    void acRecognizeExecute();
    /// Copies the ticked current values into the "Rec" edits.
    void sbCopyCurrentDataClick() override;
    IFieldsCollectionPtr ScanAndRecognizePassport(const QString &DocumentType);
    void sbTurnLeftWorkClick();
    void sbTurnRightWorkClick();

    /// The last scanned picture file; empty until acScan ran.
    QString FFileName;
    /// True once bCancel was pressed; reset on every show.
    using TRecognitionWindow::FCancel;

protected:
    /// The page's cancel button: "Отмена", or "Закрыть окно" on the options page.
    QPushButton *escapeButton() const override;
    void buildTypeDocument() override;
    void buildAddPage() override;
    void buildEditPage() override;

private:
    /// The group " Распознавание " of a data page: "Распознать" and the three
    /// option boxes, named with suffix.
    QGridLayout *buildRecognizeGroup(QWidget *page, const char *suffix, QGroupBox *&group, QPushButton *&button,
                                     QCheckBox *&photo, QCheckBox *&picture, QCheckBox *&latin);
    void buildOptionsPage();
    void bindNationalities(host::IDataSet *dataSet);
    void connectCheckBoxes();
    void connectScannerList();
    void disconnectScannerList();
    void doScannerChange();

    QMetaObject::Connection m_scannerListConnection;
    bool m_afterPostAttached = false;
};

/// Creates the form and stores it in ABBYYRecognitionFM.
R9_API TABBYYRecognitionFM *TABBYYRecognitionFM_Create(QWidget *owner);
