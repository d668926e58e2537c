// Layout of the camera snapshot window, its creation and destruction with the
// settings it keeps, the choice of camera, the stop frame and the saving of
// the fragment.
#include "camera/engPhotoFromCamera9r_FM.h"

#include "camera/TCameraPanel.h"
#include "camera/TShape.h"
#include "common/FormSettings.h"
#include "base/PackageTexts.h"
#include "common/Recognition9r.h"
#include "common/TSettingsFile.h"
#include "common/engCommon9r_p.h"
#include "host/Sdlogfile.h"
#include "host/VclVelmar9r32.h"
#include "imaging/JpegImage.h"
#include "ui/TActionUpdater.h"
#include "ui/TBusyGuard.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TMessageBox.h"
#include "ui/TPictureBox.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {

const QString CameraClassPrefixes = QStringLiteral("EmbeddedCamera_;StandaloneCamera_");
/// Whole subtree, cameras of every server.
constexpr std::uint8_t CameraEnumOptions = 0x41;
/// Characters of a camera's display name that stay visible at the smallest size.
constexpr int CameraNameChars = 24;
/// The edit's frame and text margins around the name.
constexpr int CameraNameMargin = 12;
/// Not-xor with this pen flips the top bit of every channel of the picture:
/// each pixel under the frame changes by half the range, on any picture.
const QColor FramePenColor(0x7f, 0x7f, 0x7f);

/// The stored view attributes; none when the key is missing or holds text
/// that is no number by the settings file's integer rule (such text is no
/// choice of the operator's, so the default applies).
std::optional<int> StoredAttributes(const TSettingsFile &ini)
{
    // Read twice with two fallbacks: a stored 0 is a value, a missing key is not.
    const int value = settings::Stored(ini, settings::CameraAttributes, 0);
    if (value != 0 || settings::Stored(ini, settings::CameraAttributes, 1) == 0)
        return value;
    return std::nullopt;
}

template <class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

host::ISecuritySystemPtr RequireSecuritySystem(host::IPluginManager *plugins)
{
    host::ISecuritySystemPtr security = plugins->GetSecuritySystem(true, host::TSecurityOptions{});
    if (!security)
        throw std::runtime_error(QString(texts::HostServiceMissing).arg(texts::SecurityService).toStdString());
    return security;
}

void ShowInformation(QWidget *owner, const ResString *message)
{
    ui::ShowMessageBox(owner, LoadResString(message), LoadResString(&_S_INFORMATION), QMessageBox::NoIcon);
}

} // namespace

TPhotoFromCameraFM::TPhotoFromCameraFM(QWidget *owner)
    : ui::TFormDialog(owner)
{
    setObjectName(QStringLiteral("PhotoFromCameraFM"));
    setWindowTitle(QStringLiteral("Сохранение кадра камеры"));
    buildLayout();
    FormCreate();
}

TPhotoFromCameraFM::~TPhotoFromCameraFM()
{
    FormDestroy();
    RestoreScreenCursor();
    if (PhotoFromCameraFM == this)
        PhotoFromCameraFM = nullptr;
}

