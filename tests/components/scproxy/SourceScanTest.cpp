// The source manager's sources as the engine's TWAIN sources: listed after
// the specimen sources, a scan on one of them writing its page into the
// package as the feeder's pages are written, with the request's resolution,
// bits per pixel and "ShowTWAIN", and its faults as the instance's error.

#include "ScProxyFixture.h"
#include "support/ScannerSources.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstring>

using namespace scproxytest;
using namespace scannertest;

namespace {

class ScProxySourceScan : public ScProxyTest
{
protected:
    ScScanDeviceHandle OpenSource(const char *name)
    {
        const ScScanDeviceHandle d = api.ScScannerOpen(instance, SC_DEV_SCANNER, name);
        EXPECT_NE(d, 0u) << ErrorText().toStdString();
        if (d)
            devices.push_back(d);
        return d;
    }

    static TScScanRequest Request(int resolution, int bitsPerPixel, bool showTwain)
    {
        TScScanRequest request;
        std::memset(&request, 0, sizeof request);
        request.scanOptions.nXResolution = resolution;
        request.scanOptions.nYResolution = resolution;
        request.scanOptions.nBitsPerPixel = bitsPerPixel;
        request.scanOptions.bShowTWAINSettings = showTwain;
        request.nPagesRequested = 1;
        return request;
    }

