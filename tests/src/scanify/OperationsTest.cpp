// The engine operations against the in-process fake of the engine library:
// every branch, failure row, handle state and log line.
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "scanify/engUtilsScanify9r.h"
#include "support/FakeScanify.h"
#include "support/LogRecorder.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <cstdlib>
#include <optional>

namespace {

using r9test::FakeScanify;

class ScanifyOperations : public testing::Test
{
protected:
    void SetUp() override
    {
        gl_Protocol = true;
        gl_hScInstance = 0x11;
        gl_hScPackage = 0;
    }
    void TearDown() override
    {
        gl_Protocol = false;
        gl_hScInstance = 0;
        gl_hScPackage = 0;
    }
    QStringList calls() const
    {
        QStringList list;
        for (const std::string &c : fake.calls)
            list << QString::fromStdString(c);
        return list;
    }

    FakeScanify fake;
    r9test::LogRecorder log;
    const QString cr2 = QStringLiteral("\r\r");
};

TEST_F(ScanifyOperations, InitStartsTheInstanceWithoutOptions)
{
    gl_hScInstance = 0;
    EXPECT_EQ(InitScanify(), QString());
    EXPECT_EQ(gl_hScInstance, 0x11u);
    EXPECT_EQ(calls(), QStringList{QStringLiteral("ScInitialize(null)")});
}

TEST_F(ScanifyOperations, InitFailureCarriesTheEngineTextOfInstanceZeroCutAndLowerCased)
{
    fake.initializeResult = 0;
    fake.errorMessages[0] = "Лицензия НЕ найдена";
    EXPECT_EQ(InitScanify(), LoadResString(&_S_ERROR_INIT_COGNITIVE_ENGINE) + cr2 + QStringLiteral("лицензия не найдена."));
    EXPECT_EQ(gl_hScInstance, 0u);
    EXPECT_EQ(calls(), (QStringList{QStringLiteral("ScInitialize(null)"), QStringLiteral("ScGetErrorMessage(0, 0)")}));

    fake.errorMessages[0] = std::string(300, 'X');
    EXPECT_EQ(InitScanify(), LoadResString(&_S_ERROR_INIT_COGNITIVE_ENGINE) + cr2 + QString(255, QLatin1Char('x')) +
                                 QLatin1Char('.'));
    fake.errorMessages[0] = std::nullopt;
    EXPECT_EQ(InitScanify(), LoadResString(&_S_ERROR_INIT_COGNITIVE_ENGINE) + cr2 + QLatin1Char('.'));
    // Each failure the host is given to show is in its log.
    ASSERT_EQ(log.lines.size(), 3);
    EXPECT_EQ(log.lines[0], QStringLiteral("InitScanify: ") + LoadResString(&_S_ERROR_INIT_COGNITIVE_ENGINE)
                                + QStringLiteral(" лицензия не найдена."));
}

TEST_F(ScanifyOperations, CloseEndsTheInstanceAndClearsTheHandle)
{
    CloseScanify();
    EXPECT_EQ(calls(), QStringList{QStringLiteral("ScTerminate(17, null)")});
    EXPECT_EQ(gl_hScInstance, 0u);
    CloseScanify(); // no check whether an instance exists
    EXPECT_EQ(calls().last(), QStringLiteral("ScTerminate(0, null)"));
}

TEST_F(ScanifyOperations, CreatePackMakesANewDssFolderNameAndLogsIt)
{
    ScPackageHandle package = 0;
    QString error;
    ASSERT_TRUE(CreatePack(package, error));
    EXPECT_EQ(package, 0x21u);
    EXPECT_EQ(fake.destroyedPackages.size(), 0u);
    const QString folder = QString::fromStdString(fake.lastPackageFolder);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^") + QRegularExpression::escape(GetUserDataFolder()) +
                                   QStringLiteral("dss[0-9A-F]{4}$"))
                    .match(folder)
                    .hasMatch())
        << folder.toStdString();
    EXPECT_EQ(log.lines, (QStringList{QStringLiteral("Создание нового пакета..."),
                                      QStringLiteral("  пакет создан в директории: ") + folder}));
    EXPECT_TRUE(log.defaultLog);
    EXPECT_EQ(calls(), (QStringList{QStringLiteral("ScPackageCreate(17)"), QStringLiteral("ScPackageGetInformation(33)")}));
}

TEST_F(ScanifyOperations, CreatePackNeverReusesAFolderThatExists)
{
    std::srand(4242);
    const int first = std::rand() % 65535;
    const QString taken = QStringLiteral("dss%1").arg(first, 4, 16, QLatin1Char('0')).toUpper().replace(0, 3, QStringLiteral("dss"));
    ASSERT_TRUE(QDir(GetUserDataFolder()).mkdir(taken));
    std::srand(4242);
    ScPackageHandle package = 0;
    QString error;
    ASSERT_TRUE(CreatePack(package, error));
    const QString folder = QString::fromStdString(fake.lastPackageFolder);
    EXPECT_NE(folder, GetUserDataFolder() + taken);
    EXPECT_FALSE(QDir(folder).exists());
    EXPECT_TRUE(folder.section(QLatin1Char('/'), -1).startsWith(QStringLiteral("dss")));
}

