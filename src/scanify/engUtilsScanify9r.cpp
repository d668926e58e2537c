// The engine instance, packages, the TWAIN source, scanning and export.
#include "scanify/engUtilsScanify9r.h"

#include "common/OperatorLog.h"
#include "base/PackageTexts.h"
#include "base/ResString.h"
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "scanify/ScanifyLog.h"
#include "scanify/ScanifyText.h"
#include "scanify/scapi.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <cstdlib>
#include <exception>

ScInstanceHandle gl_hScInstance = 0;
ScPackageHandle gl_hScPackage = 0;

namespace {

const QString kCr2 = QStringLiteral("\r\r");

QString engineError(ScInstanceHandle instance)
{
    return scanify::FromEngineText(SC_CALL(ScGetErrorMessage)(instance, 0));
}

/// A folder "dss" + four upper-case hex digits under the data folder that
/// does not exist yet: a package must never land in another run's folder.
/// The package start removes such folders once they are older than the days
/// kept (common/PackageFolders.h), so the name must keep that form.
/// Empty when there is no data folder: a bare "dssXXXX" would make the engine
/// put the package wherever the host happens to run.
QString newPackageFolder()
{
    const QString base = GetUserDataFolder();
    if (base.isEmpty())
        return QString();
    constexpr int kNumbers = 65535; // 0 .. 65534
    const int start = std::rand() % kNumbers;
    QString candidate;
    for (int i = 0; i < kNumbers; ++i) {
        const int number = (start + i) % kNumbers;
        candidate = base + QStringLiteral("dss") + QStringLiteral("%1").arg(number, 4, 16, QLatin1Char('0')).toUpper();
        if (!QFileInfo::exists(candidate))
            break;
    }
    return candidate;
}

} // namespace

QString InitScanify()
{
    QString result;
    try {
        gl_hScInstance = SC_CALL(ScInitialize)(nullptr);
        if (gl_hScInstance == 0) {
            const QString engineText = scanify::FromEngineText(SC_CALL(ScGetErrorMessage)(0, 0)).left(255);
            result = LoadResString(&_S_ERROR_INIT_COGNITIVE_ENGINE) + kCr2 +
                     QLocale::system().toLower(engineText + QLatin1Char('.'));
        }
    } catch (const std::exception &e) {
        gl_hScInstance = 0;
        result = LoadResString(&_S_ERROR_INIT_COGNITIVE_ENGINE) + kCr2 + QString::fromUtf8(e.what());
    }
    if (!result.isEmpty())
        recognition::LogFailure(QStringLiteral("InitScanify"), result);
    return result;
}

void CloseScanify()
{
    // The host ends the instance before it unloads the library; after a failed
    // load there is nothing to end.
    if (scapi::LibraryLoaded() && ScTerminate)
        ScTerminate(gl_hScInstance, nullptr);
    gl_hScInstance = 0;
}

bool CreatePack(ScPackageHandle &AScPackage, QString &AError)
{
    scanify::Protocol(QStringLiteral("Создание нового пакета..."));
    if (AScPackage != 0) {
        const ScPackageHandle previous = AScPackage;
        AScPackage = 0;
        SC_CALL(ScPackageDestroy)(previous);
    }
    const QString packageFolder = newPackageFolder();
    if (packageFolder.isEmpty()) {
        AError = QString(texts::UserFolderForPackage);
        return false;
    }
    const QByteArray folder = scanify::ToEngineText(packageFolder);
    AScPackage = SC_CALL(ScPackageCreate)(gl_hScInstance, folder.constData());
    if (AScPackage == 0) {
        AError = engineError(gl_hScInstance);
        return false;
    }
    TScPackageInformation info{};
    SC_CALL(ScPackageGetInformation)(AScPackage, &info);
    scanify::Protocol(QStringLiteral("  пакет создан в директории: ") + scanify::FromEngineField(info.szName));
    return true;
}

bool OpenTwainSource(ScScanDeviceHandle &AScScanDev, QString &AError, ScWindowHandle AFormHandle,
                     QString &AScannerName)
{
    scanify::Protocol(QStringLiteral("Инициализация устройства сканирования (TWAIN)..."));
    QString sourceName;
    if (AScannerName.isEmpty()) {
        scanify::Protocol(QStringLiteral("  пользователь должен выбрать TWAIN-источник из списка имеющихся:"));
        SC_CALL(ScScannerGetTWAINSourceCount)(gl_hScInstance);
        if (!ScIsTrue(SC_CALL(ScScannerSelectTWAINSource)(gl_hScInstance, AFormHandle))) {
            AError = LoadResString(&_S_TWAIN_SOURCE_PROBLEM);
            return false;
        }
        sourceName = scanify::FromEngineText(SC_CALL(ScScannerGetTWAINSourceName)(gl_hScInstance, -1));
    } else {
        sourceName = AScannerName;
    }

    const QByteArray engineName = scanify::ToEngineText(sourceName);
    AScScanDev = SC_CALL(ScScannerOpen)(gl_hScInstance, SC_DEV_SCANNER, engineName.constData());
    if (AScScanDev == 0) {
        AError = LoadResString(&_S_TWAIN_OPEN_ERROR) + kCr2 + engineError(gl_hScInstance);
        return false;
    }
    if (!sourceName.isEmpty())
        AScannerName = sourceName;
    scanify::Protocol(sourceName + QStringLiteral("  устройство успешно инициализировано."));
    return true;
}

bool ScanToPackage(ScScanDeviceHandle AScScanDev, ScImageHandle &AScImage, QString &AError)
{
    // The hourglass shows while the engine scans; the caller's own busy state
    // covers the rest of its run.
    struct WaitCursor
    {
        WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
        ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    } waitCursor;

    AScImage = SC_CALL(ScPackageScan)(gl_hScPackage, AScScanDev, nullptr);
    if (AScImage != 0)
        return true;
    if (SC_CALL(ScGetErrorCode)(gl_hScInstance) != 0)
        AError = engineError(gl_hScInstance);
    else
        AError = LoadResString(&_S_SCANNED_0_PICTURES);
    return false;
}

void ExportImageToArchive(ScImageHandle AScImage, const QString &AFullImageName)
{
    TScExportImageOptions options{};
    options.nSaveFormat = SC_IMGSAVE_JPG;
    options.nJpegQuality = 35;
    const QByteArray fileName = scanify::ToEngineText(AFullImageName);
    // The page that is not written shows as a picture that cannot be read;
    // the engine's own words for why go to the log.
    if (!ScIsTrue(SC_CALL(ScImageExport)(AScImage, fileName.constData(), &options)))
        recognition::LogFailure(QStringLiteral("Страница не сохранена в пакете (ScImageExport)"), engineError(gl_hScInstance));
}
