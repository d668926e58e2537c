// Engine start and stop, the document list and the catalogue marking.
#include "support/FakeEngine.h"
#include "support/LogRecorder.h"

#include "abbyy/engUtilsABBYY9r.h"
#include "common/Recognition9r.h"
#include "base/ResString.h"
#include "common/engCommon9r.h"

#include <gtest/gtest.h>

namespace {

fake::CallLog g_log;
ComPtr<fake::Engine> g_nextEngine;
ComPtr<fake::InitParams> g_nextParams;
int g_paramsCreated = 0;

IRecognitionEnginePtr createEngine()
{
    g_log.push_back(QStringLiteral("CreateEngine"));
    if (!g_nextEngine)
        throw EEngineError(QStringLiteral("class not registered"), REGDB_E_CLASSNOTREG);
    return IRecognitionEnginePtr(g_nextEngine.get());
}

IInitParamsPtr createParams()
{
    ++g_paramsCreated;
    g_log.push_back(QStringLiteral("CreateInitParams"));
    if (!g_nextParams)
        throw EEngineError(QStringLiteral("params class missing"), REGDB_E_CLASSNOTREG);
    return IInitParamsPtr(g_nextParams.get());
}

class EngineAdapter : public testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        g_paramsCreated = 0;
        g_nextEngine = fake::make<fake::Engine>(&g_log);
        g_nextParams = fake::make<fake::InitParams>(&g_log);
        abbyy::CreateRecognitionEngine = &createEngine;
        abbyy::CreateInitParams = &createParams;
        gl_RecognitionEngine = nullptr;
    }
    void TearDown() override
    {
        gl_RecognitionEngine = nullptr;
        g_nextEngine = nullptr;
        g_nextParams = nullptr;
        abbyy::CreateRecognitionEngine = &CoRecognitionEngine::Create;
        abbyy::CreateInitParams = &CoInitParams::Create;
    }
    static QString initError() { return LoadResString(&_S_ERROR_INIT_ABBYY_ENGINE); }
    static QString goToAdmin() { return LoadResString(&_S_GO_TO_ADMIN); }

    r9test::LogRecorder hostLog;
};

TEST_F(EngineAdapter, InitEngineStartsAnUninitialisedEngineWithLogModeThree)
{
    EXPECT_EQ(InitEngine(), QString());
    EXPECT_EQ(gl_RecognitionEngine.get(), g_nextEngine.get());
    EXPECT_EQ(g_nextEngine->initParams, g_nextParams.get());
    const fake::CallLog expected = {"CreateEngine", "EnablePreprocessedImageCoordinatesMode", "IsInitialized",
                                    "CreateInitParams", "Init", "LogMode:3"};
    EXPECT_EQ(g_log, expected);
}

TEST_F(EngineAdapter, InitEngineLeavesAnInitialisedEngineAlone)
{
    g_nextEngine->initialized = true;
    EXPECT_EQ(InitEngine(), QString());
    const fake::CallLog expected = {"CreateEngine", "EnablePreprocessedImageCoordinatesMode", "IsInitialized"};
    EXPECT_EQ(g_log, expected);
    EXPECT_EQ(g_paramsCreated, 0);
}

TEST_F(EngineAdapter, InitEngineWithoutTheEngineClassGivesTheFixedNote)
{
    g_nextEngine = nullptr;
    const QString result = InitEngine();
    EXPECT_TRUE(result.startsWith(initError() + QStringLiteral("\r\r"))) << result.toStdString();
    EXPECT_GT(result.size(), initError().size() + 2);
    EXPECT_FALSE(result.contains(goToAdmin()));
    EXPECT_FALSE(result.contains(QStringLiteral("class not registered")));
    EXPECT_FALSE(gl_RecognitionEngine);

    // The real factory fails the same way when the engine server refuses
    // the class (the stand-in server's switch for that case).
    qputenv("PASSPORTREADER_FAULTS", "noclass");
    abbyy::CreateRecognitionEngine = &CoRecognitionEngine::Create;
    EXPECT_EQ(InitEngine(), result);
    EXPECT_FALSE(gl_RecognitionEngine);
    qunsetenv("PASSPORTREADER_FAULTS");
}

TEST_F(EngineAdapter, InitEngineFailuresAfterCreationKeepTheEngine)
{
    const QStringList failures = {"EnablePreprocessedImageCoordinatesMode", "IsInitialized", "Init", "LogMode"};
    for (const QString &failing : failures) {
        SCOPED_TRACE(failing.toStdString());
        g_nextEngine = fake::make<fake::Engine>(&g_log);
        g_nextEngine->failing = {failing};
        gl_RecognitionEngine = nullptr;
        const QString message = failing == QLatin1String("LogMode") ? QStringLiteral("LogMode:3 failed")
                                                                     : failing + QStringLiteral(" failed");
        EXPECT_EQ(InitEngine(), initError() + "\r\r" + message + "\r\r" + goToAdmin());
        EXPECT_EQ(gl_RecognitionEngine.get(), g_nextEngine.get());
    }
}

