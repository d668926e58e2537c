// Creating the window restores the last camera (when it still exists and the
// user may use it), its view attributes and the window's place; destroying
// it writes them back.
#include "CameraFormFixture.h"

#include "camera/TCameraPanel.h"
#include "ui/TCaptionedEdit.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

using namespace r9test;

using CameraCreate = CameraFormTest;

TEST_F(CameraCreate, FirstUseOpensWithoutCameraAndAskTheHostNothing)
{
    Create();
    EXPECT_TRUE(host.plugins.calls.isEmpty());
    EXPECT_EQ(form->View(), nullptr);
    EXPECT_TRUE(form->ledCamera->Text().isEmpty());
    EXPECT_TRUE(form->pnlCamera->Caption().isEmpty());
    EXPECT_EQ(form->Attributes(), Packed({host::vaTouchInside}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    form->ActionListUpdate();
    EXPECT_FALSE(form->acSnapShot->isEnabled());
    EXPECT_FALSE(form->acSave->isEnabled());
    EXPECT_FALSE(form->cxShowFrame->isEnabled());
    EXPECT_TRUE(boxes.calls.empty());

    delete form;
    form = nullptr;
    EXPECT_EQ(Saved("CameraInnerName"), QString());
    EXPECT_EQ(Saved("CameraInnerPath"), QString());
    EXPECT_EQ(Settings().ReadInteger(QStringLiteral("CAMERA_INFO"), QStringLiteral("Attributes"), -1),
              Packed({host::vaTouchInside}));
}

TEST_F(CameraCreate, SavedCameraWithRightsOpensLiveWithItsAttributes)
{
    const int attributes = Packed({host::vaStretch, host::vaFlipHorizontal});
    SaveCamera(archive, attributes);
    QString nameAtCreateView;
    // The window is still being made: it is reached through the view.
    host.video.onCreateView = [&](const FakeVideo::CreateViewCall &call) {
        nameAtCreateView = qobject_cast<TPhotoFromCameraFM *>(call.view->window())->ledCamera->Text();
    };
    Create();

    EXPECT_EQ(host.plugins.calls, QStringList({"Prepare(1,0,null)", "GetSecuritySystem(1,0)", "GetUserContext"}));
    EXPECT_EQ(host.Security().findCalls, QStringList({archive->Get_InnerPath()}));
    EXPECT_EQ(form->CameraIntf(), archive);
    ASSERT_NE(form->View(), nullptr);
    ASSERT_EQ(host.video.owners.size(), 1u);
    EXPECT_EQ(host.video.owners[0], form);
    EXPECT_EQ(host.video.managerModes, std::vector<bool>({false}));
    ASSERT_EQ(host.video.createViewCalls.size(), 1u);
    const FakeVideo::CreateViewCall &call = host.video.createViewCalls[0];
    EXPECT_EQ(call.names, QStringList({QStringLiteral("cam_archive")}));
    EXPECT_EQ(call.attributes, (host::TViewAttributes{host::vaStretch, host::vaFlipHorizontal}));
    EXPECT_TRUE(call.hadConfigManager);
    EXPECT_EQ(call.parent, form->pnlCamera);
    EXPECT_EQ(nameAtCreateView, QStringLiteral("Архив"));
    EXPECT_TRUE(form->pnlCamera->IsClientAligned(form->View()));
    EXPECT_FALSE(form->View()->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    form->ActionListUpdate();
    EXPECT_TRUE(form->acSnapShot->isEnabled());
    EXPECT_FALSE(form->acSave->isEnabled());
}

TEST_F(CameraCreate, SavedCameraWithoutRightsShowsItsNameAndTheNoRightsNotice)
{
    SaveCamera(parking);
    Create();
    EXPECT_EQ(form->View(), nullptr);
    EXPECT_TRUE(host.video.owners.empty());
    EXPECT_EQ(form->ledCamera->Text(), QStringLiteral("Автостоянка"));
    EXPECT_EQ(form->pnlCamera->Caption(), QStringLiteral("Нет прав на работу с данной камерой"));
    form->ActionListUpdate();
    EXPECT_FALSE(form->acSnapShot->isEnabled());
    delete form;
    form = nullptr;
    EXPECT_EQ(Saved("CameraInnerName"), QStringLiteral("cam_parking"));
    EXPECT_EQ(Saved("CameraInnerPath"), parking->Get_InnerPath());
}

TEST_F(CameraCreate, FullRightsNeedNoPerCameraRight)
{
    host.User().fullRights = true;
    host.User().allowed.clear();
    SaveCamera(parking);
    Create();
    EXPECT_NE(form->View(), nullptr);
    EXPECT_EQ(form->ledCamera->Text(), QStringLiteral("Автостоянка"));
}

TEST_F(CameraCreate, SavedCameraThatIsGoneShowsNothingAndItsNamesAreWrittenBackUnchanged)
{
    SaveCamera(MakeCamera(QStringLiteral("cam_removed"), QStringLiteral("Снятая камера"), 99), 7015);
    Create();
    EXPECT_EQ(host.Security().findCalls, QStringList({QStringLiteral("/video/cam_removed")}));
    EXPECT_EQ(form->View(), nullptr);
    EXPECT_EQ(form->CameraIntf(), nullptr);
    EXPECT_TRUE(form->ledCamera->Text().isEmpty());
    EXPECT_TRUE(form->pnlCamera->Caption().isEmpty());
    delete form;
    form = nullptr;
    EXPECT_EQ(Saved("CameraInnerName"), QStringLiteral("cam_removed"));
    EXPECT_EQ(Saved("CameraInnerPath"), QStringLiteral("/video/cam_removed"));
    EXPECT_EQ(Settings().ReadInteger(QStringLiteral("CAMERA_INFO"), QStringLiteral("Attributes"), -1), 7015);
}

TEST_F(CameraCreate, ANameWithoutAPathIsNoSavedCamera)
{
    TSettingsFile ini(gl_sRecognizeIniFileName);
    ini.WriteString(QStringLiteral("CAMERA_INFO"), QStringLiteral("CameraInnerName"), QStringLiteral("cam_entrance"));
    ini.UpdateFile();
    Create();
    EXPECT_TRUE(host.plugins.calls.isEmpty());
    EXPECT_EQ(form->View(), nullptr);
}

TEST_F(CameraCreate, WindowPlaceIsRestoredAndWrittenBack)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    TSettingsFile ini(gl_sRecognizeIniFileName);
    ini.WriteInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormLeft"), screen.x() + 40);
    ini.WriteInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormTop"), screen.y() + 30);
    // A size that leaves the test's screen room for a frame.
    ini.WriteInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormWidth"), 750);
    ini.WriteInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormHeight"), 450);
    ini.UpdateFile();
    Create();
    EXPECT_EQ(form->size(), QSize(750, 450));
    EXPECT_EQ(form->pos(), QPoint(screen.x() + 40, screen.y() + 30));
    form->resize(760, 540);
    delete form;
    form = nullptr;
    const TSettingsFile saved = Settings();
    EXPECT_EQ(saved.ReadInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormWidth"), -1), 760);
    EXPECT_EQ(saved.ReadInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormHeight"), -1), 540);
    EXPECT_EQ(saved.ReadInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormLeft"), -1), screen.x() + 40);
    EXPECT_EQ(saved.ReadInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormTop"), -1), screen.y() + 30);
}

TEST_F(CameraCreate, AStoredSizeLargerThanTheScreenIsFittedToItAndThePlaceComesBackAtEveryOpening)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    TSettingsFile ini(gl_sRecognizeIniFileName);
    ini.WriteInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormLeft"), screen.x() + 30);
    ini.WriteInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormTop"), screen.y() + 20);
    ini.WriteInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormWidth"), 99999999);
    ini.WriteInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormHeight"), 99999999);
    ini.UpdateFile();
    // The window fills the screen: its frame goes to the screen's corner,
    // and it opens there every time.
    QPoint first;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Create();
        Show();
        EXPECT_TRUE(screen.contains(form->frameGeometry()));
        if (round == 0)
            first = form->geometry().topLeft();
        EXPECT_EQ(form->geometry().topLeft(), first);
        const QSize shown = form->size();
        delete form;
        form = nullptr;
        EXPECT_EQ(Settings().ReadInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormWidth"), -1), shown.width());
        EXPECT_EQ(Settings().ReadInteger(QStringLiteral("CAMERA_FORM"), QStringLiteral("CameraFormHeight"), -1), shown.height());
    }
}

TEST_F(CameraCreate, WithoutAPositionTheWindowIsLeftToBeCentredOnItsOwner)
{
    Create();
    EXPECT_FALSE(form->testAttribute(Qt::WA_Moved));
}

TEST_F(CameraCreate, WithoutTheHostsServicesTheWindowStillOpensAndSaysWhy)
{
    SaveCamera(entrance);
    InstallHostServices(nullptr);
    Create();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.calls[0].owner, form);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // The frame was still set up.
    EXPECT_EQ(form->spFrame->PenMode(), camera::TShape::pmNotXor);
    EXPECT_EQ(form->spFrameLeft->pos(), form->spFrame->pos() + QPoint(0, 4));
}

TEST_F(CameraCreate, WithoutTheHostsVideoTheStoredAttributesAreKeptAndNoDefaultIsInvented)
{
    // With a stored value the host is not needed to read it; without one the
    // default cannot be made, and nothing is written in its place.
    const struct {
        int stored;
        const char *what;
    } cases[] = {{7015, "stored"}, {-1, "not stored"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(gl_sRecognizeIniFileName);
        SaveCamera(entrance, c.stored);
        InstallHostServices(nullptr);
        Create();
        if (c.stored >= 0) {
            EXPECT_EQ(form->Attributes(), c.stored);
        }
        delete form;
        form = nullptr;
        EXPECT_EQ(Settings().ReadInteger(QStringLiteral("CAMERA_INFO"), QStringLiteral("Attributes"), -1), c.stored);
        EXPECT_EQ(Saved("CameraInnerName"), QStringLiteral("cam_entrance"));
        host.Install();
    }
}

TEST_F(CameraCreate, StoredAttributesThatAreNoNumberReadAsTheDefaultAndAreSavedSo)
{
    for (const char *text : {"touch inside", "", "12abc"}) {
        SCOPED_TRACE(text);
        SaveCamera(entrance);
        TSettingsFile ini(gl_sRecognizeIniFileName);
        ini.WriteString(QStringLiteral("CAMERA_INFO"), QStringLiteral("Attributes"), QLatin1String(text));
        ini.UpdateFile();
        Create();
        EXPECT_EQ(form->Attributes(), Packed({host::vaTouchInside}));
        ASSERT_EQ(host.video.createViewCalls.size(), 1u);
        EXPECT_EQ(host.video.createViewCalls[0].attributes, host::TViewAttributes{host::vaTouchInside});
        delete form;
        form = nullptr;
        host.video.createViewCalls.clear();
        EXPECT_EQ(Settings().ReadInteger(QStringLiteral("CAMERA_INFO"), QStringLiteral("Attributes"), -1),
                  Packed({host::vaTouchInside}));
    }
}

TEST_F(CameraCreate, TheNextWindowComesBackOnTheChosenCameraWithTheAttributesSetInTheView)
{
    Create();
    Choose(entrance);
    ASSERT_NE(form->View(), nullptr);
    form->View()->FLinks.GetItem(0)->FAttributes = {host::vaTouchOutside, host::vaFlipVertical};
    PressSnapShot();
    delete form;
    form = nullptr;

    host.video.createViewCalls.clear();
    Create();
    EXPECT_EQ(form->ledCamera->Text(), QStringLiteral("Проходная"));
    EXPECT_EQ(form->CameraInnerName(), QStringLiteral("cam_entrance"));
    EXPECT_EQ(form->CameraInnerPath(), entrance->Get_InnerPath());
    ASSERT_EQ(host.video.createViewCalls.size(), 1u);
    EXPECT_EQ(host.video.createViewCalls[0].names, QStringList({QStringLiteral("cam_entrance")}));
    EXPECT_EQ(host.video.createViewCalls[0].attributes, (host::TViewAttributes{host::vaTouchOutside, host::vaFlipVertical}));
}
