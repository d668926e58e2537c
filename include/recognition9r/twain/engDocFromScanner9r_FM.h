#pragma once
// The document-picture window: scan a paper document over TWAIN without any
// recognition, turn it by quarter turns, and hand the picture to the host.
//
// The host creates it with TDocFromScannerFM_Create (which also sets
// DocFromScannerFM), shows it modally (exec() returns 1 after "Сохранить",
// 2 after "Отмена" or closing) and reads the picture of imgWorkTest: an
// ordinary 32-bit picture, turned as the operator chose, empty when nothing
// was scanned. Every control carries its name as objectName and is a public
// member of the same name.

#include "base/r9Export.h"
#include "twain/MultiTWAIN.h"
#include "ui/TFormDialog.h"

#include <QImage>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace ui {
class TActionUpdater;
class TPictureBox;
}

/// The calls the window makes into the TWAIN layer. They are the layer's own
/// functions; tests put fakes in their place.
struct R9_EXPORT TDocScannerCalls
{
    TWAIN_BOOL (*SelectImageSource)(TWAIN_HWND hwnd);
    void (*SetHideUI)(int32_t fHide);
    TWAIN_HDIB (*AcquireNative)(TWAIN_HWND hwnd, int32_t nPixTypes);
    void (*FreeNative)(TWAIN_HDIB hdib);
    int32_t (*GetNumDibs)(void);
    TWAIN_HDIB (*GetDib)(int32_t index);
    void (*ClearDibList)(void);
    int32_t (*DibWidth)(TWAIN_HDIB hdib);
    int32_t (*DibHeight)(TWAIN_HDIB hdib);
    TWAIN_HPALETTE (*CreateDibPalette)(TWAIN_HDIB hdib);
    void (*DeletePalette)(TWAIN_HPALETTE hpal);
    void (*DrawDibToDC)(TWAIN_HDC hDC, int32_t dx, int32_t dy, int32_t w, int32_t h, TWAIN_HDIB hdib,
                        int32_t sx, int32_t sy);
    /// True when the whole DIB (header, colours, pixel rows) lies in its
    /// block, so drawing it gives its picture and not a blank page.
    bool (*DibIsDrawable)(TWAIN_HDIB hdib);

    /// The layer's functions.
    static TDocScannerCalls Layer();
};

class R9_EXPORT TDocFromScannerFM : public ui::TFormDialog
{
    Q_OBJECT
public:
    explicit TDocFromScannerFM(QWidget *owner = nullptr);
    ~TDocFromScannerFM() override;

    QPushButton *bScanTest;
    QToolButton *sbTurnLeft;
    QToolButton *sbTurnRight;
    QCheckBox *cxShowScanerList;
    QLabel *laShowScanerList;
    QScrollArea *sbScanTest;
    ui::TPictureBox *imgTempTest; // hidden: the picture as scanned; Tag = rotation index
    ui::TPictureBox *imgWorkTest; // shown and handed back: the turned copy
    QFrame *pnlButtons;
    QPushButton *bSave;
    QPushButton *bCancel;
    ui::TActionUpdater *ActionList;
    QAction *acSave;

    void FormShow() override;
    /// Closing by any way writes the window's settings.
    void FormClose() override;
    void bScanTestClick();
    void sbTurnLeftClick();
    void sbTurnRightClick();
    void acSaveExecute();
    void ActionListUpdate();

    /// The window's calls into the TWAIN layer (the layer itself unless a test replaced them).
    TDocScannerCalls Calls = TDocScannerCalls::Layer();

private:
    /// Draws the DIB into TempBitmap; false when no bitmap of its size could be made.
    bool drawIntoTempBitmap(TWAIN_HDIB dib);
    /// Frees the pages delivered before the last one and empties the layer's list.
    void releaseEarlierPages(TWAIN_HDIB kept);
    void freeTempBitmap();
    /// A bitmap of w x h for the next page: the spare when it fits, else a
    /// new one.
    QImage takeSpareBitmap(int w, int h);

    /// Every scan is drawn here first, then copied into both images. Exists
    /// while the window is shown.
    QImage *TempBitmap = nullptr;
    /// The bitmap of the page before the last, kept for the next page of
    /// its size: memory already in use is filled without the system
    /// clearing a fresh page's worth first.
    QImage m_spareBitmap;
    /// The palette TempBitmap took over from the last DIB.
    TWAIN_HPALETTE m_palette = nullptr;
};

/// Creates the form and stores it in DocFromScannerFM.
R9_API TDocFromScannerFM *TDocFromScannerFM_Create(QWidget *owner);
