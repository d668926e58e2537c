// The camera window on the stand-in host: its synthetic cameras, its users'
// rights, the camera that cannot take a snapshot, and the settings carried to
// the next window.
#include "CameraWindowFixture.h"
#include "camera/TCameraPanel.h"
#include "camera/engPhotoFromCamera9r_FM.h"
#include "common/Recognition9r.h"
#include "common/engCommon9r.h"
#include "services/HostKit.h"
#include "services/TCameraView.h"
#include "services/TSecuritySystem.h"
#include "services/TSyntheticCamera.h"
#include "services/TVideoSubsystem.h"
#include "support/TestSupport.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TPictureBox.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class HostKitCamera : public CameraWindowTest
{
protected:
    void SetUp() override
    {
        CameraWindowTest::SetUp();
        StartKit();
    }
    void Choose(const QString &innerName) { ChooseCamera(innerName); }
};

TEST_F(HostKitCamera, TheOperatorFreezesASyntheticCameraAndTheNextWindowComesBackToIt)
{
    form = TPhotoFromCameraFM_Create(nullptr);
    Choose(QStringLiteral("cam_entrance"));
    EXPECT_EQ(listed, 4);
    auto *view = dynamic_cast<hostkit::TCameraView *>(form->View());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsPlaying());
    EXPECT_EQ(form->ledCamera->Text(), QStringLiteral("Проходная"));
    // The operator flips the picture in the view; the next live view keeps it.
    view->FLinks.GetItem(0)->FAttributes.Include(host::vaFlipHorizontal);
    const QImage live = view->CurrentFrame(0);
    PressSnapShot();
    ASSERT_TRUE(form->IsFrozen());
    EXPECT_EQ(form->imgPhoto->Picture().size(),
              QSize(hostkit::TSyntheticCamera::FrameWidth, hostkit::TSyntheticCamera::FrameHeight));
    EXPECT_TRUE(boxes.calls.empty());
    delete form;
    form = nullptr;

    form = TPhotoFromCameraFM_Create(nullptr);
    view = dynamic_cast<hostkit::TCameraView *>(form->View());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(form->ledCamera->Text(), QStringLiteral("Проходная"));
    ASSERT_EQ(view->FLinks.Count(), 1);
    EXPECT_EQ(view->FLinks.GetItem(0)->FInnerName, QStringLiteral("cam_entrance"));
    EXPECT_EQ(view->FLinks.GetItem(0)->FAttributes, (host::TViewAttributes{host::vaTouchInside, host::vaFlipHorizontal}));
    EXPECT_FALSE(live.isNull());
}

TEST_F(HostKitCamera, TheArchiveCameraFailsItsSnapshotAndTheParkingIsNotTheOperators)
{
    form = TPhotoFromCameraFM_Create(nullptr);
    Choose(QStringLiteral("cam_archive"));
    ASSERT_NE(form->View(), nullptr);
    PressSnapShot();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, QStringLiteral("Не удалось получить кадр камеры."));
    EXPECT_FALSE(form->IsFrozen());

    Choose(QStringLiteral("cam_parking"));
    EXPECT_EQ(form->ledCamera->Text(), QStringLiteral("Автостоянка"));
    EXPECT_EQ(form->pnlCamera->Caption(), QStringLiteral("Нет прав на работу с данной камерой"));
    // The cleared view lets the notice below it show.
    ASSERT_NE(form->View(), nullptr);
    EXPECT_EQ(form->View()->FLinks.Count(), 0);
    EXPECT_FALSE(form->View()->testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST_F(HostKitCamera, AGuestHasRightsOnNoCamera)
{
    kit->SetCurrentUser(QStringLiteral("guest"));
    form = TPhotoFromCameraFM_Create(nullptr);
    Choose(QStringLiteral("cam_entrance"));
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, QStringLiteral("У пользователя системы нет прав на камеры."));
    EXPECT_EQ(listed, 0); // the dialog never opened
    EXPECT_EQ(form->View(), nullptr);
}

} // namespace
