#include "HostKitFixture.h"

#include "host/DVS9r32.h"
#include "services/TCameraView.h"
#include "services/TSelCamDialog.h"
#include "services/TSyntheticCamera.h"

#include <QApplication>
#include <QBuffer>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <set>
#include <turbojpeg.h>

namespace {

/// A live view as the camera form makes one: owned by a form, parented and
/// aligned into its panel, with the host's configuration manager.
host::TSimpleView *MakeLiveView(QWidget &panel, const QStringList &cameras, host::TViewAttributes attributes)
{
    host::TSimpleView *view = host::TSimpleView::Create(&panel);
    view->FConfigManager = host::TQ70ConfigManager::Create(false);
    auto *layout = new QVBoxLayout(&panel);
    layout->addWidget(view);
    view->CreateView(cameras, attributes);
    return view;
}

QImage DecodeJpeg(const QByteArray &jpeg)
{
    tjhandle handle = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    QImage image;
    if (tjDecompressHeader3(handle, reinterpret_cast<const unsigned char *>(jpeg.constData()),
                            static_cast<unsigned long>(jpeg.size()), &width, &height, &subsampling, &colorspace) == 0) {
        image = QImage(width, height, QImage::Format_RGB888);
        if (tjDecompress2(handle, reinterpret_cast<const unsigned char *>(jpeg.constData()),
                          static_cast<unsigned long>(jpeg.size()), image.bits(), width,
                          static_cast<int>(image.bytesPerLine()), height, TJPF_RGB, 0) != 0)
            image = QImage();
    }
    tjDestroy(handle);
    return image;
}


} // namespace

using CameraView = HostKitTest;

TEST_F(CameraView, AttributesRoundTripLosslesslyForAllSixtyFourSets)
{
    std::set<int> packed;
    for (int bits = 0; bits < 64; ++bits) {
        host::TViewAttributes set;
        for (int a = 0; a < host::TViewAttributeCount; ++a)
            if (bits & (1 << a))
                set.Include(static_cast<host::TViewAttribute>(a));
        const int value = host::TSchemePersistence::ViewAttributesAsInt(set);
        EXPECT_EQ(host::TSchemePersistence::IntAsViewAttributes(value), set) << bits;
        packed.insert(value);
    }
    EXPECT_EQ(packed.size(), 64u);
    const host::TViewAttributes touchInside{host::vaTouchInside};
    EXPECT_TRUE(touchInside.Contains(host::vaTouchInside));
    EXPECT_FALSE(touchInside.Contains(host::vaStretch));
}

TEST_F(CameraView, SnapshotWritesTheCurrentFrameAsAJpegOfTheFramesSize)
{
    QWidget panel;
    host::TSimpleView *view = MakeLiveView(panel, {QStringLiteral("cam_entrance")},
                                           {host::vaTouchInside, host::vaFlipHorizontal});
    ASSERT_EQ(view->parentWidget(), &panel);
    ASSERT_EQ(view->FLinks.Count(), 1);
    EXPECT_EQ(view->FLinks.GetItem(0)->FAttributes, (host::TViewAttributes{host::vaTouchInside, host::vaFlipHorizontal}));
    EXPECT_THROW(view->FLinks.GetItem(1), std::out_of_range);

    auto *live = static_cast<hostkit::TCameraView *>(view);
    EXPECT_TRUE(live->IsPlaying());
    const QImage frame = live->CurrentFrame(0);
    ASSERT_GE(frame.width(), 640);
    ASSERT_GE(frame.height(), 480);

    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    ASSERT_TRUE(view->Snapshot(QStringLiteral("cam_entrance"), &stream));
    const QImage decoded = DecodeJpeg(stream.data());
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.size(), frame.size());
    // The picture itself, not a flipped or scaled copy of it; JPEG loses a little.
    EXPECT_LT(MeanAbsoluteDifference(decoded, frame), 6.0);
    EXPECT_GT(MeanAbsoluteDifference(decoded, frame.mirrored(true, false)), 20.0);

    // The picture moves: the next frame differs.
    live->Tick();
    EXPECT_NE(live->CurrentFrame(0), frame);

    view->Clear();
    EXPECT_EQ(view->FLinks.Count(), 0);
    EXPECT_FALSE(live->IsPlaying());
    QBuffer after;
    after.open(QIODevice::WriteOnly);
    EXPECT_FALSE(view->Snapshot(QStringLiteral("cam_entrance"), &after));
    EXPECT_TRUE(after.data().isEmpty());
}

TEST_F(CameraView, SnapshotFailsForABrokenCameraAndForCamerasTheViewDoesNotShow)
{
    QWidget panel;
    host::TSimpleView *view = MakeLiveView(
        panel, {QStringLiteral("cam_archive"), QStringLiteral("cam_lobby"), QStringLiteral("cam_unknown")}, {});
    ASSERT_EQ(view->FLinks.Count(), 3);

    QBuffer stream;
    stream.open(QIODevice::WriteOnly);
    EXPECT_FALSE(view->Snapshot(QStringLiteral("cam_archive"), &stream)); // configured to fail
    EXPECT_FALSE(view->Snapshot(QStringLiteral("cam_unknown"), &stream)); // not in the configuration
    EXPECT_FALSE(view->Snapshot(QStringLiteral("cam_parking"), &stream)); // not shown by this view
    EXPECT_TRUE(stream.data().isEmpty());
    EXPECT_FALSE(view->Snapshot(QStringLiteral("cam_lobby"), nullptr));
    QBuffer closed;
    EXPECT_FALSE(view->Snapshot(QStringLiteral("cam_lobby"), &closed));
    EXPECT_TRUE(view->Snapshot(QStringLiteral("cam_lobby"), &stream));

    // A camera made to fail fails in the next view that shows it.
    kit->SetSnapshotFails(QStringLiteral("cam_lobby"), true);
    view->CreateView({QStringLiteral("cam_lobby")}, {});
    QBuffer second;
    second.open(QIODevice::WriteOnly);
    EXPECT_FALSE(view->Snapshot(QStringLiteral("cam_lobby"), &second));
    EXPECT_THROW(kit->SetSnapshotFails(QStringLiteral("cam_gone"), true), std::runtime_error);
}

TEST_F(CameraView, CreateViewWithoutConfigManagerIsAnError)
{
    QWidget panel;
    host::TSimpleView *view = host::TSimpleView::Create(&panel);
    EXPECT_THROW(view->CreateView({QStringLiteral("cam_entrance")}, {}), std::runtime_error);
    EXPECT_EQ(view->FLinks.Count(), 0);
}

TEST_F(CameraView, SelectListsTheCamerasAndCancelGivesNull)
{
    auto answer = [](int row, bool accept) {
        QTimer::singleShot(0, [row, accept] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lbCameras"));
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->count(), 4);
            list->setCurrentRow(row);
            accept ? dialog->accept() : dialog->reject();
        });
    };
    answer(2, true);
    const host::ISegregateObjectPtr chosen = host::TfmSelCam::Select(nullptr, nullptr);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->Get_InnerName(), QStringLiteral("cam_lobby"));

    answer(1, false);
    EXPECT_EQ(host::TfmSelCam::Select(nullptr, nullptr), nullptr);
}