void TPhotoFromCameraFM::buildLayout()
{
    ActionList = named(new ui::TActionUpdater(this, [this] { ActionListUpdate(); }), "ActionList");
    acSnapShot = ActionList->AddAction(QStringLiteral("acSnapShot"), QStringLiteral("СТОП-кадр"));
    acSave = ActionList->AddAction(QStringLiteral("acSave"), QStringLiteral("Сохранить"));
    connect(acSnapShot, &QAction::triggered, this, [this] { acSnapShotExecute(); });
    connect(acSave, &QAction::triggered, this, [this] { acSaveExecute(); });

    // The picture: a scroll box around the panel that hosts the live view,
    // the frozen frame and the fragment frame.
    ScrollBox1 = named(new QScrollArea(this), "ScrollBox1");
    ScrollBox1->setWidgetResizable(true);
    pnlCamera = named(new camera::TCameraPanel(), "pnlCamera");
    ScrollBox1->setWidget(pnlCamera);

    imgPhoto = named(new ui::TPictureBox(pnlCamera), "imgPhoto");
    imgPhoto->SetProportional(false);
    imgPhoto->SetStretch(false);
    imgPhoto->SetCenter(false);
    imgPhoto->hide();
    pnlCamera->AlignClient(imgPhoto);

    imgFramePicture = named(new ui::TPictureBox(pnlCamera), "imgFramePicture");
    imgFramePicture->SetProportional(true);
    imgFramePicture->SetStretch(true);
    imgFramePicture->setAttribute(Qt::WA_TranslucentBackground);
    imgFramePicture->hide();

    spFrame = named(new camera::TShape(pnlCamera), "spFrame");
    spFrame->SetPenWidth(camera::FramePenWidth);
    spFrame->setGeometry(FrameLayoutRect);
    spFrame->hide();
    spFrame->OnMouseDown = [this](Qt::MouseButton b, Qt::MouseButtons s, int x, int y) { spFrameMouseDown(b, s, x, y); };
    spFrame->OnMouseUp = [this](Qt::MouseButton b, Qt::MouseButtons s, int x, int y) { spFrameMouseUp(b, s, x, y); };

    auto makeGrip = [this](const char *name, Qt::CursorShape cursor) {
        auto *grip = named(new camera::TShape(pnlCamera), name);
        grip->SetPenWidth(0);
        grip->setCursor(cursor);
        grip->hide();
        return grip;
    };
    spFrameTop = makeGrip("spFrameTop", Qt::SizeVerCursor);
    spFrameBottom = makeGrip("spFrameBottom", Qt::SizeVerCursor);
    spFrameLeft = makeGrip("spFrameLeft", Qt::SizeHorCursor);
    spFrameRight = makeGrip("spFrameRight", Qt::SizeHorCursor);
    using S = TPhotoFromCameraFM;
    const struct {
        camera::TShape *grip;
        void (S::*down)(Qt::MouseButton, Qt::MouseButtons, int, int);
        void (S::*up)(Qt::MouseButton, Qt::MouseButtons, int, int);
    } grips[] = {
        {spFrameTop, &S::spFrameTopMouseDown, &S::spFrameTopMouseUp},
        {spFrameBottom, &S::spFrameBottomMouseDown, &S::spFrameBottomMouseUp},
        {spFrameLeft, &S::spFrameLeftMouseDown, &S::spFrameLeftMouseUp},
        {spFrameRight, &S::spFrameRightMouseDown, &S::spFrameRightMouseUp},
    };
    for (const auto &g : grips) {
        g.grip->OnMouseDown = [this, h = g.down](Qt::MouseButton b, Qt::MouseButtons s, int x, int y) { (this->*h)(b, s, x, y); };
        g.grip->OnMouseUp = [this, h = g.up](Qt::MouseButton b, Qt::MouseButtons s, int x, int y) { (this->*h)(b, s, x, y); };
    }
    for (camera::TFrameEdge edge : {camera::feTop, camera::feBottom, camera::feLeft, camera::feRight})
        Grip(edge)->setGeometry(camera::GripRect(edge, FrameLayoutRect));

    // The bottom panel.
    pnlButtons = named(new QFrame(this), "pnlButtons");
    ledCamera = named(new ui::TCaptionedEdit(QStringLiteral("Камера"), pnlButtons, ui::TCaptionedEdit::LabelLeft),
                      "ledCamera");
    ledCamera->SetReadOnly(true);
    bSelectCamera = named(new QPushButton(QStringLiteral("..."), pnlButtons), "bSelectCamera");
    QFont bold = bSelectCamera->font();
    bold.setBold(true);
    bSelectCamera->setFont(bold);
    bSelectCamera->setFixedWidth(32);
    bSelectCamera->setAutoDefault(false);
    cxShowFrame = named(new QCheckBox(QStringLiteral("Выделить фрагмент"), pnlButtons), "cxShowFrame");
    bSnapShot = named(new QPushButton(pnlButtons), "bSnapShot");
    bSave = named(new QPushButton(pnlButtons), "bSave");
    bCancel = named(new QPushButton(QStringLiteral("Отмена"), pnlButtons), "bCancel");
    for (QPushButton *b : {bSnapShot, bSave, bCancel})
        b->setAutoDefault(false);
    ui::TActionUpdater::BindButton(bSnapShot, acSnapShot);
    ui::TActionUpdater::BindButton(bSave, acSave);
    // After the action: the fragment is cut before the window closes.
    connect(bSave, &QPushButton::clicked, this, [this] { done(1); });
    connect(bCancel, &QPushButton::clicked, this, [this] { done(2); });
    connect(bSelectCamera, &QPushButton::clicked, this, [this] { bSelectCameraClick(); });
    connect(cxShowFrame, &QCheckBox::toggled, this, [this] { cxShowFrameClick(); });

    auto *buttons = new QHBoxLayout(pnlButtons);
    buttons->setContentsMargins(8, 6, 8, 6);
    buttons->addWidget(ledCamera, 1);
    buttons->addWidget(bSelectCamera);
    buttons->addSpacing(12);
    buttons->addWidget(cxShowFrame);
    buttons->addSpacing(12);
    buttons->addWidget(bSnapShot);
    buttons->addWidget(bSave);
    buttons->addWidget(bCancel);

    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(ScrollBox1, 1);
    top->addWidget(pnlButtons);

    // However small the window is made, every caption of the bottom panel
    // and a camera's name stay readable; the stop button is as wide as the
    // longer of its two captions.
    QLineEdit *cameraName = ledCamera->Edit();
    cameraName->setMinimumWidth(
        cameraName->fontMetrics().horizontalAdvance(QString(CameraNameChars, QChar(u'о'))) + CameraNameMargin);
    int snapShotWidth = 0;
    for (const ResString *caption : {&_S_SNAP_SHOT, &_S_CONTINUE_CAMERA}) {
        bSnapShot->setText(LoadResString(caption));
        snapShotWidth = std::max(snapShotWidth, bSnapShot->sizeHint().width());
    }
    bSnapShot->setText(acSnapShot->text());
    bSnapShot->setMinimumWidth(snapShotWidth);
    resize(720, 600);
    setMinimumSize(minimumSizeHint().expandedTo(QSize(480, 320)));
}

