// The binding table against the declared entry point types, and the guard
// that keeps the package from calling an entry point it does not have.
#include "common/engCommon9r.h"
#include "scanify/engUtilsScanify9r.h"
#include "scanify/scapi.h"
#include "support/FakeScanify.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

TEST(ScanifyBindingTable, FortyFourEntryPointsWhoseArgumentBytesMatchTheirDeclaredTypes)
{
    std::size_t count = 0;
    const scapi::TEntryPoint *entries = scapi::EntryPoints(&count);
    ASSERT_EQ(count, 44u);
    EXPECT_STREQ(entries[0].name, "ScGetScanifyAPIVersion");
    EXPECT_STREQ(entries[3].name, "ScInitialize");
    EXPECT_STREQ(entries[35].name, "ScPackageGetFieldValue");
    EXPECT_STREQ(entries[43].name, "ScPackageGetFieldAppInfo");
    std::set<std::string> names;
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(entries[i].name);
        names.insert(entries[i].name);
        // Every argument is 32 bits wide on the engine's interface.
        EXPECT_EQ(entries[i].argumentBytes % 4, 0);
        EXPECT_EQ(entries[i].declaredBytes, entries[i].argumentBytes);
        EXPECT_EQ(entries[i].declaredArguments * 4, entries[i].argumentBytes);
    }
    EXPECT_EQ(names.size(), 44u);
}

TEST(ScanifyBindingTable, BindStoresTheSymbolInTheVariableOfThatName)
{
    std::size_t count = 0;
    const scapi::TEntryPoint *entries = scapi::EntryPoints(&count);
    for (std::size_t i = 0; i < count; ++i)
        entries[i].bind(nullptr);
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_FALSE(entries[i].isBound()) << entries[i].name;

    static int marker = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (std::string(entries[i].name) == "ScPackageGetFieldValue")
            entries[i].bind(&marker);
    EXPECT_EQ(reinterpret_cast<void *>(ScPackageGetFieldValue), static_cast<void *>(&marker));
    EXPECT_EQ(ScInitialize, nullptr);
    for (std::size_t i = 0; i < count; ++i)
        entries[i].bind(nullptr);
}

TEST(ScanifyBindingTable, CallingAnEntryPointThatIsMissingOrUnloadedRaisesInsteadOfCrashing)
{
    ASSERT_EQ(CognitiveLibInstance, nullptr);
    {
        r9test::FakeScanify fake;
        ScInitialize = nullptr;
        EXPECT_THROW(SC_CALL(ScInitialize)(nullptr), scapi::EEntryPointMissing);
        EXPECT_NO_THROW(SC_CALL(ScGetErrorCode)(1));
    }
    // The variables may still hold stale addresses after the library is gone.
    ScGetErrorCode = [](ScInstanceHandle) -> std::int32_t { ADD_FAILURE() << "called while unloaded"; return 0; };
    try {
        SC_CALL(ScGetErrorCode)(1);
        ADD_FAILURE() << "no exception";
    } catch (const scapi::EEntryPointMissing &e) {
        EXPECT_NE(std::string(e.what()).find("ScGetErrorCode"), std::string::npos);
    }
    ScGetErrorCode = nullptr;
}

TEST(ScanifyBindingTable, WithoutTheLibraryInitReportsAndCloseOnlyClearsTheHandle)
{
    ASSERT_EQ(CognitiveLibInstance, nullptr);
    gl_hScInstance = 5;
    const QString error = InitScanify();
    EXPECT_TRUE(error.startsWith(LoadResString(&_S_ERROR_INIT_COGNITIVE_ENGINE) + QStringLiteral("\r\r"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("ScInitialize")));
    EXPECT_EQ(gl_hScInstance, 0u);

    gl_hScInstance = 5;
    CloseScanify();
    EXPECT_EQ(gl_hScInstance, 0u);
    FreeCognitiveDll(); // nothing loaded: nothing happens
    EXPECT_EQ(CognitiveLibInstance, nullptr);
}

} // namespace
