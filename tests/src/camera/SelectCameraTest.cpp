// Choosing a camera: the host's cameras are enumerated, the two notices when
// there is nothing to choose, the host's dialog, and what a choice with and
// without rights does to the view and the names.
#include "CameraFormFixture.h"

#include "ui/TCaptionedEdit.h"

using namespace r9test;

using SelectCamera = CameraFormTest;

TEST_F(SelectCamera, TheCamerasOfTheWholeConfigurationAreAskedForOnce)
{
    Create();
    host.video.selectAnswer = nullptr;
    form->bSelectCamera->click();
    EXPECT_EQ(host.plugins.calls.mid(0, 3),
              QStringList({"Prepare(1,0,null)", "GetSecuritySystem(1,0)", "GetSecuritySystem(1,0)"}));
    EXPECT_EQ(host.Security().rootCalls, 1);
    ASSERT_EQ(host.Security().enumCalls.size(), 1u);
    const FakeSecurity::EnumCall &call = host.Security().enumCalls[0];
    EXPECT_EQ(call.root, host.Security().root);
    EXPECT_EQ(call.prefixes, QStringLiteral("EmbeddedCamera_;StandaloneCamera_"));
    EXPECT_EQ(call.options, 0x41);
    EXPECT_TRUE(call.listWasEmpty);
    EXPECT_EQ(call.maxCount, -1);
    EXPECT_EQ(call.reserved1, 0);
    EXPECT_EQ(call.reserved2, 0);
    // The host's dialog, with no owner and the host's own security system.
    ASSERT_EQ(host.video.selectCalls.size(), 1u);
    EXPECT_EQ(host.video.selectCalls[0].owner, nullptr);
    EXPECT_EQ(host.video.selectCalls[0].security, nullptr);
}

