// The package exports variables named like the engine library's functions
// (ScInitialize is both). A host may load both into the global scope, in
// either order; each library must still reach its own symbols. Each order runs
// in a process of its own, since a library stays loaded once it was.
#include "scanify/scapiTypes.h"

#include <QApplication>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

const char *const kPackage = R9_LIBRARY_PATH;
const char *const kEngine = R9_SCPROXY_DIR "/libscproxy.so";

template <class T>
T symbol(void *library, const char *name)
{
    void *address = dlsym(library, name);
    if (!address) {
        std::fprintf(stderr, "missing symbol %s\n", name);
        std::exit(3);
    }
    return reinterpret_cast<T>(address);
}

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "failed: %s\n", what);
        std::exit(2);
    }
}

/// Loads both libraries globally in the given order and runs the binding and
/// a few operations through the package, as a host would. Exits 0 on success.
[[noreturn]] void runBothGlobal(bool packageFirst)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    void *package = nullptr;
    void *engine = nullptr;
    if (packageFirst) {
        package = dlopen(kPackage, RTLD_NOW | RTLD_GLOBAL);
        engine = dlopen(kEngine, RTLD_NOW | RTLD_GLOBAL);
    } else {
        engine = dlopen(kEngine, RTLD_NOW | RTLD_GLOBAL);
        package = dlopen(kPackage, RTLD_NOW | RTLD_GLOBAL);
    }
    check(package && engine, dlerror());

    auto *variable = symbol<TScInitialize *>(package, "ScInitialize");
    auto function = symbol<TScInitialize>(engine, "ScInitialize");
    check(reinterpret_cast<void *>(variable) != reinterpret_cast<void *>(function), "one address for two symbols");
    check(*variable == nullptr, "the package's variable starts null");

    symbol<void (*)()>(package, "LoadCognitiveDll")();
    check(*variable == function, "the package bound the engine's function into its own variable");

    const QString error = symbol<QString (*)()>(package, "InitScanify")();
    check(error.isEmpty(), qPrintable(error));
    check(*symbol<ScInstanceHandle *>(package, "gl_hScInstance") != 0, "an instance was started");

    auto *packageHandle = symbol<ScPackageHandle *>(package, "gl_hScPackage");
    QString packageError;
    check(symbol<bool (*)(ScPackageHandle &, QString &)>(package, "CreatePack")(*packageHandle, packageError),
          qPrintable(packageError));
    TScPackageInformation info{};
    (*symbol<TScPackageGetInformation *>(package, "ScPackageGetInformation"))(*packageHandle, &info);
    check(QFileInfo(QString::fromLocal8Bit(info.szName)).isDir(), "the engine made the package folder");

    symbol<void (*)()>(package, "CloseScanify")();
    symbol<void (*)()>(package, "FreeCognitiveDll")();
    std::exit(0);
}

// What the host looks up by name: the entry-point variables in binding order,
// the library's state and the operations.
const char *const kExportedNames[] = {
    "ScGetScanifyAPIVersion", "ScGetErrorCode", "ScGetErrorMessage", "ScInitialize", "ScTerminate",
    "ScSetOption", "ScGetOption", "ScSetupContext", "ScGetContext", "ScPackageCreate", "ScPackageOpen",
    "ScPackageGetInformation", "ScPackageMove", "ScPackageClose", "ScPackageDestroy",
    "ScScannerSelectTWAINSource", "ScScannerSelectCLRSource", "ScScannerGetTWAINSourceCount",
    "ScScannerGetTWAINSourceName", "ScScannerOpen", "ScScannerSetConfiguration", "ScScannerClose",
    "ScGetScanOptions", "ScPackageScan", "ScPackageRecog", "ScPackageGetFirstImage", "ScPackageGetNextImage",
    "ScPackageGetImageInformation", "ScPackageGetFirstDoc", "ScPackageGetNextDoc", "ScPackageGetDocInformation",
    "ScDocumentGetFirstImage", "ScDocumentGetNextImage", "ScPackageGetFormInformation",
    "ScPackageGetFieldInformation", "ScPackageGetFieldValue", "ScPackageSetFieldValue", "ScPackageConvert",
    "ScImageExport", "ScImageResample", "ScImageDraw", "ScImageDelete", "ScPackageSetFieldAppInfo",
    "ScPackageGetFieldAppInfo"};
const char *const kOperations[] = {
    "CognitiveLibInstance", "LoadCognitiveDll", "FreeCognitiveDll", "CreateScApiIniFile", "InitScanify",
    "CloseScanify", "CreatePack", "OpenTwainSource", "ScanToPackage", "ExportImageToArchive", "FillDocumentCtrl",
    "LoadPictureFromFile", "gl_hScInstance", "gl_hScPackage", "gl_sScApiIniFile"};

TEST(ScanifyExports, EveryEntryPointVariableAndOperationResolvesAndTheVariablesStartNull)
{
    void *package = dlopen(kPackage, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(package, nullptr) << dlerror();
    EXPECT_EQ(std::size(kExportedNames), 44u);
    for (const char *name : kExportedNames) {
        auto *variable = static_cast<void **>(dlsym(package, name));
        ASSERT_NE(variable, nullptr) << name;
        EXPECT_EQ(*variable, nullptr) << name;
    }
    for (const char *name : kOperations)
        EXPECT_NE(dlsym(package, name), nullptr) << name;
    dlclose(package);
}

class SymbolScope : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(QString::fromLocal8Bit(kEngine)))
            GTEST_SKIP() << "the stand-in engine library is not built: " << kEngine;
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

TEST_F(SymbolScope, PackageLoadedGloballyBeforeTheEngine)
{
    EXPECT_EXIT(runBothGlobal(true), testing::ExitedWithCode(0), "");
}

TEST_F(SymbolScope, EngineLoadedGloballyBeforeThePackage)
{
    EXPECT_EXIT(runBothGlobal(false), testing::ExitedWithCode(0), "");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
