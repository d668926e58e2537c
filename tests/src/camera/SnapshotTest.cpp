// The stop frame: the host's snapshot frozen into imgPhoto, the view's
// attributes carried over to the next live view, the failures, and which
// actions the operator has in each state.
#include "CameraFormFixture.h"

#include <QCheckBox>

using namespace r9test;

using Snapshot = CameraFormTest;

TEST_F(Snapshot, FreezeShowsTheCamerasFrameOneToOneAndContinueComesBackLiveWithTheViewsAttributes)
{
    Create();
    Choose(entrance);
    form->View()->FLinks.GetItem(0)->FAttributes = {host::vaStretch, host::vaFlipVertical};
    PressSnapShot();

    EXPECT_EQ(host.video.snapshotCameras, QStringList({QStringLiteral("cam_entrance")}));
    EXPECT_TRUE(form->IsFrozen());
    EXPECT_FALSE(form->imgPhoto->isHidden());
    const QImage frozen = form->imgPhoto->Picture();
    ASSERT_EQ(frozen.size(), QSize(640, 480));
    EXPECT_LT(MeanDifference(frozen, host.video.frame), 8.0);
    EXPECT_EQ(form->bSnapShot->text(), QStringLiteral("Продолжить"));
    EXPECT_FALSE(form->ScrollBox1->widgetResizable());
    EXPECT_EQ(form->pnlCamera->size(), QSize(640, 480));
    EXPECT_EQ(form->imgPhoto->geometry(), QRect(0, 0, 640, 480));
    EXPECT_EQ(form->View(), nullptr);
    EXPECT_EQ(host.video.liveViews, 0);
    EXPECT_EQ(form->Attributes(), Packed({host::vaStretch, host::vaFlipVertical}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    form->ActionListUpdate();
    EXPECT_TRUE(form->acSnapShot->isEnabled());
    EXPECT_TRUE(form->acSave->isEnabled());
    EXPECT_TRUE(form->cxShowFrame->isEnabled());

    PressSnapShot();
    EXPECT_FALSE(form->IsFrozen());
    ASSERT_NE(form->View(), nullptr);
    EXPECT_EQ(host.video.liveViews, 1);
    ASSERT_EQ(host.video.createViewCalls.size(), 2u);
    EXPECT_EQ(host.video.createViewCalls[1].names, QStringList({QStringLiteral("cam_entrance")}));
    EXPECT_EQ(host.video.createViewCalls[1].attributes, (host::TViewAttributes{host::vaStretch, host::vaFlipVertical}));
    EXPECT_EQ(host.video.managerModes, std::vector<bool>({false, false}));
    EXPECT_EQ(form->bSnapShot->text(), QStringLiteral("СТОП-кадр"));
    EXPECT_TRUE(form->ScrollBox1->widgetResizable());
    EXPECT_EQ(form->View()->geometry(), form->pnlCamera->rect());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    form->ActionListUpdate();
    EXPECT_TRUE(form->acSnapShot->isEnabled());
    EXPECT_FALSE(form->acSave->isEnabled());
    EXPECT_FALSE(form->cxShowFrame->isEnabled());
}

TEST_F(Snapshot, AFailedOrUnreadableSnapshotIsToldWithTheDefaultCursorAndTheLiveViewStays)
{
    const struct {
        const char *what;
        bool fails;
        QByteArray bytes;
    } cases[] = {
        {"the host gives no frame", true, {}},
        {"the frame is no JPEG", false, QByteArray("not a picture at all")},
        {"the JPEG breaks off", false, hostkit::EncodeJpeg(PatternPicture(64, 48)).left(300)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Create();
        Choose(entrance);
        host.video.snapshotFails = c.fails;
        host.video.snapshotBytes = c.bytes;
        FakeView *view = static_cast<FakeView *>(form->View());
        const int clears = view->clears;
        bool busyAtBox = true;
        ui::MessageBoxHook previous = ui::SetMessageBoxHook([&](const ui::MessageBoxCall &call) {
            busyAtBox = QApplication::overrideCursor() != nullptr;
            boxes.calls.push_back(call);
            return QMessageBox::Ok;
        });
        PressSnapShot();
        ui::SetMessageBoxHook(previous);
        ASSERT_EQ(boxes.calls.size(), 1u);
        EXPECT_EQ(boxes.calls[0].text, QStringLiteral("Не удалось получить кадр камеры."));
        EXPECT_EQ(boxes.calls[0].caption, QStringLiteral("Сообщение"));
        EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Information);
        EXPECT_EQ(boxes.calls[0].owner, form);
        EXPECT_FALSE(busyAtBox);
        EXPECT_FALSE(form->IsFrozen());
        EXPECT_EQ(form->View(), view);
        EXPECT_EQ(view->clears, clears);
        EXPECT_EQ(view->FLinks.Count(), 1);
        EXPECT_EQ(form->bSnapShot->text(), QStringLiteral("СТОП-кадр"));
        form->ActionListUpdate();
        EXPECT_TRUE(form->acSnapShot->isEnabled());
        EXPECT_FALSE(form->acSave->isEnabled());
        delete form;
        form = nullptr;
        boxes.calls.clear();
    }
}

TEST_F(Snapshot, TheStopFrameIsOnlyOfferedWithALiveCameraOrOnAFrozenFrame)
{
    Create();
    const auto state = [this] {
        form->ActionListUpdate();
        return std::make_tuple(form->acSnapShot->isEnabled(), form->acSave->isEnabled(), form->cxShowFrame->isEnabled());
    };
    EXPECT_EQ(state(), std::make_tuple(false, false, false)); // no camera
    Choose(entrance);
    EXPECT_EQ(state(), std::make_tuple(true, false, false)); // live
    PressSnapShot();
    EXPECT_EQ(state(), std::make_tuple(true, true, true)); // frozen
    PressSnapShot();
    Choose(parking);
    EXPECT_EQ(state(), std::make_tuple(false, false, false)); // a cleared view, no camera
}

TEST_F(Snapshot, WithoutAViewTheStopFrameCreatesNothingAndSaysTheFrameWasNotTaken)
{
    // A camera without rights leaves no view and no names; the action is
    // disabled then, but a direct call must neither make a view nor freeze.
    Create();
    Choose(parking);
    boxes.calls.clear();
    form->acSnapShotExecute();
    EXPECT_FALSE(form->IsFrozen());
    EXPECT_EQ(form->View(), nullptr);
    EXPECT_TRUE(host.video.createViewCalls.empty());
    EXPECT_TRUE(host.video.snapshotCameras.isEmpty());
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, QStringLiteral("Не удалось получить кадр камеры."));
    EXPECT_EQ(boxes.calls[0].caption, QStringLiteral("Сообщение"));
    EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Information);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