TEST_F(EngineAdapter, InitEngineReportsInitParamsAndARefusedInit)
{
    g_nextParams = nullptr;
    QString result = InitEngine();
    EXPECT_EQ(result, initError() + "\r\rparams class missing\r\r" + goToAdmin());

    g_nextParams = fake::make<fake::InitParams>(&g_log);
    g_nextEngine = fake::make<fake::Engine>(&g_log);
    g_nextEngine->initAnswer = false;
    g_log.clear();
    result = InitEngine();
    EXPECT_TRUE(result.startsWith(initError() + "\r\r"));
    EXPECT_TRUE(result.endsWith("\r\r" + goToAdmin()));
    EXPECT_EQ(std::count(g_log.begin(), g_log.end(), QStringLiteral("LogMode:3")), 0);
    EXPECT_EQ(gl_RecognitionEngine.get(), g_nextEngine.get());
}

TEST_F(EngineAdapter, AnEngineThatWouldNotStartIsLoggedWithItsCause)
{
    g_nextParams = nullptr;
    const QString refused = InitEngine();
    g_nextEngine = nullptr;
    const QString missing = InitEngine();
    ASSERT_EQ(hostLog.lines.size(), 2);
    for (int i : {0, 1}) {
        QString shown = i == 0 ? refused : missing;
        EXPECT_EQ(hostLog.lines[i], QStringLiteral("InitEngine: ") + shown.replace(QStringLiteral("\r\r"), QStringLiteral(" ")));
    }
}

TEST_F(EngineAdapter, SecondInitEngineReplacesAndReleasesTheFirst)
{
    bool firstGone = false;
    g_nextEngine->onDestroy = [&] { firstGone = true; };
    ASSERT_EQ(InitEngine(), QString());
    g_nextEngine = fake::make<fake::Engine>(&g_log);
    ASSERT_EQ(InitEngine(), QString());
    EXPECT_TRUE(firstGone);
    EXPECT_EQ(gl_RecognitionEngine.get(), g_nextEngine.get());
}

TEST_F(EngineAdapter, CloseEngineClosesReleasesAndKeepsTheReferenceOnFailure)
{
    CloseEngine(); // no engine: nothing to do
    EXPECT_TRUE(g_log.empty());

    auto engine = fake::make<fake::Engine>(&g_log);
    engine->failing = {"Close"};
    gl_RecognitionEngine = IRecognitionEnginePtr(engine.get());
    EXPECT_THROW(CloseEngine(), EEngineError);
    EXPECT_EQ(gl_RecognitionEngine.get(), engine.get());

    bool gone = false;
    engine->failing.clear();
    engine->onDestroy = [&] { gone = true; };
    engine = nullptr;
    CloseEngine();
    EXPECT_TRUE(gone);
    EXPECT_FALSE(gl_RecognitionEngine);
    EXPECT_EQ(std::count(g_log.begin(), g_log.end(), QStringLiteral("Close")), 2);
}

TEST_F(EngineAdapter, GetAllowedDocumentsNeedsAnEngine)
{
    EXPECT_FALSE(GetAllowedDocuments());
    EXPECT_TRUE(g_log.empty());

    gl_RecognitionEngine = IRecognitionEnginePtr(g_nextEngine.get());
    auto documents = fake::make<fake::StringsArray>(&g_log);
    g_nextEngine->allowed = ComPtr<IStringsArray>(documents.get());
    EXPECT_EQ(GetAllowedDocuments().get(), documents.get());

    g_nextEngine->failing = {"AllowedDocuments"};
    EXPECT_FALSE(GetAllowedDocuments());
    EXPECT_EQ(hostLog.lines.size(), 1);
}

class DocumentsAvailability : public EngineAdapter
{
protected:
    void SetUp() override
    {
        EngineAdapter::SetUp();
        Initialize();
        documents = fake::make<fake::StringsArray>(&g_log);
        g_nextEngine->allowed = ComPtr<IStringsArray>(documents.get());
        gl_RecognitionEngine = IRecognitionEnginePtr(g_nextEngine.get());
        for (int i = 0; i < gl_ListAllowedDocuments->Count(); ++i)
            gl_ListAllowedDocuments->Objects(i)->FIsEnabled = false;
    }
    void TearDown() override
    {
        documents = nullptr;
        EngineAdapter::TearDown();
        Finalize();
    }
    static TDocumentInfo *info(const char *identifier)
    {
        const int index = gl_ListAllowedDocuments->IndexOfName(QLatin1String(identifier));
        return index >= 0 ? gl_ListAllowedDocuments->Objects(index) : nullptr;
    }
    static int enabledCount()
    {
        int n = 0;
        for (int i = 0; i < gl_ListAllowedDocuments->Count(); ++i)
            n += gl_ListAllowedDocuments->Objects(i)->FIsEnabled ? 1 : 0;
        return n;
    }
    ComPtr<fake::StringsArray> documents;
};

