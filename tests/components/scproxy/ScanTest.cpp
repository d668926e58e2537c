// Scanning configurations, scanning specimen pages into a package (with the
// scanner dialog and the scan faults), and the JPEG export.

#include "ScProxyFixture.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

using namespace scproxytest;

namespace {

class ScProxyScan : public ScProxyTest
{
protected:
    void SetUp() override
    {
        ScProxyTest::SetUp();
        specimens = Folder(QStringLiteral("specimens"));
        WriteSpecimen(specimens, QStringLiteral("a-upright"),
                      R"("formId": "FormA", "zone": "ZoneOfPassportRF", "fields": [])", QSize(120, 80));
        WriteSpecimen(specimens, QStringLiteral("b-sideways"),
                      R"("formId": "FormB", "zone": "ZoneOfMRZ", "feedAngle": 90, "fields": [])", QSize(100, 60));
        folderSwitch = std::make_unique<EnvSwitch>("SCPROXY_SPECIMENS", specimens.toLocal8Bit());
    }

    QImage PageOf(ScImageHandle image)
    {
        TScImageInformation info{};
        EXPECT_TRUE(api.ScPackageGetImageInformation(image, &info));
        return QImage(QString::fromLocal8Bit(info.szFileName));
    }

    QString specimens;
    std::unique_ptr<EnvSwitch> folderSwitch;
};

} // namespace

TEST_F(ScProxyScan, ConfigurationNeedsAContextAndASectionOfIt)
{
    const ScScanDeviceHandle d = api.ScScannerOpen(instance, SC_DEV_SCANNER, "Scanify Specimen Feeder");
    ASSERT_NE(d, 0u);
    devices.push_back(d);
    EXPECT_FALSE(api.ScScannerSetConfiguration(d, "ScanAllDocuments"));
    EXPECT_TRUE(ErrorText().contains(QStringLiteral("ScSetupContext")));
    SetUpContext(270);
    EXPECT_FALSE(api.ScScannerSetConfiguration(d, "NoSuchConfiguration"));
    EXPECT_TRUE(ErrorText().contains(QStringLiteral("NoSuchConfiguration")));
    EXPECT_TRUE(api.ScScannerSetConfiguration(d, "scanalldocuments")) << "section names ignore case";
    TScScanOptions options{};
    EXPECT_TRUE(api.ScGetScanOptions(d, &options));
    EXPECT_EQ(options.nXResolution, 300);
    EXPECT_EQ(options.nBitsPerPixel, 24);
    EXPECT_TRUE(api.ScScannerSetConfiguration(d, "ScanInoPassport"));
    EXPECT_TRUE(api.ScGetScanOptions(d, &options));
    EXPECT_EQ(options.nBitsPerPixel, 8);

    EnvSwitch fault("SCPROXY_FAULTS", "setconfig");
    try {
        api.ScScannerSetConfiguration(d, "ScanAllDocuments");
        ADD_FAILURE() << "the fault switch did not raise";
    } catch (const std::exception &e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  QStringLiteral("Selecting the scanning configuration failed with an internal error "
                                 "(simulated fault \"setconfig\" of the engine stand-in)"));
    }
}

TEST_F(ScProxyScan, PagesComeInTurnAsFilesOfThePackageTurnedAsTheyLie)
{
    SetUpContext(270);
    const ScPackageHandle p = NewPackage();
    const ScImageHandle first = ScanOne(p);
    ASSERT_NE(first, 0u) << ErrorText().toStdString();
    const ScImageHandle second = ScanOne(p);
    ASSERT_NE(second, 0u) << ErrorText().toStdString();
    const ScImageHandle third = ScanOne(p);
    ASSERT_NE(third, 0u);

    EXPECT_EQ(PageOf(first).size(), QSize(120, 80));
    EXPECT_EQ(PageOf(second).size(), QSize(60, 100)) << "the second page lies on its side";
    EXPECT_EQ(PageOf(third).size(), QSize(120, 80)) << "the feeder starts again";
    // The dark corner of the upright picture is top-left; turned by 90 clockwise it is top-right.
    EXPECT_LT(qGray(PageOf(first).pixel(2, 2)), 60);
    EXPECT_LT(qGray(PageOf(second).pixel(57, 2)), 60);
    EXPECT_GT(qGray(PageOf(second).pixel(2, 2)), 200);

    TScImageInformation info{};
    ASSERT_TRUE(api.ScPackageGetImageInformation(first, &info));
    EXPECT_EQ(QFileInfo(QString::fromLocal8Bit(info.szFileName)).absolutePath(), Folder(QStringLiteral("dss0A3F")));
    EXPECT_EQ(info.cxDPI, 300);
    EXPECT_EQ(info.nPageNumber, 1);
    TScPackageInformation pack{};
    ASSERT_TRUE(api.ScPackageGetInformation(p, &pack));
    EXPECT_EQ(pack.nImagesCount, 3);
    EXPECT_EQ(api.ScPackageGetFirstImage(p), first);
    EXPECT_EQ(api.ScPackageGetNextImage(first), second);
    EXPECT_EQ(api.ScPackageGetNextImage(third), 0u);
}

