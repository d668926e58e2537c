#pragma once
// The camera window on the stand-in host: the kit with the operator logged
// in, the camera the selection dialog picks, the snapshot pressed.

#include "camera/engPhotoFromCamera9r_FM.h"
#include "common/engCommon9r.h"
#include "host/HostServices.h"
#include "services/HostKit.h"
#include "services/TCameraView.h"
#include "services/TVideoSubsystem.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QPushButton>
#include <gtest/gtest.h>

class CameraWindowTest : public testing::Test
{
protected:
    void SetUp() override { gl_sRecognizeIniFileName = r9test::TestHome() + QStringLiteral("/Recognize.iniu"); }
    void TearDown() override
    {
        delete form;
        InstallHostServices(nullptr);
        kit.reset();
    }
    static QString DataFolder() { return r9test::TestHome() + QStringLiteral("/data"); }

    /// The kit on the test's data folder with the operator logged in; the
    /// selection dialog answers with the camera named in `choose`.
    void StartKit()
    {
        kit = std::make_unique<hostkit::THostKit>(DataFolder(), QStringLiteral("operator"));
        InstallHostServices(kit->Services());
        kit->Video().SetSelectCameraHook([this](const host::TSegregateObjectList &cameras) {
            listed = static_cast<int>(cameras.size());
            for (const auto &c : cameras)
                if (c->Get_InnerName() == choose)
                    return c;
            return host::ISegregateObjectPtr();
        });
    }
    /// The operator picks the camera; its view, null when none shows.
    hostkit::TCameraView *ChooseCamera(const QString &innerName)
    {
        choose = innerName;
        form->bSelectCamera->click();
        return dynamic_cast<hostkit::TCameraView *>(form->View());
    }
    void PressSnapShot()
    {
        form->ActionListUpdate();
        ASSERT_TRUE(form->acSnapShot->isEnabled());
        form->bSnapShot->click();
    }

    std::unique_ptr<hostkit::THostKit> kit;
    TPhotoFromCameraFM *form = nullptr;
    r9test::MessageBoxRecorder boxes;
    QString choose;
    int listed = 0; ///< cameras the selection dialog offered last
};