bool TPhotoFromCameraFM::UserHasRights(const host::ISegregateObject *camera) const
{
    const host::IUserContextPtr user = host::PluginManager()->GetUserContext();
    return host::UserHasRightsOn(user.get(), camera);
}

void TPhotoFromCameraFM::PrepareView()
{
    FView = host::TSimpleView::Create(this);
    FView->FConfigManager = host::TQ70ConfigManager::Create(false);
    pnlCamera->AlignClient(FView);
    // A view is a window of its own: it covers the pictures and the frame.
    FView->raise();
    FView->show();
}

void TPhotoFromCameraFM::CreateViewOnCurrentCamera()
{
    FView->CreateView({FCameraInnerName}, host::TSchemePersistence::IntAsViewAttributes(FAttributes));
}

void TPhotoFromCameraFM::MakeLiveView()
{
    PrepareView();
    CreateViewOnCurrentCamera();
}

void TPhotoFromCameraFM::FormCreate()
{
    QString failure;
    {
        ui::TBusyGuard busy(nullptr);
        FCameraInnerName.clear();
        FCameraInnerPath.clear();
        FCameraIntf = nullptr;
        try {
            WithRecognizeIniFile([this](TSettingsFile &ini) {
                // Without a saved position the window opens centred on the
                // host's window.
                settings::ReadFormBounds(ini, this, settings::CameraFormBounds);

                FCameraInnerName = settings::Stored(ini, settings::CameraInnerName);
                FCameraInnerPath = settings::Stored(ini, settings::CameraInnerPath);
                // The stored value is read without the host: the default needs
                // its video service, and a default that could not be made must
                // not end up over the stored value at destruction.
                if (const std::optional<int> stored = StoredAttributes(ini))
                    FAttributes = *stored;
                else
                    FAttributes = host::TSchemePersistence::ViewAttributesAsInt({host::vaTouchInside});
                m_attributesKnown = true;

                if (FCameraInnerName.isEmpty() || FCameraInnerPath.isEmpty())
                    return;
                host::IPluginManager *plugins = host::PluginManager();
                plugins->PrepareSecuritySystem(true, host::TSecurityOptions{}, nullptr);
                FCameraIntf = RequireSecuritySystem(plugins)->FindObject(FCameraInnerPath);
                if (!FCameraIntf)
                    return;
                if (!UserHasRights(FCameraIntf.get())) {
                    ledCamera->SetText(FCameraIntf->Get_DisplayName());
                    pnlCamera->SetCaption(LoadResString(&_S_CAMERA_NO_RIGHTS));
                    return;
                }
                PrepareView();
                ledCamera->SetText(FCameraIntf->Get_DisplayName());
                CreateViewOnCurrentCamera();
            });
        } catch (const std::exception &e) {
            failure = QString::fromUtf8(e.what());
        }

        // The frame's move handlers are attached only while a drag runs.
        spFrame->OnMouseMove = nullptr;
        for (camera::TFrameEdge edge : {camera::feTop, camera::feBottom, camera::feLeft, camera::feRight})
            Grip(edge)->OnMouseMove = nullptr;
        spFrame->SetPenColor(FramePenColor);
        spFrame->SetPenMode(camera::TShape::pmNotXor);
        for (camera::TFrameEdge edge : {camera::feTop, camera::feBottom, camera::feLeft, camera::feRight})
            Grip(edge)->SetPenVisible(false);
        PlaceGrips();
    }
    // The window still opens: the operator can choose a camera.
    if (!failure.isEmpty())
        ui::ShowMessageBox(this, failure, LoadResString(&_S_ERROR), QMessageBox::Critical);
}

