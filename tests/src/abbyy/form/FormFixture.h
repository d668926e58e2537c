#pragma once
// A recognition window as the host sets it up: engine and nationalities
// installed, settings file in the test's home, a document type in the list.

#include "abbyy/engABBYY9r_FM.h"
#include "abbyy/engUtilsABBYY9r.h"
#include "common/Recognition9r.h"
#include "common/engCommon9r.h"
#include "common/TSettingsFile.h"
#include "support/FakeEngine.h"
#include "support/FakeNationalities.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>

namespace r9test {

class FormFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        gl_sRecognizeIniFileName = TestHome() + QStringLiteral("/Recognize.iniu");
        gl_PhotoToAccountData = false;
        gl_DocumentToAccountData = false;
        gl_FIOOnLatin = false;
        gl_ShowTwainSupported = true;
        gl_TwainDialogNeed = false;
        gl_BrightnessSupported = true;
        gl_BrightnessValue = 40;
        gl_OrientSupported = true;
        gl_OrientValue = 0;
        gl_PaperSizeSupported = false;
        gl_PaperSizeIndex = -1;
        gl_ColorModeSupported = true;
        gl_ColorModeValue = 1;
        gl_RotationIndex = 0;
        gl_ScannerItemIndex = 0;
        gl_ScanSettings = nullptr;
        engine = new fake::Engine;
        gl_RecognitionEngine = IRecognitionEnginePtr(engine);
        gl_cdsNationalities = &nationalities;
    }

    void TearDown() override
    {
        delete form;
        gl_cdsNationalities = nullptr;
        gl_RecognitionEngine = nullptr;
        gl_ScanSettings = nullptr;
    }

    /// Creates the window the way the host does; the host leaves it on the options page.
    void Create(bool editPage = false, bool scanPage = true)
    {
        form = TABBYYRecognitionFM_Create(nullptr);
        form->AddPassportType(QStringLiteral("Паспорт РФ"),
                              new TDocumentInfo(QStringLiteral("Passport_RU"), QStringLiteral("Паспорт РФ"),
                                                QStringLiteral("Паспорт"), QStringLiteral("россиянин"), tdPassport, true));
        form->cbPassportTypes->setCurrentIndex(0);
        if (scanPage)
            form->pgcScanRecognize->setCurrentWidget(form->tsScanAndRecognize);
        form->pgcRecognize->setCurrentWidget(editPage ? form->tsEdit : form->tsAdd);
    }

    void Show()
    {
        form->show();
        QApplication::setActiveWindow(form);
    }

    TSettingsFile Settings() const { return TSettingsFile(gl_sRecognizeIniFileName); }

    fake::Engine *engine = nullptr; // owned by gl_RecognitionEngine
    FakeNationalities nationalities;
    TABBYYRecognitionFM *form = nullptr;
    MessageBoxRecorder boxes;
};

} // namespace r9test
