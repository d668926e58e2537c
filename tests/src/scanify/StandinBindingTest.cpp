// Loading and binding the real stand-in engine library, as the host does.
// Skipped when the stand-in is not part of the build.
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "scanify/engUtilsScanify9r.h"
#include "scanify/scapi.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

const QString kLibrary = QStringLiteral(R9_SCPROXY_DIR "/libscproxy.so");
const QString kPartialLibrary = QStringLiteral(R9_SCPROXY_PARTIAL_DIR "/libscproxy.so");

QString g_hostFolder;
QString hostFolder() { return g_hostFolder; }

/// A host folder of its own for each test: "ScProxy.Ini" and the library are
/// put into it as each test needs.
class StandinBinding : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(kLibrary))
            GTEST_SKIP() << "the stand-in engine library is not built: " << kLibrary.toStdString();
        g_hostFolder = host.path();
        m_previous = scanify::HostExecutableFolder;
        scanify::HostExecutableFolder = &hostFolder;
        gl_hScInstance = 0;
        gl_hScPackage = 0;
    }
    void TearDown() override
    {
        if (CognitiveLibInstance && gl_hScInstance)
            CloseScanify();
        FreeCognitiveDll();
        if (m_previous)
            scanify::HostExecutableFolder = m_previous;
    }
    void putProxyIni(const QString &name = QStringLiteral("ScProxy.Ini"))
    {
        r9test::WriteFile(host.filePath(name), "[ScProxy]\r\n");
    }
    void putLibrary(const QString &library)
    {
        ASSERT_TRUE(QFile::link(library, host.filePath(QStringLiteral("libscproxy.so"))));
    }
    std::string loadError()
    {
        try {
            LoadCognitiveDll();
        } catch (const std::exception &e) {
            return e.what();
        }
        return std::string();
    }

    QTemporaryDir host;
    QString dataFolder = GetUserDataFolder();

private:
    scanify::HostFolderFunction m_previous = nullptr;
};

TEST_F(StandinBinding, BindsEveryEntryPointOnceAndUnloadsOnce)
{
    putProxyIni();
    putLibrary(kLibrary);
    ASSERT_EQ(loadError(), std::string());
    void *const loaded = CognitiveLibInstance;
    ASSERT_NE(loaded, nullptr);
    std::size_t count = 0;
    const scapi::TEntryPoint *entries = scapi::EntryPoints(&count);
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_TRUE(entries[i].isBound()) << entries[i].name;
    EXPECT_TRUE(QFileInfo::exists(dataFolder + QStringLiteral("ScApi_270.Ini")));
    EXPECT_TRUE(QFileInfo::exists(dataFolder + QStringLiteral("ScApi_90.Ini")));

    // The second call checks the engine's file and the configuration files
    // again, and binds nothing anew.
    QFile::remove(dataFolder + QStringLiteral("ScApi_90.Ini"));
    const auto boundBefore = ScInitialize;
    ASSERT_EQ(loadError(), std::string());
    EXPECT_EQ(CognitiveLibInstance, loaded);
    EXPECT_EQ(ScInitialize, boundBefore);
    EXPECT_TRUE(QFileInfo::exists(dataFolder + QStringLiteral("ScApi_90.Ini")));
    QFile::remove(host.filePath(QStringLiteral("ScProxy.Ini")));
    EXPECT_EQ(loadError(), LoadResString(&_S_ScProxy_INI_NOT_FOUND).toStdString());

    FreeCognitiveDll();
    EXPECT_EQ(CognitiveLibInstance, nullptr);
    EXPECT_NE(ScInitialize, nullptr); // kept, but no longer called
    EXPECT_THROW(SC_CALL(ScInitialize)(nullptr), scapi::EEntryPointMissing);
    FreeCognitiveDll();
    EXPECT_EQ(CognitiveLibInstance, nullptr);
}

TEST_F(StandinBinding, WithoutTheEnginesSettingsFileNothingIsWrittenOrLoaded)
{
    putLibrary(kLibrary);
    EXPECT_EQ(loadError(), LoadResString(&_S_ScProxy_INI_NOT_FOUND).toStdString());
    EXPECT_EQ(CognitiveLibInstance, nullptr);
    EXPECT_FALSE(QFileInfo::exists(dataFolder + QStringLiteral("ScApi_270.Ini")));
    EXPECT_FALSE(QFileInfo::exists(dataFolder + QStringLiteral("ScApi_90.Ini")));

    // The engine's settings file is found whatever the case of its name.
    putProxyIni(QStringLiteral("scproxy.ini"));
    EXPECT_EQ(loadError(), std::string());
}