void TPhotoFromCameraFM::FormDestroy()
{
    try {
        WithRecognizeIniFile([this](TSettingsFile &ini) {
            settings::Write(ini, settings::CameraInnerName, FCameraInnerName);
            settings::Write(ini, settings::CameraInnerPath, FCameraInnerPath);
            if (m_attributesKnown)
                settings::Write(ini, settings::CameraAttributes, FAttributes);
            settings::WriteFormBounds(ini, this, settings::CameraFormBounds);
            ini.UpdateFile();
        });
    } catch (const std::exception &e) {
        // The window is going away: no box any more, but the host hears of it.
        WriteLogFileMessage(QStringLiteral("Сохранение кадра камеры: настройки не записаны: ")
                            + QString::fromUtf8(e.what()));
    }
    delete FView;
    FView = nullptr;
}

void TPhotoFromCameraFM::bSelectCameraClick()
{
    runGuarded([this] {
        host::IPluginManager *plugins = host::PluginManager();
        plugins->PrepareSecuritySystem(true, host::TSecurityOptions{}, nullptr);
        const host::ISegregateObjectPtr root = RequireSecuritySystem(plugins)->Get_ConfigRoot();
        host::TSegregateObjectList cameras;
        RequireSecuritySystem(plugins)->ObjectsEnum(root, CameraClassPrefixes, CameraEnumOptions, cameras, -1, 0, 0);
        if (cameras.empty()) {
            ShowInformation(this, &_S_CAMERAS_NOT_EXISTS);
            return;
        }
        const auto allowed = std::count_if(cameras.begin(), cameras.end(), [this](const host::ISegregateObjectPtr &c) {
            return UserHasRights(c.get());
        });
        if (allowed == 0) {
            ShowInformation(this, &_S_CAMERAS_NO_RIGHTS);
            return;
        }

        const host::ISegregateObjectPtr chosen = host::TfmSelCam::Select(nullptr, nullptr);
        if (!chosen)
            return;
        if (!UserHasRights(chosen.get())) {
            // Nothing of the previous camera stays on screen over the notice,
            // and a frame frozen on it cannot be saved under the name of a
            // camera the user may not use.
            if (FView) {
                FView->Clear();
                FView->hide();
            }
            cxShowFrame->setChecked(false);
            if (IsFrozen()) {
                LeaveFrozenLayout();
                imgPhoto->Clear();
            }
            FCameraIntf = nullptr;
            FCameraInnerName.clear();
            FCameraInnerPath.clear();
            ledCamera->SetText(chosen->Get_DisplayName());
            pnlCamera->SetCaption(LoadResString(&_S_CAMERA_NO_RIGHTS));
            return;
        }

        if (!FView) {
            PrepareView();
        } else {
            FView->Clear();
            FView->show();
        }
        // A camera chosen over a frozen frame plays live: the frozen state
        // has no way back once a view exists beside it.
        if (IsFrozen())
            LeaveFrozenLayout();
        FCameraIntf = chosen;
        FCameraInnerName = chosen->Get_InnerName();
        FCameraInnerPath = chosen->Get_InnerPath();
        ledCamera->SetText(chosen->Get_DisplayName());
        // The notice of a camera chosen before is no longer true.
        pnlCamera->SetCaption(QString());
        CreateViewOnCurrentCamera();
    });
}