    ScannerSources sources;
};

TEST_F(ScProxySourceScan, TheManagersSourcesFollowTheSpecimenSources)
{
    QStringList names;
    for (int i = 2; i < api.ScScannerGetTWAINSourceCount(instance); ++i)
        names << QString::fromLocal8Bit(api.ScScannerGetTWAINSourceName(instance, i));
    for (const char *source : {SpecimenSource, SaneSource, SecondSaneSource}) {
        SCOPED_TRACE(source);
        EXPECT_TRUE(names.contains(QLatin1String(source))) << names.join(QLatin1Char('|')).toStdString();
        EnvSwitch answer("SCPROXY_SELECT_SOURCE", source);
        EXPECT_TRUE(api.ScScannerSelectTWAINSource(instance, 0));
        EXPECT_STREQ(api.ScScannerGetTWAINSourceName(instance, -1), source);
        EXPECT_NE(OpenSource(source), 0u);
    }
}

TEST_F(ScProxySourceScan, TheSourceListFindsAScannerSwitchedOnSinceTheLastList)
{
    const char *third = "SANE: Noname frontend-tester #3";
    const auto listed = [this, third] {
        for (int i = 2; i < api.ScScannerGetTWAINSourceCount(instance); ++i)
            if (QLatin1String(api.ScScannerGetTWAINSourceName(instance, i)) == QLatin1String(third))
                return true;
        return false;
    };
    ASSERT_FALSE(listed());
    sources.configureSane({QStringLiteral("number_of_devices 3")});
    EXPECT_FALSE(listed()) << "a scan's source is never listed afresh";
    EnvSwitch answer("SCPROXY_SELECT_SOURCE", third);
    EXPECT_TRUE(api.ScScannerSelectTWAINSource(instance, 0)) << ErrorText().toStdString();
    EXPECT_STREQ(api.ScScannerGetTWAINSourceName(instance, -1), third);
    EXPECT_TRUE(listed());
    sources.configureSane({});
}

TEST_F(ScProxySourceScan, AScanWritesTheSourcesPageIntoThePackageAsTheRequestAsks)
{
    SetUpContext(270);
    const ScPackageHandle package = NewPackage();
    struct Case
    {
        const char *source;
        int bitsPerPixel;
        bool grey;
        bool blackAndWhite;
    };
    // The page's file, by the name the engine gives it (it is written while
    // the caller goes on, and named once it is there).
    const auto fileOf = [&](ScImageHandle image) {
        TScImageInformation info{};
        EXPECT_TRUE(api.ScPackageGetImageInformation(image, &info)) << ErrorText().toStdString();
        return QString::fromLocal8Bit(info.szFileName);
    };
    int pages = 0;
    for (const Case c : {Case{SpecimenSource, 24, false, false}, Case{SpecimenSource, 8, true, false},
                         Case{SpecimenSource, 1, true, true}, Case{SaneSource, 24, false, false},
                         Case{SaneSource, 8, true, false}, Case{SaneSource, 1, true, true}}) {
        SCOPED_TRACE(testing::Message() << c.source << " at " << c.bitsPerPixel << " bits");
        const ScScanDeviceHandle device = OpenSource(c.source);
        TScScanRequest low = Request(150, c.bitsPerPixel, false);
        TScScanRequest high = Request(300, c.bitsPerPixel, false);
        const ScImageHandle lowImage = api.ScPackageScan(package, device, &low);
        ASSERT_NE(lowImage, 0u) << ErrorText().toStdString();
        const ScImageHandle highImage = api.ScPackageScan(package, device, &high);
        ASSERT_NE(highImage, 0u) << ErrorText().toStdString();
        EXPECT_EQ(low.nPagesAcquired, 1);
        EXPECT_EQ(api.ScGetErrorCode(instance), 0);
        const QDir folder(Folder(QStringLiteral("dss0A3F")));
        EXPECT_EQ(fileOf(lowImage), folder.filePath(QStringLiteral("Image%1.bmp").arg(++pages, 4, 10, QLatin1Char('0'))));
        EXPECT_EQ(fileOf(highImage), folder.filePath(QStringLiteral("Image%1.bmp").arg(++pages, 4, 10, QLatin1Char('0'))));
        QImage lowPage, highPage;
        ASSERT_TRUE(lowPage.load(fileOf(lowImage)));
        ASSERT_TRUE(highPage.load(fileOf(highImage)));
        EXPECT_EQ(lowPage.allGray(), c.grey);
        EXPECT_EQ(lowPage.depth() == 1, c.blackAndWhite);
        EXPECT_NEAR(highPage.width(), 2 * lowPage.width(), 2);
    }
}

TEST_F(ScProxySourceScan, ShowTwainOpensTheSourcesOwnWindowNotTheEngines)
{
    SetUpContext(270);
    const ScPackageHandle package = NewPackage();
    const ScScanDeviceHandle device = OpenSource(SpecimenSource);
    for (const bool show : {true, false}) {
        SCOPED_TRACE(show);
        DialogAnswer sourceWindow("SpecimenScanDialog", [](QWidget *dialog) { Click(dialog, "bScan"); });
        DialogAnswer engineDialog("ScanifyTwainDialog", [](QWidget *dialog) { dialog->close(); });
        TScScanRequest request = Request(100, 24, show);
        EXPECT_NE(api.ScPackageScan(package, device, &request), 0u) << ErrorText().toStdString();
        EXPECT_EQ(sourceWindow.answered(), show);
        EXPECT_FALSE(engineDialog.answered());
    }
}

TEST_F(ScProxySourceScan, ScannerFaultsBecomeTheInstancesErrorAndWriteNothing)
{
    SetUpContext(270);
    const ScPackageHandle package = NewPackage();
    struct Case
    {
        const char *source;
        const char *specimenFaults;
        const char *saneStatus;
        const char *message; // UTF-8, a part of the error; null: none, as the feeder's dialog cancelled
    };
    for (const Case c : {Case{SpecimenSource, "cancel", nullptr, nullptr},
                         Case{SpecimenSource, "openfails", nullptr, "Specimen Scanner"},
                         Case{SpecimenSource, "enablefails", nullptr, "Specimen Scanner"},
                         Case{SaneSource, nullptr, "SANE_STATUS_JAMMED", "Бумага застряла"},
                         Case{SaneSource, nullptr, "SANE_STATUS_COVER_OPEN", "Крышка сканера открыта"},
                         Case{SaneSource, nullptr, "SANE_STATUS_IO_ERROR", "не отвечает"}}) {
        SCOPED_TRACE(testing::Message() << c.source << " " << (c.specimenFaults ? c.specimenFaults : "")
                                        << (c.saneStatus ? c.saneStatus : ""));
        sources.setSpecimenFaults(QLatin1String(c.specimenFaults));
        sources.configureSane(c.saneStatus ? QStringList{QStringLiteral("read-status-code %1").arg(QLatin1String(c.saneStatus))}
                                           : QStringList());
        TScScanRequest request = Request(100, 24, false);
        EXPECT_EQ(api.ScPackageScan(package, OpenSource(c.source), &request), 0u);
        EXPECT_EQ(request.nPagesAcquired, 0);
        EXPECT_EQ(api.ScGetErrorCode(instance) != 0, c.message != nullptr);
        EXPECT_TRUE(c.message ? ErrorText().contains(QString::fromUtf8(c.message)) : ErrorText().isEmpty())
            << ErrorText().toStdString();
        EXPECT_TRUE(QDir(Folder(QStringLiteral("dss0A3F"))).entryList(QDir::Files).isEmpty());
        CloseNotices();
    }
}

} // namespace