TEST_F(SelectCamera, NoCamerasAndNoRightsOnAnyAreToldAndNothingChanges)
{
    const struct {
        bool cameras;
        const char *text;
    } cases[] = {
        {false, "Камеры отсутствуют в конфигурации или на них нет прав."},
        {true, "У пользователя системы нет прав на камеры."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        SaveCamera(entrance);
        Create();
        host.Security().cameras = c.cameras ? host::TSegregateObjectList{parking} : host::TSegregateObjectList{};
        host.video.selectCalls.clear();
        const int clears = static_cast<FakeView *>(form->View())->clears;
        boxes.calls.clear();
        form->bSelectCamera->click();
        ASSERT_EQ(boxes.calls.size(), 1u);
        EXPECT_EQ(boxes.calls[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(boxes.calls[0].caption, QStringLiteral("Информация"));
        EXPECT_EQ(boxes.calls[0].icon, QMessageBox::NoIcon);
        EXPECT_EQ(boxes.calls[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_EQ(boxes.calls[0].languageId, 0x19);
        EXPECT_EQ(boxes.calls[0].owner, form);
        EXPECT_TRUE(host.video.selectCalls.empty());
        EXPECT_EQ(form->CameraInnerName(), QStringLiteral("cam_entrance"));
        EXPECT_EQ(static_cast<FakeView *>(form->View())->clears, clears);
        delete form;
        form = nullptr;
        host.Security().cameras = {entrance, parking, archive};
    }
}

TEST_F(SelectCamera, CancellingTheHostsDialogLeavesCameraViewAndNamesAlone)
{
    SaveCamera(entrance);
    Create();
    host::TSimpleView *view = form->View();
    const auto calls = host.video.createViewCalls.size();
    Choose(nullptr);
    EXPECT_EQ(form->View(), view);
    EXPECT_EQ(static_cast<FakeView *>(view)->clears, 0);
    EXPECT_EQ(host.video.createViewCalls.size(), calls);
    EXPECT_EQ(form->CameraIntf(), entrance);
    EXPECT_EQ(form->CameraInnerName(), QStringLiteral("cam_entrance"));
    EXPECT_EQ(form->ledCamera->Text(), QStringLiteral("Проходная"));
}

TEST_F(SelectCamera, ACameraWithoutRightsClearsTheViewAndTheNamesAndSaysSo)
{
    SaveCamera(entrance);
    Create();
    // A fragment frame shown on an earlier frozen frame lies under the view.
    form->cxShowFrame->setChecked(true);
    host::TSimpleView *view = form->View();
    Choose(parking);
    EXPECT_EQ(form->View(), view); // cleared, not freed
    EXPECT_EQ(static_cast<FakeView *>(view)->clears, 1);
    // Nothing covers the notice.
    EXPECT_TRUE(view->isHidden());
    EXPECT_TRUE(form->spFrame->isHidden());
    EXPECT_FALSE(form->cxShowFrame->isChecked());
    EXPECT_EQ(form->CameraIntf(), nullptr);
    EXPECT_TRUE(form->CameraInnerName().isEmpty());
    EXPECT_TRUE(form->CameraInnerPath().isEmpty());
    EXPECT_EQ(form->ledCamera->Text(), QStringLiteral("Автостоянка"));
    EXPECT_EQ(form->pnlCamera->Caption(), QStringLiteral("Нет прав на работу с данной камерой"));
    EXPECT_TRUE(boxes.calls.empty());
    form->ActionListUpdate();
    EXPECT_FALSE(form->acSnapShot->isEnabled());

    // The same view plays the next camera the user may use, shown again.
    Choose(archive);
    EXPECT_EQ(form->View(), view);
    EXPECT_FALSE(view->isHidden());
    ASSERT_FALSE(host.video.createViewCalls.empty());
    EXPECT_TRUE(host.video.createViewCalls.back().visible);
    EXPECT_TRUE(form->pnlCamera->Caption().isEmpty());
    Choose(parking);
    delete form;
    form = nullptr;
    EXPECT_EQ(Saved("CameraInnerName"), QString());
}

TEST_F(SelectCamera, ACameraWithRightsPlaysInANewViewOrInTheClearedOldOne)
{
    Create();
    QString nameAtCreateView;
    host.video.onCreateView = [&](const FakeVideo::CreateViewCall &) { nameAtCreateView = form->ledCamera->Text(); };
    Choose(entrance);
    ASSERT_NE(form->View(), nullptr);
    FakeView *view = static_cast<FakeView *>(form->View());
    EXPECT_EQ(view->clears, 0);
    ASSERT_EQ(host.video.createViewCalls.size(), 1u);
    EXPECT_EQ(host.video.createViewCalls[0].names, QStringList({QStringLiteral("cam_entrance")}));
    EXPECT_EQ(host.video.createViewCalls[0].attributes, host::TViewAttributes{host::vaTouchInside});
    EXPECT_EQ(host.video.createViewCalls[0].parent, form->pnlCamera);
    EXPECT_EQ(host.video.managerModes, std::vector<bool>({false}));
    EXPECT_EQ(nameAtCreateView, QStringLiteral("Проходная"));
    EXPECT_EQ(form->CameraIntf(), entrance);
    EXPECT_EQ(form->CameraInnerPath(), entrance->Get_InnerPath());

    Choose(archive);
    EXPECT_EQ(form->View(), view);
    EXPECT_EQ(view->clears, 1);
    EXPECT_EQ(host.video.owners.size(), 1u);
    ASSERT_EQ(host.video.createViewCalls.size(), 2u);
    EXPECT_EQ(host.video.createViewCalls[1].names, QStringList({QStringLiteral("cam_archive")}));
    EXPECT_EQ(form->ledCamera->Text(), QStringLiteral("Архив"));
    form->ActionListUpdate();
    EXPECT_TRUE(form->acSnapShot->isEnabled());

    delete form;
    form = nullptr;
    EXPECT_EQ(Saved("CameraInnerName"), QStringLiteral("cam_archive"));
    EXPECT_EQ(Saved("CameraInnerPath"), archive->Get_InnerPath());
}

TEST_F(SelectCamera, ACameraChosenOverAFrozenFramePlaysLive)
{
    Create();
    Freeze();
    Choose(archive);
    EXPECT_FALSE(form->IsFrozen());
    EXPECT_NE(form->View(), nullptr);
    EXPECT_EQ(form->bSnapShot->text(), QStringLiteral("СТОП-кадр"));
    EXPECT_TRUE(form->ScrollBox1->widgetResizable());
    form->ActionListUpdate();
    EXPECT_TRUE(form->acSnapShot->isEnabled());
    EXPECT_FALSE(form->acSave->isEnabled());
}

TEST_F(SelectCamera, ACameraWithoutRightsChosenOverAFrozenFrameLeavesTheFrameAndShowsTheNotice)
{
    Create();
    Show();
    Freeze();
    form->cxShowFrame->setChecked(true);
    ASSERT_FALSE(form->spFrame->isHidden());
    Choose(parking);

    // The window names the forbidden camera and shows nothing of the other one.
    EXPECT_FALSE(form->IsFrozen());
    EXPECT_TRUE(form->imgPhoto->isHidden());
    EXPECT_TRUE(form->imgPhoto->Picture().isNull());
    for (camera::TShape *s : {form->spFrame, form->spFrameTop, form->spFrameBottom, form->spFrameLeft, form->spFrameRight})
        EXPECT_TRUE(s->isHidden()) << s->objectName().toStdString();
    EXPECT_FALSE(form->cxShowFrame->isChecked());
    EXPECT_EQ(form->View(), nullptr);
    EXPECT_EQ(form->ledCamera->Text(), QStringLiteral("Автостоянка"));
    EXPECT_EQ(form->pnlCamera->Caption(), QStringLiteral("Нет прав на работу с данной камерой"));
    EXPECT_TRUE(form->ScrollBox1->widgetResizable());
    EXPECT_EQ(form->bSnapShot->text(), QStringLiteral("СТОП-кадр"));

    // Nothing to save and nothing to continue to: no view on an empty name.
    form->ActionListUpdate();
    EXPECT_FALSE(form->acSave->isEnabled());
    EXPECT_FALSE(form->cxShowFrame->isEnabled());
    EXPECT_FALSE(form->acSnapShot->isEnabled());
    const auto views = host.video.createViewCalls.size();
    form->bSnapShot->click();
    form->bSave->click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(host.video.createViewCalls.size(), views);
    EXPECT_EQ(form->pnlCamera->Caption(), QStringLiteral("Нет прав на работу с данной камерой"));

    // A camera with rights plays again, the notice gone.
    Choose(archive);
    EXPECT_NE(form->View(), nullptr);
    EXPECT_TRUE(form->pnlCamera->Caption().isEmpty());
    EXPECT_EQ(host.video.createViewCalls.back().names, QStringList({QStringLiteral("cam_archive")}));
}