TEST_F(ScProxyScan, FeedSwitchKeepsTheFeederToTheNamedDescriptions)
{
    EnvSwitch feed("SCPROXY_FEED", "b-*");
    SetUpContext(270);
    const ScPackageHandle p = NewPackage();
    EXPECT_EQ(PageOf(ScanOne(p)).size(), QSize(60, 100));
    EXPECT_EQ(PageOf(ScanOne(p)).size(), QSize(60, 100));
    EnvSwitch none("SCPROXY_FEED", "nothing-like-this");
    EXPECT_EQ(ScanOne(p), 0u);
    EXPECT_TRUE(ErrorText().contains(QStringLiteral("nothing-like-this"))) << ErrorText().toStdString();
}

TEST_F(ScProxyScan, APageReadTurnedLeavesTheFeederUnlessTheWindowOffersARepeatRun)
{
    // The 90 turn leaves the sideways page upside down. Its form is not a
    // passport read by its zone, so no repeat run follows: the operator takes
    // the page away and the next scan gets the next page, not the same again.
    SetUpContext(90);
    const ScPackageHandle p = NewPackage();
    QList<QSize> pages;
    for (int n = 0; n < 3; ++n) {
        pages << PageOf(ScanOne(p)).size();
        ASSERT_TRUE(api.ScPackageRecog(p, nullptr)) << ErrorText().toStdString();
    }
    EXPECT_EQ(pages, QList<QSize>({{120, 80}, {60, 100}, {120, 80}}));
}

TEST_F(ScProxyScan, GreyConfigurationScansGreyPages)
{
    SetUpContext(270);
    const ScPackageHandle p = NewPackage();
    const ScScanDeviceHandle d = OpenFeeder();
    ASSERT_TRUE(api.ScScannerSetConfiguration(d, "ScanInoPassport"));
    const ScImageHandle image = api.ScPackageScan(p, d, nullptr);
    ASSERT_NE(image, 0u);
    EXPECT_TRUE(PageOf(image).allGray());
}

TEST_F(ScProxyScan, ScannerDialogShownWhenTheConfigurationAsksAtTheTimeOfSelection)
{
    // The context is set up first and "ShowTWAIN" written afterwards, as the
    // package does before every run: the configuration selected next shows it.
    const QString path = SetUpContext(270, false);
    WriteText(path, ConfigurationText(270, true));
    const ScPackageHandle p = NewPackage();
    const ScScanDeviceHandle d = OpenFeeder();

    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        shown = dialog && dialog->objectName() == QLatin1String("ScanifyTwainDialog");
        if (dialog)
            dialog->reject();
    });
    EXPECT_EQ(api.ScPackageScan(p, d, nullptr), 0u);
    EXPECT_TRUE(shown);
    EXPECT_EQ(api.ScGetErrorCode(instance), 0) << "a cancelled scan is no error";

    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    EXPECT_NE(api.ScPackageScan(p, d, nullptr), 0u);

    {
        EnvSwitch answer("SCPROXY_TWAIN_DIALOG", "cancel");
        EXPECT_EQ(api.ScPackageScan(p, d, nullptr), 0u);
    }
    EnvSwitch answer("SCPROXY_TWAIN_DIALOG", "accept");
    EXPECT_NE(api.ScPackageScan(p, d, nullptr), 0u);
}

TEST_F(ScProxyScan, ScanFaultsWithAndWithoutAnErrorCode)
{
    SetUpContext(270);
    const ScPackageHandle p = NewPackage();
    const ScScanDeviceHandle d = OpenFeeder();
    {
        EnvSwitch fault("SCPROXY_FAULTS", "scanempty");
        EXPECT_EQ(api.ScPackageScan(p, d, nullptr), 0u);
        EXPECT_EQ(api.ScGetErrorCode(instance), 0);
    }
    {
        EnvSwitch fault("SCPROXY_FAULTS", "scanerror");
        EXPECT_EQ(api.ScPackageScan(p, d, nullptr), 0u);
        EXPECT_NE(api.ScGetErrorCode(instance), 0);
        EXPECT_TRUE(ErrorText().contains(QStringLiteral("paper jam")));
    }
    EXPECT_EQ(api.ScPackageScan(p, 0, nullptr), 0u);
    EXPECT_NE(api.ScGetErrorCode(instance), 0);
    // A device of another instance does not scan into this package.
    const ScInstanceHandle other = api.ScInitialize(nullptr);
    const ScScanDeviceHandle foreign = api.ScScannerOpen(other, SC_DEV_SCANNER, "Scanify Specimen Feeder");
    EXPECT_EQ(api.ScPackageScan(p, foreign, nullptr), 0u);
    api.ScTerminate(other, nullptr);
    EXPECT_EQ(api.ScScannerClose(foreign), 0) << "the device ended with its instance";
}