TEST_F(DocumentsAvailability, MarksKnownTypesAppendsEveryIdentifierAndLogs)
{
    ASSERT_NE(info("Passport_RU"), nullptr);
    documents->items = {{"Passport_RU", ""}, {"Unknown_XX", ""}};
    EXPECT_EQ(SetDocumentsAvailability(gl_ListAllowedDocuments), QString());
    EXPECT_TRUE(info("Passport_RU")->FIsEnabled);
    EXPECT_EQ(enabledCount(), 1);
    EXPECT_EQ(gl_ListAvailableDocuments->ToStringList(), QStringList({"Passport_RU", "Unknown_XX"}));
    EXPECT_EQ(hostLog.lines, QStringList({"SetDocumentsAvailability___1", "SetDocumentsAvailability___2"}));

    // Again, with the type gone from the engine: nothing is cleared.
    documents->items = {{"Unknown_XX", ""}};
    EXPECT_EQ(SetDocumentsAvailability(gl_ListAllowedDocuments), QString());
    EXPECT_TRUE(info("Passport_RU")->FIsEnabled);
    EXPECT_EQ(gl_ListAvailableDocuments->ToStringList(), QStringList({"Passport_RU", "Unknown_XX", "Unknown_XX"}));
}

TEST_F(DocumentsAvailability, FailuresEndTheLoopAndKeepWhatWasMarked)
{
    documents->items = {{"Passport_RU", ""}, {"Unknown_XX", ""}};
    documents->failing = {"Name:1"};
    EXPECT_EQ(SetDocumentsAvailability(gl_ListAllowedDocuments), QStringLiteral("Name:1 failed"));
    EXPECT_TRUE(info("Passport_RU")->FIsEnabled);
    EXPECT_EQ(gl_ListAvailableDocuments->ToStringList(), QStringList({"Passport_RU"}));

    hostLog.lines.clear();
    g_nextEngine->failing = {"AllowedDocuments"};
    EXPECT_EQ(SetDocumentsAvailability(gl_ListAllowedDocuments), QStringLiteral("AllowedDocuments failed"));
    EXPECT_EQ(hostLog.lines, QStringList({"SetDocumentsAvailability___1",
                                          "SetDocumentsAvailability: AllowedDocuments failed"}))
        << "the failure the host shows is logged";

    gl_RecognitionEngine = nullptr;
    EXPECT_FALSE(SetDocumentsAvailability(gl_ListAllowedDocuments).isEmpty());
    g_nextEngine->failing.clear();
    g_nextEngine->allowed = nullptr; // an engine answering no list at all
    gl_RecognitionEngine = IRecognitionEnginePtr(g_nextEngine.get());
    EXPECT_FALSE(SetDocumentsAvailability(gl_ListAllowedDocuments).isEmpty());
}

TEST_F(DocumentsAvailability, NoCatalogueIsAnErrorAndChangesNothing)
{
    documents->items = {{"Passport_RU", ""}};
    hostLog.lines.clear();
    const QString error = SetDocumentsAvailability(nullptr);
    EXPECT_FALSE(error.isEmpty()) << "no catalogue is not a success";
    EXPECT_EQ(gl_ListAvailableDocuments->Count(), 0);
    EXPECT_EQ(enabledCount(), 0);
    EXPECT_EQ(hostLog.lines, QStringList({"SetDocumentsAvailability___1", "SetDocumentsAvailability: " + error}))
        << "the engine is not asked";
}

TEST(EngineUnit, PackageStopReleasesTheEngineUnclosedBeforeTheCatalogueGoes)
{
    Initialize();
    fake::CallLog log;
    auto engine = fake::make<fake::Engine>(&log);
    bool released = false;
    bool catalogueAtRelease = false;
    engine->onDestroy = [&] {
        released = true;
        catalogueAtRelease = gl_ListAllowedDocuments != nullptr;
    };
    gl_RecognitionEngine = IRecognitionEnginePtr(engine.get());
    engine = nullptr;
    Finalize();
    EXPECT_TRUE(released);
    EXPECT_TRUE(catalogueAtRelease);
    EXPECT_FALSE(gl_RecognitionEngine);
    EXPECT_EQ(std::count(log.begin(), log.end(), QStringLiteral("Close")), 0);
    EXPECT_EQ(gl_ListAllowedDocuments, nullptr);
}

} // namespace