TEST_F(ScanifyOperations, CreatePackReleasesThePreviousPackageEvenWhenTheNewOneFails)
{
    fake.packageResult = 0;
    fake.errorMessages[0x11] = "Нет места на диске";
    ScPackageHandle package = 0x99;
    QString error;
    EXPECT_FALSE(CreatePack(package, error));
    EXPECT_EQ(package, 0u);
    EXPECT_EQ(error, QStringLiteral("Нет места на диске"));
    EXPECT_EQ(fake.destroyedPackages, std::vector<ScPackageHandle>{0x99});
    EXPECT_EQ(calls(), (QStringList{QStringLiteral("ScPackageDestroy(153)"), QStringLiteral("ScPackageCreate(17)"),
                                    QStringLiteral("ScGetErrorMessage(17, 0)")}));
    EXPECT_EQ(log.lines, QStringList{QStringLiteral("Создание нового пакета...")});
}

TEST_F(ScanifyOperations, CreatePackRefusesWhenTheDataFolderCannotBeMade)
{
    // Without its data folder the engine would get a bare "dssXXXX" and put
    // the package wherever the host happens to run.
    const QString blocker = r9test::TestHome() + QStringLiteral("/not-a-folder");
    r9test::WriteFile(blocker, "x");
    qputenv("XDG_CONFIG_HOME", blocker.toLocal8Bit());
    ScPackageHandle package = 0x99;
    QString error;
    EXPECT_FALSE(CreatePack(package, error));
    EXPECT_EQ(package, 0u);
    EXPECT_EQ(error, QStringLiteral("Не удалось создать папку данных пользователя для пакета Cognitive Scanify API."));
    EXPECT_EQ(fake.destroyedPackages, std::vector<ScPackageHandle>{0x99});
    EXPECT_EQ(fake.CallCount("ScPackageCreate"), 0);
    EXPECT_EQ(log.lines, QStringList{QStringLiteral("Создание нового пакета...")});
}

TEST_F(ScanifyOperations, NothingIsLoggedWhileTheProtocolIsOff)
{
    gl_Protocol = false;
    ScPackageHandle package = 0;
    ScScanDeviceHandle device = 0;
    QString error, name;
    EXPECT_TRUE(CreatePack(package, error));
    EXPECT_TRUE(OpenTwainSource(device, error, 0, name));
    EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join(QLatin1Char('|')).toStdString();
}

TEST_F(ScanifyOperations, ARememberedSourceOpensWithoutAnyChoice)
{
    ScScanDeviceHandle device = 0;
    QString error;
    QString name = QStringLiteral("Сканер на ресепшн");
    ASSERT_TRUE(OpenTwainSource(device, error, 77, name));
    EXPECT_EQ(device, 0x31u);
    EXPECT_EQ(name, QStringLiteral("Сканер на ресепшн"));
    EXPECT_EQ(fake.lastOpenedSource, QStringLiteral("Сканер на ресепшн").toLocal8Bit().toStdString());
    EXPECT_EQ(fake.lastDeviceClass, SC_DEV_SCANNER);
    EXPECT_EQ(calls(), QStringList{QStringLiteral("ScScannerOpen(17)")});
    EXPECT_EQ(log.lines, (QStringList{QStringLiteral("Инициализация устройства сканирования (TWAIN)..."),
                                      QStringLiteral("Сканер на ресепшн  устройство успешно инициализировано.")}));
}

TEST_F(ScanifyOperations, AnEmptyNameLetsTheOperatorChooseAndRemembersTheChoice)
{
    ScScanDeviceHandle device = 0;
    QString error, name;
    ASSERT_TRUE(OpenTwainSource(device, error, 4711, name));
    EXPECT_EQ(name, QStringLiteral("Fake Feeder"));
    EXPECT_EQ(fake.lastOwner, ScWindowHandle(4711));
    EXPECT_EQ(calls(), (QStringList{QStringLiteral("ScScannerGetTWAINSourceCount(17)"),
                                    QStringLiteral("ScScannerSelectTWAINSource(17)"),
                                    QStringLiteral("ScScannerGetTWAINSourceName(17, -1)"),
                                    QStringLiteral("ScScannerOpen(17)")}));
    EXPECT_EQ(log.lines, (QStringList{QStringLiteral("Инициализация устройства сканирования (TWAIN)..."),
                                      QStringLiteral("  пользователь должен выбрать TWAIN-источник из списка имеющихся:"),
                                      QStringLiteral("Fake Feeder  устройство успешно инициализировано.")}));
}

