// The factories find the server as the package does and turn every way of
// failing into an EEngineError with a message.

#include "EngineFixture.h"

#include "sdk/PassportReaderServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

using namespace abbyytest;

namespace {

class FactoryTest : public EngineTest {};

constexpr GUID kUnknownClass = {0x12345678, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};

TEST_F(FactoryTest, CreatesBothClassesFromTheServerNextToTheExecutable)
{
    IRecognitionEnginePtr engine = CoRecognitionEngine::Create();
    ASSERT_TRUE(engine);
    EXPECT_FALSE(engine->IsInitialized());
    IInitParamsPtr params = CoInitParams::Create();
    ASSERT_TRUE(params);
    EXPECT_TRUE(engine->Init(params.get()));
    EXPECT_TRUE(engine->IsInitialized());
    engine->Close();
    EXPECT_FALSE(engine->IsInitialized());

    // Reference counting across the boundary: a query adds one, release drops it.
    void *again = nullptr;
    ASSERT_EQ(engine->QueryInterface(IID_IRecognitionEngine, &again), S_OK);
    EXPECT_EQ(again, static_cast<void *>(engine.get()));
    static_cast<IRecognitionEngine *>(again)->Release();
    EXPECT_EQ(engine->QueryInterface(IID_IInitParams, &again), E_NOINTERFACE);
    EXPECT_EQ(again, nullptr);
}

TEST_F(FactoryTest, RemoteCreationIsNotSupported)
{
    const QString engineText = ExceptionText([] { CoRecognitionEngine::CreateRemote(QStringLiteral("scanhost")); });
    EXPECT_TRUE(engineText.contains(QLatin1String("not supported"))) << engineText.toStdString();
    const QString paramsText = ExceptionText([] { CoInitParams::CreateRemote(QStringLiteral("scanhost")); });
    EXPECT_TRUE(paramsText.contains(QLatin1String("not supported"))) << paramsText.toStdString();
}

TEST_F(FactoryTest, MissingServerLibraryGivesTheLoaderText)
{
    try {
        abbyy::server::CreateObject(QStringLiteral("libpassportreader-absent.so"), CLASS_RecognitionEngine, IID_IRecognitionEngine);
        FAIL() << "no exception";
    } catch (const EEngineError &e) {
        EXPECT_TRUE(e.Message().contains(QLatin1String("libpassportreader-absent.so"))) << e.what();
        EXPECT_TRUE(e.Message().contains(QLatin1String("cannot open shared object file"))) << e.what();
        EXPECT_TRUE(FAILED(e.ErrorCode()));
    }
}

TEST_F(FactoryTest, BrokenLibraryInTheExecutableFolderIsReportedBeforeTheSearchPath)
{
    const QString broken = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("libr9-broken-server-test.so"));
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not a shared library");
    }
    const QString text = ExceptionText([] {
        abbyy::server::CreateObject(QStringLiteral("libr9-broken-server-test.so"), CLASS_RecognitionEngine, IID_IRecognitionEngine);
    });
    QFile::remove(broken);
    EXPECT_TRUE(text.contains(broken)) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1String("cannot open shared object file"))) << text.toStdString();
}

TEST_F(FactoryTest, LibraryWithoutTheEntryPointIsRefused)
{
    // A real shared library of the system that is no engine server.
    const QString text = ExceptionText([] {
        abbyy::server::CreateObject(QStringLiteral("libturbojpeg.so.0"), CLASS_RecognitionEngine, IID_IRecognitionEngine);
    });
    EXPECT_TRUE(text.contains(QLatin1String("DllGetClassObject"))) << text.toStdString();
}

TEST_F(FactoryTest, UnknownClassIsRefusedWithItsIdentifier)
{
    try {
        abbyy::server::CreateObject(QString::fromLatin1(PassportReaderServerLibrary), kUnknownClass, IID_IUnknown);
        FAIL() << "no exception";
    } catch (const EEngineError &e) {
        EXPECT_EQ(e.ErrorCode(), CLASS_E_CLASSNOTAVAILABLE);
        EXPECT_TRUE(e.Message().contains(QLatin1String("{12345678-1111-2222-3333-444455556666}"))) << e.what();
    }
    // A known class asked for an interface it does not have.
    const QString text = ExceptionText([] {
        abbyy::server::CreateObject(QString::fromLatin1(PassportReaderServerLibrary), CLASS_InitParams, IID_IRecognitionEngine);
    });
    EXPECT_FALSE(text.isEmpty());
}

TEST_F(FactoryTest, EngineClassSwitchedOffIsAnExceptionNotACrash)
{
    SetFaults("noclass");
    try {
        CoRecognitionEngine::Create();
        FAIL() << "no exception";
    } catch (const EEngineError &e) {
        EXPECT_EQ(e.ErrorCode(), CLASS_E_CLASSNOTAVAILABLE);
        EXPECT_TRUE(e.Message().contains(QLatin1String("{704DF5E2-EAFC-4097-BC5A-BDA752A33122}"))) << e.what();
    }
    // Only the engine class is affected.
    EXPECT_TRUE(CoInitParams::Create());
}

TEST_F(FactoryTest, EngineNeedsInitBeforeItServes)
{
    IRecognitionEnginePtr engine = CoRecognitionEngine::Create();
    const QString text = ExceptionText([&] { engine->ScannersCount(); });
    EXPECT_TRUE(text.contains(QLatin1String("not initialised"))) << text.toStdString();
    EXPECT_FALSE(ExceptionText([&] { engine->Init(nullptr); }).isEmpty());
    EXPECT_FALSE(engine->IsInitialized());
    // The two calls the package makes before Init work on a fresh engine.
    engine->EnablePreprocessedImageCoordinatesMode();
    engine->LogMode(3);
}

} // namespace
