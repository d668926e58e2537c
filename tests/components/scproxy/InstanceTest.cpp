// Exports, instances and their errors, the configuration context, packages
// as folders, and the TWAIN sources with their list.

#include "ScProxyFixture.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <memory>
#include <cstring>
#include <dlfcn.h>

using namespace scproxytest;

namespace {

const QStringList PartialLacks{QStringLiteral("ScGetContext"), QStringLiteral("ScImageExport"), QStringLiteral("ScImageDraw"),
                               QStringLiteral("ScPackageSetFieldAppInfo"), QStringLiteral("ScPackageGetFieldAppInfo")};

/// Names the library's dynamic symbol table defines, through nm; empty when nm is missing.
QStringList DefinedSymbols(const QString &library)
{
    const QString nm = QStandardPaths::findExecutable(QStringLiteral("nm"));
    if (nm.isEmpty())
        return {};
    QProcess p;
    p.start(nm, {QStringLiteral("-D"), QStringLiteral("--defined-only"), library});
    if (!p.waitForFinished(60000))
        return {};
    QStringList names;
    for (const QString &line : QString::fromLocal8Bit(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString name = line.section(QLatin1Char(' '), -1);
        if (!name.startsWith(QLatin1String("__bss_start")) && name != QLatin1String("_edata") && name != QLatin1String("_end"))
            names << name;
    }
    return names;
}

/// Answers the engine's next modal dialog named objectName through how.
template <typename How>
void AnswerDialog(const char *objectName, How how)
{
    // The engine may run the application's events before its dialog opens
    // (the source manager lists its scanners afresh): the answer waits for
    // the dialog, for a few seconds at most.
    auto *wait = new QTimer;
    auto ticks = std::make_shared<int>(0);
    QObject::connect(wait, &QTimer::timeout, [wait, ticks, objectName, how] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        const bool open = dialog && dialog->objectName() == QLatin1String(objectName);
        if (!open && ++*ticks < 1000)
            return;
        wait->deleteLater();
        wait->stop();
        if (!open) {
            ADD_FAILURE() << "the dialog " << objectName << " is not open";
            if (dialog)
                dialog->reject();
            return;
        }
        how(*dialog);
    });
    wait->start(5);
}

} // namespace

TEST(ScProxyExports, FullLibraryExportsExactlyTheEntryPointsAndThePartialOneLacksItsFive)
{
    const ScApi full = ScApi::Load(BinFolder() + QStringLiteral("/libscproxy.so"));
    const ScApi partial = ScApi::Load(BinFolder() + QStringLiteral("/scproxy-partial/libscproxy.so"));
    // Both feed from the same specimens: the partial one has none beside it.
    EnvSwitch specimens("SCPROXY_SPECIMENS", (BinFolder() + QStringLiteral("/specimens/scanify")).toLocal8Bit());
    ASSERT_NE(full.module, nullptr) << dlerror();
    ASSERT_NE(partial.module, nullptr) << dlerror();
    ASSERT_EQ(ScApi::Names().size(), 44);
    for (const QString &name : ScApi::Names()) {
        const QByteArray n = name.toLatin1();
        EXPECT_NE(full.Address(n.constData()), nullptr) << n.constData();
        EXPECT_EQ(partial.Address(n.constData()) == nullptr, PartialLacks.contains(name)) << n.constData();
    }
    // The partial library still works where it has its entry points.
    const ScInstanceHandle i = partial.ScInitialize(nullptr);
    EXPECT_NE(i, 0u);
    const ScInstanceHandle fullInstance = full.ScInitialize(nullptr);
    EXPECT_EQ(partial.ScScannerGetTWAINSourceCount(i), full.ScScannerGetTWAINSourceCount(fullInstance));
    EXPECT_GE(partial.ScScannerGetTWAINSourceCount(i), 2);
    full.ScTerminate(fullInstance, nullptr);
    partial.ScTerminate(i, nullptr);

    const QStringList symbols = DefinedSymbols(BinFolder() + QStringLiteral("/libscproxy.so"));
    if (symbols.isEmpty())
        GTEST_SKIP() << "nm is not installed: the symbol table was not read";
    QStringList expected = ScApi::Names();
    expected.sort();
    QStringList got = symbols;
    got.sort();
    EXPECT_EQ(got, expected);
}