TEST_F(StandinBinding, AMissingLibraryRaisesTheSystemTextAndALaterCallTriesAgain)
{
    putProxyIni();
    const std::string error = loadError();
    const std::string suffix = ": libscproxy.so";
    ASSERT_GT(error.size(), suffix.size()) << error;
    EXPECT_EQ(error.substr(error.size() - suffix.size()), suffix);
    EXPECT_EQ(CognitiveLibInstance, nullptr);
    // The configuration files were written before the library was tried.
    EXPECT_TRUE(QFileInfo::exists(dataFolder + QStringLiteral("ScApi_270.Ini")));

    putLibrary(kLibrary);
    EXPECT_EQ(loadError(), std::string());
    EXPECT_NE(CognitiveLibInstance, nullptr);
}

TEST_F(StandinBinding, AConfigurationFolderThatCannotBeWrittenStopsTheLoad)
{
    putProxyIni();
    putLibrary(kLibrary);
    ASSERT_TRUE(QDir(dataFolder).mkdir(QStringLiteral("ScApi_270.Ini")));
    EXPECT_NE(loadError(), std::string());
    EXPECT_EQ(CognitiveLibInstance, nullptr);
}

TEST_F(StandinBinding, ALibraryLackingExportsLeavesExactlyThoseVariablesNull)
{
    if (!QFileInfo::exists(kPartialLibrary))
        GTEST_SKIP() << "the partial stand-in is not built";
    putProxyIni();
    putLibrary(kPartialLibrary);
    ASSERT_EQ(loadError(), std::string());

    void *direct = dlopen(QFile::encodeName(kPartialLibrary).constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(direct, nullptr);
    std::size_t count = 0;
    const scapi::TEntryPoint *entries = scapi::EntryPoints(&count);
    int missing = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const bool exported = dlsym(direct, entries[i].name) != nullptr;
        EXPECT_EQ(entries[i].isBound(), exported) << entries[i].name;
        missing += !exported;
    }
    dlclose(direct);
    EXPECT_GT(missing, 0);
    EXPECT_LT(missing, 44);
}

TEST_F(StandinBinding, TheHostFolderComesBeforeTheLoadersSearchPath)
{
    if (!QFileInfo::exists(kPartialLibrary))
        GTEST_SKIP() << "the partial stand-in is not built";
    // Already in the process under its bare name, the full library is what the
    // loader's search finds.
    void *onLoaderPath = dlopen(QFile::encodeName(kLibrary).constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(onLoaderPath, nullptr) << dlerror();
    putProxyIni();
    ASSERT_EQ(loadError(), std::string());
    EXPECT_EQ(CognitiveLibInstance, onLoaderPath);
    FreeCognitiveDll();

    // With a library beside the host, that one is loaded.
    putLibrary(kPartialLibrary);
    ASSERT_EQ(loadError(), std::string());
    EXPECT_NE(CognitiveLibInstance, onLoaderPath);
    std::size_t count = 0;
    const scapi::TEntryPoint *entries = scapi::EntryPoints(&count);
    bool someMissing = false;
    for (std::size_t i = 0; i < count; ++i)
        someMissing = someMissing || !entries[i].isBound();
    EXPECT_TRUE(someMissing);
    FreeCognitiveDll();
    dlclose(onLoaderPath);
}

TEST_F(StandinBinding, TheOperationsRunOnTheStandin)
{
    putProxyIni();
    putLibrary(kLibrary);
    ASSERT_EQ(loadError(), std::string());
    ASSERT_EQ(InitScanify(), QString());
    EXPECT_NE(gl_hScInstance, 0u);

    QString error;
    ASSERT_TRUE(CreatePack(gl_hScPackage, error)) << error.toStdString();
    TScPackageInformation info{};
    ScPackageGetInformation(gl_hScPackage, &info);
    const QString folder = QString::fromLocal8Bit(info.szName);
    EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    EXPECT_TRUE(folder.startsWith(dataFolder + QStringLiteral("dss")));

    // Creating the next package releases this one; its folder stays.
    const ScPackageHandle first = gl_hScPackage;
    ASSERT_TRUE(CreatePack(gl_hScPackage, error)) << error.toStdString();
    EXPECT_NE(gl_hScPackage, first);
    EXPECT_TRUE(QFileInfo(folder).isDir());

    ScScanDeviceHandle device = 0x77;
    QString source = QStringLiteral("No Such Scanner");
    EXPECT_FALSE(OpenTwainSource(device, error, 0, source));
    EXPECT_TRUE(error.startsWith(LoadResString(&_S_TWAIN_OPEN_ERROR) + QStringLiteral("\r\r"))) << error.toStdString();
    EXPECT_EQ(device, 0u);

    CloseScanify();
    EXPECT_EQ(gl_hScInstance, 0u);
}

} // namespace
