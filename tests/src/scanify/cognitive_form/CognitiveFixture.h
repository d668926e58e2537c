#pragma once
// The Scanify recognition window as the host sets it up, against the
// in-process fake of the engine library: engine started, configuration files
// written, settings file and package folder in the test's home.

#include "common/Recognition9r.h"
#include "common/TSettingsFile.h"
#include "common/engCommon9r.h"
#include "ui/TPictureBox.h"
#include "scanify/engCognitive9r_FM.h"
#include "scanify/engUtilsScanify9r.h"
#include "support/FakeScanify.h"
#include "support/LogRecorder.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFrame>
#include <QToolButton>
#include <QImage>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace r9test {

class CognitiveFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        gl_sRecognizeIniFileName = TestHome() + QStringLiteral("/Recognize.iniu");
        gl_PhotoToAccountData = false;
        gl_DocumentToAccountData = false;
        gl_TwainDialogNeed = false;
        gl_SelectScanner = false;
        gl_sScannerName = QStringLiteral("Fake Feeder");
        gl_Protocol = false;
        gl_hScInstance = 0x11;
        gl_hScPackage = 0;
        CreateScApiIniFile();
        packageFolder = TestHome() + QStringLiteral("/package");
        QDir().mkpath(packageFolder);
        fake.packageName = packageFolder.toStdString();
        fake.exportBytes = Jpeg(QSize(60, 40), Qt::darkCyan);
    }

    void TearDown() override
    {
        delete form;
        gl_hScInstance = 0;
        gl_hScPackage = 0;
        gl_Protocol = false;
    }

    static std::string Jpeg(const QSize &size, Qt::GlobalColor color)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG");
        return bytes.toStdString();
    }

    void Create(bool editPage = false)
    {
        form = TCognitiveRecognitionFM_Create(nullptr);
        form->pgcRecognize->setCurrentWidget(editPage ? form->tsEdit : form->tsAdd);
    }

    void Show()
    {
        form->show();
        QApplication::setActiveWindow(form);
    }

    /// A recognised document of form formId with these fields (value, flags).
    void Document(const std::string &formId, std::map<std::string, FakeScanify::Field> fields)
    {
        fake.formId = formId;
        fake.fields = std::move(fields);
        fake.formFields.clear();
        for (const auto &f : fake.fields)
            fake.formFields.push_back(f.first);
    }

    /// A photo file the engine left in the package folder.
    void Photo(const std::string &field, const QString &fileName)
    {
        WriteFile(packageFolder + QLatin1Char('/') + fileName, QByteArray::fromStdString(Jpeg(QSize(20, 30), Qt::red)));
        fake.fields[field] = FakeScanify::Field{fileName.toStdString(), 0};
    }

    TSettingsFile Settings() const { return TSettingsFile(gl_sRecognizeIniFileName); }
    QString DataFile(const char *name) const { return GetUserDataFolder() + QLatin1String(name); }

    FakeScanify fake;
    LogRecorder log;
    MessageBoxRecorder boxes;
    QString packageFolder;
    TCognitiveRecognitionFM *form = nullptr;
};

} // namespace r9test