TEST_F(ScanifyOperations, AChosenSourceWithoutANameIsNotRemembered)
{
    for (const std::optional<std::string> &reported : {std::optional<std::string>(), std::optional<std::string>("")}) {
        fake.chosenSourceName = reported;
        ScScanDeviceHandle device = 0;
        QString error, name;
        ASSERT_TRUE(OpenTwainSource(device, error, 0, name));
        EXPECT_TRUE(name.isEmpty());
        EXPECT_EQ(fake.lastOpenedSource, std::string()); // an empty text, not a null pointer
    }
}

TEST_F(ScanifyOperations, NoSourceChosenLeavesTheDeviceUntouched)
{
    fake.selectSourceResult = false; // only the low byte of the Boolean counts
    ScScanDeviceHandle device = 0x55;
    QString error, name;
    EXPECT_FALSE(OpenTwainSource(device, error, 0, name));
    EXPECT_EQ(error, LoadResString(&_S_TWAIN_SOURCE_PROBLEM));
    EXPECT_EQ(device, 0x55u);
    EXPECT_EQ(fake.CallCount("ScScannerOpen"), 0);
    EXPECT_EQ(log.lines.size(), 2);
}

TEST_F(ScanifyOperations, ADeviceThatDoesNotOpenReportsTheEngineText)
{
    fake.openResult = 0;
    fake.errorMessages[0x11] = "Source is offline";
    ScScanDeviceHandle device = 0x55;
    QString error;
    QString name = QStringLiteral("Scanify Offline");
    EXPECT_FALSE(OpenTwainSource(device, error, 0, name));
    EXPECT_EQ(error, LoadResString(&_S_TWAIN_OPEN_ERROR) + cr2 + QStringLiteral("Source is offline"));
    EXPECT_EQ(device, 0u);
    EXPECT_EQ(name, QStringLiteral("Scanify Offline"));
    EXPECT_EQ(log.lines, QStringList{QStringLiteral("Инициализация устройства сканирования (TWAIN)...")});
}

TEST_F(ScanifyOperations, ScanPutsOnePageIntoTheCurrentPackageWithTheDeviceConfiguration)
{
    gl_hScPackage = 0x21;
    ScImageHandle image = 0;
    QString error;
    EXPECT_TRUE(ScanToPackage(0x31, image, error));
    EXPECT_EQ(image, 0x41u);
    EXPECT_EQ(fake.lastScanRequest, nullptr);
    EXPECT_EQ(calls(), QStringList{QStringLiteral("ScPackageScan(33, 49)")});
    EXPECT_EQ(fake.scanCursorShape, std::optional<int>(Qt::WaitCursor)) << "the hourglass shows while the engine scans";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A failed scan takes its hourglass away too.
    fake.scanResult = 0;
    fake.scanCursorShape.reset();
    EXPECT_FALSE(ScanToPackage(0x31, image, error));
    EXPECT_EQ(fake.scanCursorShape, std::optional<int>(Qt::WaitCursor));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ScanifyOperations, AnEmptyScanReportsTheEngineErrorOrNoPages)
{
    fake.scanResult = 0;
    ScImageHandle image = 5;
    QString error;
    EXPECT_FALSE(ScanToPackage(0x31, image, error));
    EXPECT_EQ(image, 0u);
    EXPECT_EQ(error, LoadResString(&_S_SCANNED_0_PICTURES));

    fake.errorCode = 3;
    fake.errorMessages[0x11] = "Paper jam";
    EXPECT_FALSE(ScanToPackage(0x31, image, error));
    EXPECT_EQ(error, QStringLiteral("Paper jam"));
    EXPECT_EQ(calls().mid(2), (QStringList{QStringLiteral("ScPackageScan(0, 49)"), QStringLiteral("ScGetErrorCode(17)"),
                                           QStringLiteral("ScGetErrorMessage(17, 0)")}));
}

TEST_F(ScanifyOperations, ExportWritesAJpegOfQuality35ToThe8BitPath)
{
    const QString target = GetUserDataFolder() + QStringLiteral("dss0001/Паспорт.jpg");
    ExportImageToArchive(0x41, target);
    EXPECT_EQ(fake.lastExportFile, target.toLocal8Bit().toStdString());
    ASSERT_TRUE(fake.lastExportOptionsGiven);
    EXPECT_EQ(fake.lastExportOptions.nSaveFormat, SC_IMGSAVE_JPG);
    EXPECT_EQ(fake.lastExportOptions.nJpegQuality, 35);
    for (std::uint8_t b : fake.lastExportOptions.reserved)
        ASSERT_EQ(b, 0);
}

TEST_F(ScanifyOperations, APackageNameWithoutTerminatorIsReadOnlyToTheEndOfItsField)
{
    fake.rawPackageName = std::vector<char>(256, 'p');
    ScPackageHandle package = 0;
    QString error;
    ASSERT_TRUE(CreatePack(package, error));
    EXPECT_EQ(log.lines.value(1), QStringLiteral("  пакет создан в директории: ") + QString(256, QLatin1Char('p')));
}

} // namespace