// The page's file is written while the caller goes on: a file that cannot
// be written is told by the next call that needs it, as the scan would have
// told it (the scanning error's code), and recognition takes the page out of
// the package.
TEST_F(ScProxyScan, APageWhoseFileCannotBeWrittenIsToldLaterAndLeavesThePackage)
{
    constexpr std::int32_t kScanError = 6;
    SetUpContext(270);
    const ScPackageHandle p = NewPackage();
    const QString blocker = Folder(QStringLiteral("dss0A3F/Image0001.bmp.part"));
    ASSERT_TRUE(QDir().mkpath(blocker)); // where the file is written first, a folder
    const ScImageHandle image = ScanOne(p);
    ASSERT_NE(image, 0u) << ErrorText().toStdString();
    TScImageInformation info{};
    EXPECT_FALSE(api.ScPackageGetImageInformation(image, &info));
    EXPECT_EQ(api.ScGetErrorCode(instance), kScanError);
    EXPECT_TRUE(ErrorText().contains(QStringLiteral("Cannot write"))) << ErrorText().toStdString();
    EXPECT_EQ(api.ScPackageGetFirstImage(p), image) << "a walk through the pages still sees every page";
    EXPECT_FALSE(api.ScPackageRecog(p, nullptr));
    EXPECT_EQ(api.ScGetErrorCode(instance), kScanError);
    EXPECT_TRUE(ErrorText().contains(QStringLiteral("Cannot write"))) << ErrorText().toStdString();
    EXPECT_EQ(api.ScPackageGetFirstImage(p), 0u);
    EXPECT_FALSE(QFileInfo::exists(Folder(QStringLiteral("dss0A3F/Image0001.bmp"))));
    ASSERT_TRUE(QDir(blocker).removeRecursively());

    const ScImageHandle kept = ScanOne(p);
    ASSERT_NE(kept, 0u);
    EXPECT_FALSE(PageOf(kept).isNull());
    EXPECT_TRUE(api.ScPackageRecog(p, nullptr)) << ErrorText().toStdString();
}

TEST_F(ScProxyScan, BrokenDescriptionsLeaveTheFeederEmptyWithTheirProblems)
{
    const QString broken = Folder(QStringLiteral("broken"));
    WriteSpecimen(broken, QStringLiteral("1-no-form"), R"("zone": "Z", "fields": [])");
    WriteSpecimen(broken, QStringLiteral("2-long-id"),
                  R"("formId": "F", "zone": "Z", "fields": [{"id": "A_Very_Long_Field_Id", "value": ""}])");
    WriteSpecimen(broken, QStringLiteral("3-flags"),
                  R"("formId": "F", "zone": "Z", "fields": [{"id": "X", "value": "1", "flags": 3}])");
    WriteSpecimen(broken, QStringLiteral("4-photo-path"),
                  R"("formId": "F", "zone": "Z", "fields": [], "photo": {"field": "photo", "file": "../escape.jpg", "zone": {"x": 0, "y": 0, "width": 10, "height": 10}})");
    WriteSpecimen(broken, QStringLiteral("5-photo-outside"),
                  R"("formId": "F", "zone": "Z", "fields": [], "photo": {"field": "photo", "zone": {"x": 100, "y": 0, "width": 50, "height": 10}})");
    WriteSpecimen(broken, QStringLiteral("6-angle"), R"("formId": "F", "zone": "Z", "feedAngle": 45, "fields": [])");
    WriteText(QDir(broken).filePath(QStringLiteral("7-not-json.json")), "{ no");
    WriteSpecimen(broken, QStringLiteral("8-zone-past-the-range"),
                  R"("formId": "F", "zone": "Z", "fields": [], "photo": {"field": "photo", "zone": {"x": 2147483647, "y": 0, "width": 2147483647, "height": 1}})");
    // Read without end before the stand-in looked at what it names.
    WriteText(QDir(broken).filePath(QStringLiteral("9-picture-device.json")),
              R"({"formId": "F", "zone": "Z", "fields": [], "picture": "/dev/zero"})");
    EnvSwitch folder("SCPROXY_SPECIMENS", broken.toLocal8Bit());
    SetUpContext(270);
    EXPECT_EQ(ScanOne(NewPackage()), 0u);
    const QString text = ErrorText();
    EXPECT_NE(api.ScGetErrorCode(instance), 0);
    for (const char *problem : {"\"formId\" is missing", "longer than 15 bytes", "\"flags\" must be",
                                "plain file name", "inside the picture", "\"feedAngle\" must be", "not valid JSON",
                                "the photo zone reaches past the coordinate range", "/dev/zero cannot be read"})
        EXPECT_TRUE(text.contains(QLatin1String(problem))) << problem << " in " << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("recognition9r-doubles"))) << "what to install";
}

