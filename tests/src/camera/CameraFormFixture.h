#pragma once
// The camera window as the host sets it up: fake host services installed,
// the settings file in the test's home, three cameras in the configuration
// (the user may use two of them).

#include "support/FakeHost.h"
#include "camera/TCameraPanel.h"
#include "camera/TShape.h"
#include "camera/engPhotoFromCamera9r_FM.h"
#include "common/Recognition9r.h"
#include "common/TSettingsFile.h"
#include "common/engCommon9r.h"
#include "support/TestSupport.h"
#include "ui/TPictureBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QScrollArea>
#include <gtest/gtest.h>

namespace r9test {

/// A picture whose every pixel differs from its neighbours, so a shifted or
/// scaled copy never passes for the original.
inline QImage PatternPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 3 + y) & 0xff, (y * 5 + x / 2) & 0xff, ((x / 8) * 40 + (y / 8) * 24) & 0xff));
    return image;
}

/// Mean absolute difference per channel of two pictures of the same size.
inline double MeanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

class CameraFormTest : public testing::Test
{
protected:
    void SetUp() override
    {
        gl_sRecognizeIniFileName = TestHome() + QStringLiteral("/Recognize.iniu");
        host.video.frame = PatternPicture(640, 480);
        host.Security().cameras = {entrance, parking, archive};
        host.User().allowed = {entrance->Get_DbID(), archive->Get_DbID()};
        host.Install();
    }
    void TearDown() override
    {
        delete form;
        EXPECT_EQ(PhotoFromCameraFM, nullptr);
        InstallHostServices(nullptr);
    }

    void Create() { form = TPhotoFromCameraFM_Create(nullptr); }
    void Show()
    {
        form->show();
        QApplication::setActiveWindow(form);
    }
    /// The settings a previous window left behind.
    void SaveCamera(const host::ISegregateObjectPtr &camera, int attributes = -1)
    {
        TSettingsFile ini(gl_sRecognizeIniFileName);
        ini.WriteString(QStringLiteral("CAMERA_INFO"), QStringLiteral("CameraInnerName"), camera->Get_InnerName());
        ini.WriteString(QStringLiteral("CAMERA_INFO"), QStringLiteral("CameraInnerPath"), camera->Get_InnerPath());
        if (attributes >= 0)
            ini.WriteInteger(QStringLiteral("CAMERA_INFO"), QStringLiteral("Attributes"), attributes);
        ini.UpdateFile();
    }
    TSettingsFile Settings() const { return TSettingsFile(gl_sRecognizeIniFileName); }
    QString Saved(const char *key) const
    {
        return Settings().ReadString(QStringLiteral("CAMERA_INFO"), QLatin1String(key), QStringLiteral("<none>"));
    }
    /// Chooses a camera in the host's dialog through the selection button.
    void Choose(const host::ISegregateObjectPtr &camera)
    {
        host.video.selectAnswer = camera;
        form->bSelectCamera->click();
    }
    /// Presses the stop-frame button as the operator does once it is enabled.
    void PressSnapShot()
    {
        form->ActionListUpdate();
        ASSERT_TRUE(form->bSnapShot->isEnabled());
        form->bSnapShot->click();
    }
    /// Live on the entrance camera, then frozen.
    void Freeze()
    {
        Choose(entrance);
        PressSnapShot();
        ASSERT_TRUE(form->IsFrozen());
    }
    int Packed(host::TViewAttributes attributes) { return host.video.ViewAttributesAsInt(attributes); }

    host::ISegregateObjectPtr entrance = MakeCamera(QStringLiteral("cam_entrance"), QStringLiteral("Проходная"), 11);
    host::ISegregateObjectPtr parking = MakeCamera(QStringLiteral("cam_parking"), QStringLiteral("Автостоянка"), 12);
    host::ISegregateObjectPtr archive = MakeCamera(QStringLiteral("cam_archive"), QStringLiteral("Архив"), 14);
    FakeHost host;
    MessageBoxRecorder boxes;
    TPhotoFromCameraFM *form = nullptr;
};

} // namespace r9test
