#pragma once
// The camera snapshot window: the operator picks a camera of the host's video
// subsystem (only cameras he has rights on can be used), watches its live
// picture, freezes a frame, may mark a fragment of it with a frame that can
// be dragged and resized, and saves.
//
// The host creates it with TPhotoFromCameraFM_Create (which also sets
// PhotoFromCameraFM), shows it modally (exec() returns 1 for OK, 2 for
// Cancel) and after OK takes the frozen frame from imgPhoto and the fragment
// from imgFramePicture (empty when the frame was not shown at saving). The
// host's services must be installed (InstallHostServices) before creation.
// Every control carries its name as objectName and is a public member of the
// same name.

#include "camera/TFrameGeometry.h"
#include "base/r9Export.h"
#include "host/DVS9r32.h"
#include "host/Kr9rIntf.h"
#include "ui/TFormDialog.h"

#include <QPointer>
#include <QString>
#include <functional>

class QAction;
class QCheckBox;
class QFrame;
class QPushButton;
class QScrollArea;

namespace ui {
class TActionUpdater;
class TCaptionedEdit;
class TPictureBox;
}
namespace camera {
class TCameraPanel;
class TShape;
}

class R9_EXPORT TPhotoFromCameraFM : public ui::TFormDialog
{
    Q_OBJECT
public:
    explicit TPhotoFromCameraFM(QWidget *owner = nullptr);
    ~TPhotoFromCameraFM() override;

    // ---- bottom panel ----------------------------------------------------
    QFrame *pnlButtons;
    ui::TCaptionedEdit *ledCamera;
    QPushButton *bSelectCamera;
    QCheckBox *cxShowFrame;
    QPushButton *bSnapShot;
    QPushButton *bSave;
    QPushButton *bCancel;

    // ---- the picture -----------------------------------------------------
    QScrollArea *ScrollBox1;
    camera::TCameraPanel *pnlCamera;
    ui::TPictureBox *imgPhoto;        // the frozen frame, 1:1
    camera::TShape *spFrame;          // the fragment frame
    camera::TShape *spFrameTop;       // grips on the frame's edges
    camera::TShape *spFrameBottom;
    camera::TShape *spFrameLeft;
    camera::TShape *spFrameRight;
    ui::TPictureBox *imgFramePicture; // hidden: the fragment, filled at saving

    // ---- actions ---------------------------------------------------------
    ui::TActionUpdater *ActionList;
    QAction *acSnapShot;
    QAction *acSave;

    /// The frame's size in the layout, and where it starts on the panel.
    static constexpr QRect FrameLayoutRect{16, 16, 225, 271};

    // ---- window events ---------------------------------------------------
    void FormCreate();
    void FormDestroy();
    void ActionListUpdate();

    // ---- camera, stop frame, fragment ------------------------------------
    void bSelectCameraClick();
    void cxShowFrameClick();
    void acSnapShotExecute();
    void acSaveExecute();

    // ---- dragging the frame and its grips --------------------------------
    void spFrameMouseDown(Qt::MouseButton Button, Qt::MouseButtons Shift, int X, int Y);
    void spFrameMouseMove(Qt::MouseButtons Shift, int X, int Y);
    void spFrameMouseUp(Qt::MouseButton Button, Qt::MouseButtons Shift, int X, int Y);
    void spFrameTopMouseDown(Qt::MouseButton Button, Qt::MouseButtons Shift, int X, int Y);
    void spFrameTopMouseMove(Qt::MouseButtons Shift, int X, int Y);
    void spFrameTopMouseUp(Qt::MouseButton Button, Qt::MouseButtons Shift, int X, int Y);
    void spFrameBottomMouseDown(Qt::MouseButton Button, Qt::MouseButtons Shift, int X, int Y);
    void spFrameBottomMouseMove(Qt::MouseButtons Shift, int X, int Y);
    void spFrameBottomMouseUp(Qt::MouseButton Button, Qt::MouseButtons Shift, int X, int Y);
    void spFrameLeftMouseDown(Qt::MouseButton Button, Qt::MouseButtons Shift, int X, int Y);
    void spFrameLeftMouseMove(Qt::MouseButtons Shift, int X, int Y);
    void spFrameLeftMouseUp(Qt::MouseButton Button, Qt::MouseButtons Shift, int X, int Y);
    void spFrameRightMouseDown(Qt::MouseButton Button, Qt::MouseButtons Shift, int X, int Y);
    void spFrameRightMouseMove(Qt::MouseButtons Shift, int X, int Y);
    void spFrameRightMouseUp(Qt::MouseButton Button, Qt::MouseButtons Shift, int X, int Y);

    // ---- state (read by tests and the host's diagnostics) ----------------
    QString CameraInnerName() const { return FCameraInnerName; }
    QString CameraInnerPath() const { return FCameraInnerPath; }
    host::ISegregateObjectPtr CameraIntf() const { return FCameraIntf; }
    host::TSimpleView *View() const { return FView; }
    int Attributes() const { return FAttributes; }
    /// True while a frame is frozen (imgPhoto shown).
    bool IsFrozen() const;
    /// The frame's rectangle on the picture.
    QRect FrameRect() const;

private:
    void buildLayout();
    /// Rights check: full rights of the user, or a right on the object.
    bool UserHasRights(const host::ISegregateObject *camera) const;
    /// A new view owned by the form, with a configuration manager, parented
    /// and aligned into pnlCamera; no cameras yet.
    void PrepareView();
    /// The live-view recipe: PrepareView, then CreateView on the current camera.
    void MakeLiveView();
    void CreateViewOnCurrentCamera();
    /// The panel fills the scroll box again, imgPhoto hides and the stop
    /// action reads "СТОП-кадр": the frozen frame is left.
    void LeaveFrozenLayout();
    void FitFrameIntoPicture();
    void PlaceGrips();
    /// Shows or hides the four grips; `keep` (the grip being dragged) stays:
    /// a hidden widget loses the pointer, and a grip draws nothing anyway.
    void ShowGrips(bool visible, camera::TShape *keep = nullptr);
    camera::TShape *Grip(camera::TFrameEdge edge) const;
    void GripMouseDown(camera::TFrameEdge edge, int X, int Y);
    void GripMouseMove(camera::TFrameEdge edge, int X, int Y);
    void GripMouseUp(camera::TFrameEdge edge);
    void AttachGripMove(camera::TFrameEdge edge, bool attach);
    void SetScreenCursor(Qt::CursorShape shape);
    void RestoreScreenCursor();

    QString FCameraInnerName;
    QString FCameraInnerPath;
    host::ISegregateObjectPtr FCameraIntf;
    QPointer<host::TSimpleView> FView;
    int FAttributes = 0;
    int FStartXFrame = 0;
    int FStartYFrame = 0;
    int FStartXBorder = 0;
    int FStartYBorder = 0;
    bool m_screenCursorSet = false;
    /// FAttributes holds the stored value, its default or the view's: only
    /// then is it written back.
    bool m_attributesKnown = false;
};

/// Creates the window and stores it in PhotoFromCameraFM.
R9_API TPhotoFromCameraFM *TPhotoFromCameraFM_Create(QWidget *owner);