TEST(ScProxyExports, VariablesOfTheSameNamesLoadedFirstDoNotCaptureTheEngine)
{
    // The decoy exports a variable per entry point, as the package does.
    void *decoy = dlopen((BinFolder() + QStringLiteral("/scproxy-tests/libscproxy_decoy.so")).toLocal8Bit().constData(),
                         RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(decoy, nullptr) << dlerror();
    const ScApi api = ScApi::Load(BinFolder() + QStringLiteral("/libscproxy.so"), RTLD_GLOBAL);
    ASSERT_NE(api.module, nullptr);
    EXPECT_NE(api.Address("ScInitialize"), dlsym(decoy, "ScInitialize"));
    QTemporaryDir dir;
    const ScInstanceHandle i = api.ScInitialize(nullptr);
    ASSERT_NE(i, 0u);
    const ScPackageHandle p = api.ScPackageCreate(i, dir.filePath(QStringLiteral("dss0001")).toLocal8Bit().constData());
    ASSERT_NE(p, 0u);
    TScPackageInformation info{};
    EXPECT_TRUE(api.ScPackageGetInformation(p, &info));
    EXPECT_TRUE(api.ScPackageDestroy(p));
    EXPECT_TRUE(api.ScTerminate(i, nullptr));
    // Loaded after the engine, it changes nothing either.
    void *late = dlopen((BinFolder() + QStringLiteral("/scproxy-tests/libscproxy_decoy.so")).toLocal8Bit().constData(),
                        RTLD_NOW | RTLD_GLOBAL);
    EXPECT_EQ(late, decoy);
    const ScInstanceHandle j = api.ScInitialize(nullptr);
    EXPECT_NE(j, 0u);
    EXPECT_TRUE(api.ScTerminate(j, nullptr));
    dlclose(late);
    dlclose(decoy);
}

using ScProxyInstance = ScProxyTest;

TEST_F(ScProxyInstance, ErrorsBelongToTheirInstanceAndClearOnTheNextSuccess)
{
    const ScInstanceHandle other = api.ScInitialize(nullptr);
    ASSERT_NE(other, 0u);
    EXPECT_NE(other, instance);
    EXPECT_FALSE(api.ScSetupContext(instance, Folder(QStringLiteral("missing.ini")).toLocal8Bit().constData()));
    EXPECT_NE(api.ScGetErrorCode(instance), 0);
    EXPECT_TRUE(ErrorText().contains(QStringLiteral("missing.ini"))) << ErrorText().toStdString();
    EXPECT_EQ(api.ScGetErrorCode(other), 0);
    EXPECT_STREQ(api.ScGetErrorMessage(other, 0), "");

    SetUpContext(270);
    EXPECT_EQ(api.ScGetErrorCode(instance), 0);
    EXPECT_STREQ(api.ScGetErrorMessage(instance, 0), "");

    EXPECT_TRUE(api.ScTerminate(other, nullptr));
    EXPECT_FALSE(api.ScTerminate(other, nullptr));
    EXPECT_NE(api.ScGetErrorCode(other), 0);
    EXPECT_EQ(api.ScPackageCreate(other, Folder(QStringLiteral("dss0002")).toLocal8Bit().constData()), 0u);
}

TEST_F(ScProxyInstance, FailedStartLeavesItsMessageForInstanceZero)
{
    {
        EnvSwitch fault("SCPROXY_FAULTS", "init");
        EXPECT_EQ(api.ScInitialize(nullptr), 0u);
        EXPECT_NE(api.ScGetErrorCode(0), 0);
        EXPECT_TRUE(QString::fromLocal8Bit(api.ScGetErrorMessage(0, 0)).contains(QStringLiteral("licence")));
    }
    const ScInstanceHandle again = api.ScInitialize(nullptr);
    EXPECT_NE(again, 0u);
    EXPECT_STREQ(api.ScGetErrorMessage(0, 0), "");
    api.ScTerminate(again, nullptr);
}

TEST_F(ScProxyInstance, ContextTakesOnlyAReadableConfigurationFileByItsExactName)
{
    EXPECT_FALSE(api.ScSetupContext(instance, nullptr));
    EXPECT_FALSE(api.ScSetupContext(instance, ""));
    EXPECT_FALSE(api.ScSetupContext(instance, dir.path().toLocal8Bit().constData())) << "a folder is no file";
    WriteText(Folder(QStringLiteral("empty.ini")), "; nothing but a remark\r\n");
    EXPECT_FALSE(api.ScSetupContext(instance, Folder(QStringLiteral("empty.ini")).toLocal8Bit().constData()));
    EXPECT_TRUE(ErrorText().contains(QStringLiteral("no section")));

    const QString path = SetUpContext(270);
    EXPECT_EQ(QString::fromLocal8Bit(api.ScGetContext(instance)), path);
    // Linux file names depend on case: the caller must name the file as it is written.
    QString otherCase = path;
    otherCase.replace(QStringLiteral(".Ini"), QStringLiteral(".ini"));
    EXPECT_FALSE(api.ScSetupContext(instance, otherCase.toLocal8Bit().constData()));
    EXPECT_TRUE(ErrorText().contains(otherCase));

    EnvSwitch fault("SCPROXY_FAULTS", "context");
    EXPECT_FALSE(api.ScSetupContext(instance, path.toLocal8Bit().constData()));
    EXPECT_TRUE(ErrorText().contains(QStringLiteral("simulated fault \"context\"")));
}

TEST_F(ScProxyInstance, PackageIsAFolderThatOutlivesItsHandle)
{
    const QString folder = Folder(QStringLiteral("data/dss0A3F"));
    const ScPackageHandle p = api.ScPackageCreate(instance, folder.toLocal8Bit().constData());
    ASSERT_NE(p, 0u) << ErrorText().toStdString();
    EXPECT_TRUE(QFileInfo(folder).isDir());
    TScPackageInformation info;
    std::memset(&info, 0x55, sizeof info);
    ASSERT_TRUE(api.ScPackageGetInformation(p, &info));
    EXPECT_EQ(QString::fromLocal8Bit(info.szName), folder);
    EXPECT_EQ(info.nDocsCount, 0);
    EXPECT_EQ(info.nFormsCount, 0);
    EXPECT_EQ(info.nImagesCount, 0);
    EXPECT_EQ(info.reserved[0], 0);

    EXPECT_TRUE(api.ScPackageDestroy(p));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(api.ScPackageGetInformation(p, &info));
    EXPECT_FALSE(api.ScPackageGetInformation(NewPackage(), nullptr));

    WriteText(Folder(QStringLiteral("dssFILE")), "not a folder");
    EXPECT_EQ(api.ScPackageCreate(instance, Folder(QStringLiteral("dssFILE")).toLocal8Bit().constData()), 0u);
    EXPECT_TRUE(ErrorText().contains(QStringLiteral("is a file")));
    EXPECT_EQ(api.ScPackageCreate(instance, ""), 0u);

    EnvSwitch fault("SCPROXY_FAULTS", "package");
    EXPECT_EQ(api.ScPackageCreate(instance, Folder(QStringLiteral("dss0B00")).toLocal8Bit().constData()), 0u);
    EXPECT_NE(api.ScGetErrorCode(instance), 0);
    EXPECT_FALSE(QFileInfo::exists(Folder(QStringLiteral("dss0B00"))));
}

TEST_F(ScProxyInstance, TwoSourcesOfWhichOnlyTheFeederOpens)
{
    // The two specimen sources come first, the source manager's after them.
    const int count = api.ScScannerGetTWAINSourceCount(instance);
    ASSERT_GE(count, 2);
    EXPECT_STREQ(api.ScScannerGetTWAINSourceName(instance, 0), "Scanify Specimen Feeder");
    EXPECT_STREQ(api.ScScannerGetTWAINSourceName(instance, 1), "Scanify Offline Scanner");
    EXPECT_EQ(api.ScScannerGetTWAINSourceName(instance, count), nullptr);
    EXPECT_STREQ(api.ScScannerGetTWAINSourceName(instance, -1), "") << "nothing chosen yet";

    EXPECT_EQ(api.ScScannerOpen(instance, SC_DEV_SCANNER, "Scanify Offline Scanner"), 0u);
    EXPECT_TRUE(ErrorText().contains(QStringLiteral("does not respond")));
    EXPECT_EQ(api.ScScannerOpen(instance, SC_DEV_SCANNER, "No Such Scanner"), 0u);
    EXPECT_EQ(api.ScScannerOpen(instance, SC_DEV_SCANNER, nullptr), 0u);
    EXPECT_EQ(api.ScScannerOpen(instance, SC_DEV_FILE, "Scanify Specimen Feeder"), 0u);
    const ScScanDeviceHandle d = api.ScScannerOpen(instance, SC_DEV_SCANNER, "Scanify Specimen Feeder");
    EXPECT_NE(d, 0u);
    EXPECT_EQ(api.ScGetErrorCode(instance), 0);
    EXPECT_TRUE(api.ScScannerClose(d));
    EXPECT_FALSE(api.ScScannerClose(d));
    {
        EnvSwitch fault("SCPROXY_FAULTS", "sourceopen");
        EXPECT_EQ(api.ScScannerOpen(instance, SC_DEV_SCANNER, "Scanify Specimen Feeder"), 0u);
        EXPECT_TRUE(ErrorText().contains(QStringLiteral("simulated fault")));
    }
    EnvSwitch fault("SCPROXY_FAULTS", "nosource");
    EXPECT_EQ(api.ScScannerGetTWAINSourceCount(instance), 0);
    EXPECT_FALSE(api.ScScannerSelectTWAINSource(instance, 0));
    EXPECT_NE(api.ScGetErrorCode(instance), 0);
    EXPECT_EQ(api.ScScannerOpen(instance, SC_DEV_SCANNER, "Scanify Specimen Feeder"), 0u);
}

TEST_F(ScProxyInstance, SourceListAnsweredByTheOperatorOrByTheSwitch)
{
    const int count = api.ScScannerGetTWAINSourceCount(instance);
    AnswerDialog("ScanifySourceDialog", [count](QDialog &d) {
        auto *list = d.findChild<QListWidget *>(QStringLiteral("lbSources"));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->count(), count);
        list->setCurrentRow(1);
        d.accept();
    });
    EXPECT_TRUE(api.ScScannerSelectTWAINSource(instance, 0));
    EXPECT_STREQ(api.ScScannerGetTWAINSourceName(instance, -1), "Scanify Offline Scanner");

    AnswerDialog("ScanifySourceDialog", [](QDialog &d) {
        EXPECT_EQ(d.findChild<QListWidget *>()->currentRow(), 1) << "the last choice is highlighted";
        d.reject();
    });
    EXPECT_FALSE(api.ScScannerSelectTWAINSource(instance, 0));
    EXPECT_EQ(api.ScGetErrorCode(instance), 0) << "cancelling is no error";
    EXPECT_STREQ(api.ScScannerGetTWAINSourceName(instance, -1), "Scanify Offline Scanner");

    {
        EnvSwitch answer("SCPROXY_SELECT_SOURCE", "Scanify Specimen Feeder");
        EXPECT_TRUE(api.ScScannerSelectTWAINSource(instance, 0));
        EXPECT_STREQ(api.ScScannerGetTWAINSourceName(instance, -1), "Scanify Specimen Feeder");
    }
    {
        EnvSwitch answer("SCPROXY_SELECT_SOURCE", "1");
        EXPECT_TRUE(api.ScScannerSelectTWAINSource(instance, 0));
        EXPECT_STREQ(api.ScScannerGetTWAINSourceName(instance, -1), "Scanify Offline Scanner");
    }
    EnvSwitch answer("SCPROXY_SELECT_SOURCE", "cancel");
    EXPECT_FALSE(api.ScScannerSelectTWAINSource(instance, 0));
}