bool TPhotoFromCameraFM::IsFrozen() const
{
    return !imgPhoto->isHidden();
}

void TPhotoFromCameraFM::LeaveFrozenLayout()
{
    ScrollBox1->setWidgetResizable(true);
    pnlCamera->Realign();
    acSnapShot->setText(LoadResString(&_S_SNAP_SHOT));
    imgPhoto->hide();
}

void TPhotoFromCameraFM::acSnapShotExecute()
{
    runGuarded([this] {
        if (IsFrozen()) {
            ui::TBusyGuard busy(nullptr);
            MakeLiveView();
            LeaveFrozenLayout();
            return;
        }

        bool frozen = false;
        {
            ui::TBusyGuard busy(nullptr);
            QBuffer stream;
            stream.open(QIODevice::ReadWrite);
            // What the operator set in the view comes back with the live picture.
            if (FView && FView->FLinks.Count() > 0) {
                FAttributes = host::TSchemePersistence::ViewAttributesAsInt(FView->FLinks.GetItem(0)->FAttributes);
                m_attributesKnown = true;
            }
            const QString cameraName = FCameraIntf ? FCameraIntf->Get_InnerName() : FCameraInnerName;
            // Without a view there is no frame to take: told as a failed snapshot.
            if (FView && FView->Snapshot(cameraName, &stream)) {
                // Decoded before the view is cleared: a frame that cannot be
                // read leaves the live picture as a failed snapshot does.
                QImage picture;
                try {
                    picture = imaging::DecodeJpeg(stream.data());
                } catch (const std::exception &e) {
                    WriteLogFileMessage(QStringLiteral("Кадр камеры %1 не прочитан: %2")
                                            .arg(cameraName, QString::fromUtf8(e.what())));
                }
                if (!picture.isNull()) {
                    FView->Clear();
                    imgPhoto->SetPicture(picture);
                    imgPhoto->show();
                    acSnapShot->setText(LoadResString(&_S_CONTINUE_CAMERA));
                    ScrollBox1->setWidgetResizable(false);
                    pnlCamera->resize(picture.size());
                    pnlCamera->Realign();
                    delete FView;
                    FView = nullptr;
                    FitFrameIntoPicture();
                    frozen = true;
                }
            }
        }
        if (!frozen)
            ui::ShowMessageBox(this, LoadResString(&_S_SNAP_SHOT_FAILED), LoadResString(&_S_MESSAGE),
                               QMessageBox::Information);
    });
}

void TPhotoFromCameraFM::ActionListUpdate()
{
    const bool frozen = IsFrozen();
    const bool view = FView != nullptr;
    acSnapShot->setEnabled((view && FCameraIntf && !frozen) || (!view && frozen));
    acSave->setEnabled(frozen);
    cxShowFrame->setEnabled(frozen);
}

void TPhotoFromCameraFM::cxShowFrameClick()
{
    const bool show = cxShowFrame->isChecked();
    spFrame->setVisible(show);
    ShowGrips(show);
}

void TPhotoFromCameraFM::acSaveExecute()
{
    if (spFrame->isHidden())
        return;
    // Pixel for pixel, the frame's border included.
    imgFramePicture->Bitmap() = imgPhoto->Picture().copy(FrameRect());
    imgFramePicture->Invalidate();
}

TPhotoFromCameraFM *TPhotoFromCameraFM_Create(QWidget *owner)
{
    PhotoFromCameraFM = new TPhotoFromCameraFM(owner);
    return PhotoFromCameraFM;
}