TEST_F(ScProxyScan, WithoutTheSpecimensInstalledTheFeedersAreNoSources)
{
    EnvSwitch folder("SCPROXY_SPECIMENS", Folder(QStringLiteral("not-installed")).toLocal8Bit() + "/none");
    for (const char *feeder : {"Scanify Specimen Feeder", "Scanify Offline Scanner"})
        EXPECT_EQ(api.ScScannerOpen(instance, SC_DEV_SCANNER, feeder), ScScanDeviceHandle{}) << feeder;
}

TEST_F(ScProxyScan, ExportWritesAJpegAtTheQualityAsked)
{
    SetUpContext(270);
    const ScImageHandle image = ScanOne(NewPackage());
    ASSERT_NE(image, 0u);
    // libjpeg scales its base tables (16 is the first luminance value) by the quality.
    auto expectedFirst = [](int quality) {
        const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
        return std::clamp((16 * scale + 50) / 100, 1, 255);
    };
    for (int quality : {35, 95}) {
        const QString path = Folder(QStringLiteral("PassportRF-%1.jpg").arg(quality));
        TScExportImageOptions options{};
        options.nSaveFormat = SC_IMGSAVE_JPG;
        options.nJpegQuality = quality;
        ASSERT_TRUE(api.ScImageExport(image, path.toLocal8Bit().constData(), &options)) << ErrorText().toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("\xFF\xD8"));
        EXPECT_EQ(FirstQuantisationValue(bytes), expectedFirst(quality)) << quality;
        EXPECT_EQ(QImage(path).size(), QSize(120, 80));
    }

    TScExportImageOptions bad{};
    bad.nSaveFormat = 3;
    bad.nJpegQuality = 35;
    EXPECT_FALSE(api.ScImageExport(image, Folder(QStringLiteral("x.jpg")).toLocal8Bit().constData(), &bad));
    EXPECT_TRUE(ErrorText().contains(QStringLiteral("not supported")));
    bad.nSaveFormat = SC_IMGSAVE_JPG;
    bad.nJpegQuality = 0;
    EXPECT_FALSE(api.ScImageExport(image, Folder(QStringLiteral("x.jpg")).toLocal8Bit().constData(), &bad));
    EXPECT_FALSE(api.ScImageExport(image, Folder(QStringLiteral("no/such/folder/x.jpg")).toLocal8Bit().constData(), nullptr));
    EXPECT_FALSE(QFileInfo::exists(Folder(QStringLiteral("x.jpg"))));
    EXPECT_FALSE(api.ScImageExport(0, Folder(QStringLiteral("x.jpg")).toLocal8Bit().constData(), nullptr));

    EnvSwitch fault("SCPROXY_FAULTS", "export");
    EXPECT_FALSE(api.ScImageExport(image, Folder(QStringLiteral("x.jpg")).toLocal8Bit().constData(), nullptr));
    EXPECT_FALSE(QFileInfo::exists(Folder(QStringLiteral("x.jpg"))));
}

TEST_F(ScProxyScan, DescriptionEditedBetweenScansIsReadAgain)
{
    EnvSwitch feed("SCPROXY_FEED", "a-upright");
    SetUpContext(270);
    const ScPackageHandle p = NewPackage();
    ASSERT_TRUE(api.ScPackageRecog(p, nullptr));
    ASSERT_NE(ScanOne(p), 0u);
    ASSERT_TRUE(api.ScPackageRecog(p, nullptr));
    const ScDocumentHandle before = api.ScPackageGetFirstDoc(p);
    EXPECT_STREQ(api.ScPackageGetFieldValue(before, "X", nullptr), "");

    const QString description = QDir(specimens).filePath(QStringLiteral("a-upright.json"));
    const QDateTime later = QFileInfo(description).lastModified().addSecs(10);
    WriteText(description, R"({"picture": "a-upright.png", "formId": "FormA", "zone": "ZoneOfPassportRF",
                               "fields": [{"id": "X", "value": "edited"}]})");
    QFile file(description);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(later, QFileDevice::FileModificationTime));
    file.close();

    ASSERT_NE(ScanOne(p), 0u);
    ASSERT_TRUE(api.ScPackageRecog(p, nullptr));
    const ScDocumentHandle after = api.ScPackageGetNextDoc(before);
    ASSERT_NE(after, 0u);
    EXPECT_STREQ(api.ScPackageGetFieldValue(after, "X", nullptr), "edited");
}
