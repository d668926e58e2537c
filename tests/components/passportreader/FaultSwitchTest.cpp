// Every fault switch of the stand-in surfaces as an engine failure with a
// message, through the same wrappers the package uses.

#include "EngineFixture.h"

#include <QFile>
#include <QFileInfo>

using namespace abbyytest;

namespace {

class FaultSwitchTest : public EngineTest {};

TEST_F(FaultSwitchTest, InitFails)
{
    IRecognitionEnginePtr engine = CoRecognitionEngine::Create();
    IInitParamsPtr params = CoInitParams::Create();
    SetFaults("init");
    const QString text = ExceptionText([&] { engine->Init(params.get()); });
    EXPECT_TRUE(text.contains(QLatin1String("licence"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("\"init\""))) << text.toStdString();
    EXPECT_FALSE(engine->IsInitialized());
    // The engine object stays usable once the fault is gone.
    SetFaults("");
    EXPECT_TRUE(engine->Init(params.get()));
}

TEST_F(FaultSwitchTest, ScanFailsForBothScanningCalls)
{
    IRecognitionEnginePtr engine = StartedEngine();
    SetFaults("scan");
    EXPECT_TRUE(ExceptionText([&] { engine->Scan(); }).contains(QLatin1String("does not respond")));
    EXPECT_TRUE(ExceptionText([&] { engine->ScanAndRecognize(QStringLiteral("Passport_RU")); }).contains(QLatin1String("\"scan\"")));
    SetFaults("");
    const QString page = engine->Scan();
    EXPECT_TRUE(QFileInfo::exists(page));
    QFile::remove(page);
}

TEST_F(FaultSwitchTest, RecognizeFailsForBothRecognisingCalls)
{
    IRecognitionEnginePtr engine = StartedEngine();
    const QString page = engine->Scan();
    SetFaults("recognize");
    EXPECT_TRUE(ExceptionText([&] { engine->Recognize(page, QStringLiteral("Passport_RU")); }).contains(QLatin1String("\"recognize\"")));
    EXPECT_TRUE(ExceptionText([&] { engine->ScanAndRecognize(QStringLiteral("Passport_RU")); }).contains(QLatin1String("\"recognize\"")));
    QFile::remove(page);
}

TEST_F(FaultSwitchTest, SaveToFailsAndWritesNothing)
{
    IRecognitionEnginePtr engine = StartedEngine();
    IFieldsCollectionPtr fields = engine->ScanAndRecognize(QStringLiteral("Passport_RU"));
    IRecognizedFieldPtr photo = fields->Field(QStringLiteral("Photo"));
    ASSERT_TRUE(photo);
    QTemporaryDir data;
    const QString target = data.filePath(QStringLiteral("Photo.jpg"));
    SetFaults("saveto");
    EXPECT_TRUE(ExceptionText([&] { photo->SaveTo(target, 0); }).contains(QLatin1String("\"saveto\"")));
    EXPECT_FALSE(QFileInfo::exists(target));
    // The rest of the collection still answers.
    EXPECT_TRUE(photo->IsImage());
    SetFaults("");
    photo->SaveTo(target, 0);
    EXPECT_FALSE(DecodeJpeg(target).isNull());
    QFile::remove(fields->GetArray(1, 0)->Value(QStringLiteral("FullImage")));
}

TEST_F(FaultSwitchTest, SettingsDocumentsAndScannersSwitches)
{
    IRecognitionEnginePtr engine = StartedEngine();
    // The feeders and the scanners of the source manager.
    const int attached = engine->ScannersCount();
    ASSERT_GE(attached, 2);
    SetFaults("settings, documents");
    EXPECT_TRUE(ExceptionText([&] { engine->GetScanSettings(); }).contains(QLatin1String("\"settings\"")));
    EXPECT_TRUE(ExceptionText([&] { engine->AllowedDocuments(); }).contains(QLatin1String("\"documents\"")));
    SetFaults("NoScanners");
    EXPECT_EQ(engine->ScannersCount(), 0);
    EXPECT_FALSE(ExceptionText([&] { engine->ScannerName(0); }).isEmpty());
    EXPECT_FALSE(ExceptionText([&] { engine->Scan(); }).isEmpty());
    SetFaults("");
    EXPECT_EQ(engine->ScannersCount(), attached);
    EXPECT_EQ(engine->GetScanSettings()->Count(), 5);
}

} // namespace
