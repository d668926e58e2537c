// The stand-in's own settings file next to the library: fault switches,
// specimen folder and dialog answers, added to the environment's.

#include "ScProxyFixture.h"

#include <QDir>
#include <QFile>
#include <dlfcn.h>

using namespace scproxytest;

namespace {

/// A copy of the stand-in in a folder of its own, with its own ScProxy.Ini.
struct LibraryCopy
{
    explicit LibraryCopy(const QByteArray &ini)
    {
        const QString library = dir.filePath(QStringLiteral("libscproxy.so"));
        EXPECT_TRUE(QFile::copy(BinFolder() + QStringLiteral("/libscproxy.so"), library));
        WriteText(dir.filePath(QStringLiteral("ScProxy.Ini")), ini);
        // The copy's feeders are offered only with specimens installed beside it.
        QFile::link(BinFolder() + QStringLiteral("/specimens"), dir.filePath(QStringLiteral("specimens")));
        api = ScApi::Load(library);
    }
    ~LibraryCopy()
    {
        if (api.module)
            dlclose(api.module);
    }
    QTemporaryDir dir;
    ScApi api;
};

} // namespace

TEST(ScProxyConfig, SettingsFileNextToTheLibrarySwitchesFaultsAndAnswers)
{
    LibraryCopy copy("[Faults]\r\nActive=package, recog\r\n[Dialogs]\r\nSelectSource=Scanify Offline Scanner\r\n");
    ASSERT_NE(copy.api.module, nullptr) << dlerror();
    const ScApi &api = copy.api;
    const ScInstanceHandle i = api.ScInitialize(nullptr);
    ASSERT_NE(i, 0u);
    EXPECT_EQ(api.ScPackageCreate(i, copy.dir.filePath(QStringLiteral("dss0001")).toLocal8Bit().constData()), 0u);
    EXPECT_TRUE(QString::fromLocal8Bit(api.ScGetErrorMessage(i, 0)).contains(QStringLiteral("simulated fault \"package\"")));
    EXPECT_TRUE(api.ScScannerSelectTWAINSource(i, 0));
    EXPECT_STREQ(api.ScScannerGetTWAINSourceName(i, -1), "Scanify Offline Scanner");
    {
        // The environment's switches add to the file's.
        EnvSwitch fault("SCPROXY_FAULTS", "nosource");
        EXPECT_EQ(api.ScScannerGetTWAINSourceCount(i), 0);
    }
    // The environment's answer wins over the file's.
    EnvSwitch answer("SCPROXY_SELECT_SOURCE", "cancel");
    EXPECT_FALSE(api.ScScannerSelectTWAINSource(i, 0));
    api.ScTerminate(i, nullptr);
}

TEST(ScProxyConfig, SpecimenFolderAndFeedRelativeToTheLibrary)
{
    LibraryCopy copy("[Specimens]\r\nFolder=mine\r\nFeed=second\r\n");
    ASSERT_NE(copy.api.module, nullptr) << dlerror();
    const ScApi &api = copy.api;
    const QString mine = copy.dir.filePath(QStringLiteral("mine"));
    WriteSpecimen(mine, QStringLiteral("first"), R"("formId": "F1", "zone": "ZoneOfPassportRF", "fields": [])", QSize(50, 50));
    WriteSpecimen(mine, QStringLiteral("second"), R"("formId": "F2", "zone": "ZoneOfPassportRF", "fields": [{"id": "X", "value": "2"}])",
                  QSize(70, 30));
    const ScInstanceHandle i = api.ScInitialize(nullptr);
    const QString ini = copy.dir.filePath(QStringLiteral("ScApi_270.Ini"));
    WriteText(ini, ConfigurationText(270));
    ASSERT_TRUE(api.ScSetupContext(i, ini.toLocal8Bit().constData()));
    const ScPackageHandle p = api.ScPackageCreate(i, copy.dir.filePath(QStringLiteral("dss0002")).toLocal8Bit().constData());
    const ScScanDeviceHandle d = api.ScScannerOpen(i, SC_DEV_SCANNER, "Scanify Specimen Feeder");
    ASSERT_TRUE(api.ScScannerSetConfiguration(d, "ScanAllDocuments"));
    ASSERT_NE(api.ScPackageScan(p, d, nullptr), 0u) << api.ScGetErrorMessage(i, 0);
    ASSERT_TRUE(api.ScPackageRecog(p, nullptr));
    const ScDocumentHandle doc = api.ScPackageGetFirstDoc(p);
    ASSERT_NE(doc, 0u);
    EXPECT_STREQ(api.ScPackageGetFieldValue(doc, "X", nullptr), "2");
    api.ScTerminate(i, nullptr);
}
