#include "ScProxyFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <dlfcn.h>

namespace scproxytest {

ScApi ScApi::Load(const QString &path, int flags)
{
    ScApi api;
    api.module = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | flags);
    if (!api.module)
        return api;
#define SCPROXY_BIND(name, bytes) api.name = reinterpret_cast<T##name>(dlsym(api.module, #name));
    SC_ENTRY_POINTS(SCPROXY_BIND)
#undef SCPROXY_BIND
    return api;
}

QStringList ScApi::Names()
{
    QStringList names;
#define SCPROXY_NAME(name, bytes) names << QStringLiteral(#name);
    SC_ENTRY_POINTS(SCPROXY_NAME)
#undef SCPROXY_NAME
    return names;
}

void *ScApi::Address(const char *name) const
{
#define SCPROXY_ADDRESS(n, bytes) \
    if (qstrcmp(name, #n) == 0) \
        return reinterpret_cast<void *>(n);
    SC_ENTRY_POINTS(SCPROXY_ADDRESS)
#undef SCPROXY_ADDRESS
    return nullptr;
}

QString BinFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString GeneratedSpecimens()
{
    return BinFolder() + QStringLiteral("/specimens/scanify");
}

QByteArray ConfigurationText(int turn, bool showTwain)
{
    const QByteArray t = QByteArray::number(turn);
    return "[DefaultScanningConfiguration]\r\nUseADF=0\r\nResolutionX=300\r\nResolutionY=300\r\nBitsPerPixel=24\r\n"
           "NumPages=1\r\nPageDimensions=0mm 0mm 210mm 270mm\r\nZone1=0mm 0mm 210mm 270mm\r\nZone1Type=ZoneOfPassportRF\r\n"
           "[ScanAllDocuments]\r\nShowTWAIN="
           + QByteArray(showTwain ? "1" : "0")
           + "\r\nUseADF=0\r\nResolutionX=300\r\nResolutionY=300\r\nBitsPerPixel=24\r\nNumPages=1\r\n"
             "PageDimensions=0mm 0mm 210mm 180mm\r\n"
             "Zone1=0mm 0mm -1mm -1mm\r\nZone1Type=ZoneOfPassportRF\r\nZone1DocsFinderParm=psp\r\n"
             "Zone2=0mm 0mm -1mm -1mm\r\nZone2Type=ZoneOfDrivingLicenceRF\r\nZone2DocsFinderParm=drvl_card\r\n"
             "Zone3=0mm 0mm -1mm -1mm\r\nZone3Type=ZoneOfInoPassportRF\r\nZone3DocsFinderParm=inopsp\r\n"
             "Zone4=0mm 0mm -1mm -1mm\r\nZone4Type=ZoneOfMRZ_rotate\r\n"
             "Zone5=0mm 0mm -1mm -1mm\r\nZone5Type=ZoneOfBioPassport\r\nZone5DocsFinderParm=biopsp\r\n"
             "[ScanInoPassport]\r\nUseADF=0\r\nResolutionX=300\r\nResolutionY=300\r\nBitsPerPixel=8\r\nNumPages=1\r\n"
             "PageDimensions=0mm 0mm 210mm 180mm\r\nZone1=0mm 0mm -1mm -1mm\r\nZone1Type=ZoneOfMRZ_rotate\r\n"
             "[ZoneOfPassportRF]\r\nZoneRecognition1=frm\\psp12\\pasp_nat_rus\\passport1.frm\r\n"
             "ZoneRecognition2=frm\\psp12\\pasp_nat_rus\\passport2.frm\r\n"
             "[ZoneOfDrivingLicenceRF]\r\nZoneRecognition1=frm\\psp12\\drvlic\\drvl1.frm\r\n"
             "[ZoneOfInoPassportRF]\r\nZoneRecognition1=frm\\psp12\\pasp_ino_rus\\InoPas1a.frm\r\n"
             "[ZoneOfBioPassport]\r\nZoneRecognition1=frm\\psp12\\pasp_bio_rus\\bio_full.frm\r\n"
             "[ZoneOfMRZ_rotate]\r\nZoneProcessing=_ImageRotate@16\r\nZoneProcessingParam="
           + t + "\r\nZoneResult=ZoneOfMRZ, break_chain\r\n"
                 "[ZoneOfMRZ]\r\nZoneRecognition1=frm\\psp12\\pasp_ino_ino\\InoPas_MRZ.FRM\r\n";
}

void WriteText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(text), text.size());
}

void WriteSpecimen(const QString &folder, const QString &stem, const QByteArray &body, QSize size)
{
    QDir().mkpath(folder);
    QImage picture(size, QImage::Format_RGB888);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(QRect(0, 0, size.width() / 4, size.height() / 4), Qt::black);
    ASSERT_TRUE(picture.save(QDir(folder).filePath(stem + QStringLiteral(".png"))));
    WriteText(QDir(folder).filePath(stem + QStringLiteral(".json")),
              "{\"picture\": \"" + stem.toUtf8() + ".png\", " + body + "}");
}

int FirstQuantisationValue(const QByteArray &jpeg)
{
    const qsizetype at = jpeg.indexOf("\xFF\xDB");
    // marker, 2 bytes of length, precision and table number, then the table
    if (at < 0 || at + 5 >= jpeg.size())
        return 0;
    return quint8(jpeg.at(at + 5));
}

ScApi ScProxyTest::api;

void ScProxyTest::SetUpTestSuite()
{
    if (!api.module)
        api = ScApi::Load(BinFolder() + QStringLiteral("/libscproxy.so"));
}

void ScProxyTest::SetUp()
{
    ASSERT_NE(api.module, nullptr) << dlerror();
    ASSERT_TRUE(dir.isValid());
    instance = api.ScInitialize(nullptr);
    ASSERT_NE(instance, 0u) << api.ScGetErrorMessage(0, 0);
}

void ScProxyTest::TearDown()
{
    for (ScScanDeviceHandle d : devices)
        api.ScScannerClose(d);
    if (instance)
        api.ScTerminate(instance, nullptr);
}

QString ScProxyTest::SetUpContext(int turn, bool showTwain)
{
    const QString path = Folder(QStringLiteral("ScApi_%1.Ini").arg(turn));
    WriteText(path, ConfigurationText(turn, showTwain));
    EXPECT_TRUE(api.ScSetupContext(instance, path.toLocal8Bit().constData())) << ErrorText().toStdString();
    return path;
}

ScPackageHandle ScProxyTest::NewPackage(const QString &name)
{
    const ScPackageHandle p = api.ScPackageCreate(instance, Folder(name).toLocal8Bit().constData());
    EXPECT_NE(p, 0u) << ErrorText().toStdString();
    return p;
}

ScScanDeviceHandle ScProxyTest::OpenFeeder()
{
    const ScScanDeviceHandle d = api.ScScannerOpen(instance, SC_DEV_SCANNER, "Scanify Specimen Feeder");
    EXPECT_NE(d, 0u) << ErrorText().toStdString();
    if (d) {
        devices.push_back(d);
        EXPECT_TRUE(api.ScScannerSetConfiguration(d, "ScanAllDocuments")) << ErrorText().toStdString();
    }
    return d;
}

ScImageHandle ScProxyTest::ScanOne(ScPackageHandle package)
{
    return api.ScPackageScan(package, OpenFeeder(), nullptr);
}

QString ScProxyTest::ErrorText() const
{
    return QString::fromLocal8Bit(api.ScGetErrorMessage(instance, 0));
}

QString ScProxyTest::Folder(const QString &name) const
{
    return dir.filePath(name);
}

} // namespace scproxytest
