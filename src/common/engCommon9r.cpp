#include "common/engCommon9r_p.h"
#include "base/PackageUnits.h"
#include "common/FormSettings.h"
#include "common/PackageFolders.h"
#include "common/PrivateFiles.h"
#include "common/TSettingsFile.h"
#include "host/HostServices_p.h"
#include "host/Sdlogfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>
#include <chrono>
#include <cstdlib>

TOrderedStrings *gl_ListAllowedDocuments = nullptr;
TOrderedStrings *gl_ListAvailableDocuments = nullptr;

bool gl_Protocol = false;
bool gl_PhotoToAccountData = false;
bool gl_DocumentToAccountData = false;
bool gl_FIOOnLatin = false;
QString gl_sScannerName;
std::int32_t gl_ScannerItemIndex = -1;
bool gl_ShowTwainSupported = false;
bool gl_TwainDialogNeed = false;
bool gl_SelectScanner = true;
bool gl_BrightnessSupported = false;
std::int32_t gl_BrightnessValue = 50;
bool gl_OrientSupported = false;
std::int32_t gl_OrientValue = 0;
bool gl_PaperSizeSupported = false;
std::int32_t gl_PaperSizeIndex = -1;
QString gl_PaperSizeValue;
bool gl_ColorModeSupported = false;
std::int32_t gl_ColorModeValue = 0;
std::int32_t gl_RotationIndex = 0;
std::int32_t gl_PackageKeepDays = 30;

TSettingsFile *gl_RecognizeIniFile = nullptr;
QString gl_sRecognizeIniFileName;
IStringsArrayPtr gl_ScanSettings;
host::IDataSet *gl_cdsNationalities = nullptr;
TProfileFile *gl_sScApiIniFile = nullptr;
void *CognitiveLibInstance = nullptr;
std::int32_t iDoc = 0;

// Defined beside the shared variables, not in the host layer, which knows
// nothing of them: the host's nationalities become gl_cdsNationalities here.
void InstallHostServices(const host::THostServices *services)
{
    gl_cdsNationalities = host::InstallServices(services).Nationalities;
}

namespace {

struct CatalogueRow
{
    const char *identifier;
    const ResString *docName;
    const ResString *shortDocName;
    TTypeDocument type;
    bool enabled;
};

const CatalogueRow g_catalogue[] = {
    {"Passport_RU", &_S_PASSPORT_RU, &_S_PASSPORT, tdPassport, false},
    {"ForeignPassport_RU", &_S_FOREIGN_PASSPORT_RU, &_S_FOREIGN_PASSPORT, tdForeignPassport, false},
    {"DriverLicense_RU", &_S_DRIVING_PERMIT_RU, &_S_DRIVER_LICENSE, tdDriverLicense, false},
    {"ForeignPassport_MRZ", &_S_FOREIGN_PASSPORT_MRZ, &_S_FOREIGN_PASSPORT, tdMRZDocument, false},
    {"ForeignPassport_AZ", &_S_FOREIGN_PASSPORT_AZ, &_S_FOREIGN_PASSPORT, tdForeignPassport, false},
    {"ID_AZ", &_S_IDENT_CARD_AZ, &_S_IDENTIFICATION_CARD, tdIdentificationCard, false},
    {"Passport_BY", &_S_PASSPORT_BY, &_S_PASSPORT, tdPassport, true},
    {"ForeignPassport_BY", &_S_FOREIGN_PASSPORT_BY, &_S_FOREIGN_PASSPORT, tdForeignPassport, false},
    {"ForeignPassport_KZ", &_S_FOREIGN_PASSPORT_KZ, &_S_FOREIGN_PASSPORT, tdForeignPassport, false},
    {"ID_KZ", &_S_IDENT_CARD_KZ, &_S_IDENTIFICATION_CARD, tdIdentificationCard, false},
    {"DriverLicense_KZ", &_S_DRIVING_PERMIT_KZ, &_S_DRIVER_LICENSE, tdDriverLicense, false},
    {"ID_KG", &_S_IDENT_CARD_KG, &_S_IDENTIFICATION_CARD, tdIdentificationCard, false},
    {"DriverLicense_KG", &_S_DRIVING_PERMIT_KG, &_S_DRIVER_LICENSE, tdDriverLicense, false},
    {"Passport_TJ", &_S_PASSPORT_TJ, &_S_PASSPORT, tdPassport, false},
    {"ForeignPassport_TJ", &_S_FOREIGN_PASSPORT_TJ, &_S_FOREIGN_PASSPORT, tdForeignPassport, false},
    {"Passport_UZ", &_S_PASSPORT_UZ, &_S_PASSPORT, tdPassport, false},
    {"ForeignPassport_UZ", &_S_FOREIGN_PASSPORT_UZ, &_S_FOREIGN_PASSPORT, tdForeignPassport, false},
    {"DriverLicense_UZ", &_S_DRIVING_PERMIT_UZ, &_S_DRIVER_LICENSE, tdDriverLicense, false},
    {"ForeignPassport_UA", &_S_FOREIGN_PASSPORT_UA, &_S_FOREIGN_PASSPORT, tdForeignPassport, false},
};

} // namespace

QString GetUserDataFolder()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        const QString home = qEnvironmentVariable("HOME", QDir::homePath());
        if (home.isEmpty())
            return QString();
        base = home + QStringLiteral("/.config");
    }
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QString folder = base + QStringLiteral("Velmar-Q-70/");
    if (!MakePrivateFolder(folder)) {
        // A folder there that cannot be closed (another owner, a file system
        // without modes) still holds the operator's settings: it serves, and
        // support is told once.
        if (!QFileInfo(folder).isDir())
            return QString();
        static bool told = false;
        if (!told) {
            told = true;
            WriteLogFileMessageWhenInstalled(
                QStringLiteral("Папку данных пакета не удалось сделать доступной только владельцу"));
        }
    }
    return folder;
}

void WithRecognizeIniFile(const std::function<void(TSettingsFile &ini)> &work)
{
    const TScopedGlobal<TSettingsFile> file(gl_RecognizeIniFile, gl_sRecognizeIniFileName);
    work(*file);
}

void engCommon9r_Initialization()
{
    gl_Protocol = false;
    std::srand(unsigned(std::chrono::system_clock::now().time_since_epoch().count()));
    gl_sRecognizeIniFileName = GetUserDataFolder() + QStringLiteral("Recognize.iniu");
    WithRecognizeIniFile([](TSettingsFile &ini) { settings::ReadAll(ini); });
    RemoveOldPackageFolders(GetUserDataFolder(), gl_PackageKeepDays, QDateTime::currentDateTime());
    // What the folder held before it was closed (the packages of an earlier
    // version, files copied in) is closed too; links are not followed.
    if (const QString folder = GetUserDataFolder(); !folder.isEmpty() && !MakePrivate(folder))
        WriteLogFileMessageWhenInstalled(QStringLiteral("Не все файлы в папке данных пользователя удалось сделать доступными только пользователю"));

    gl_ListAvailableDocuments = new TOrderedStrings();
    gl_ListAllowedDocuments = new TOrderedStrings(true);
    gl_ListAllowedDocuments->NameValueSeparator = QLatin1Char('=');
    for (const CatalogueRow &row : g_catalogue) {
        const QString docName = LoadResString(row.docName);
        const QString shortName = LoadResString(row.shortDocName);
        auto *info = new TDocumentInfo(QString::fromLatin1(row.identifier), docName, shortName,
                                       QString(), row.type, row.enabled);
        gl_ListAllowedDocuments->AddObject(QString::fromLatin1(row.identifier) + QLatin1Char('=') + docName, info);
    }
}

void engCommon9r_Finalization()
{
    if (gl_ListAllowedDocuments) {
        for (iDoc = 0; iDoc < gl_ListAllowedDocuments->Count(); ++iDoc) {
            delete gl_ListAllowedDocuments->Objects(iDoc);
            gl_ListAllowedDocuments->SetObject(iDoc, nullptr);
        }
        gl_ListAllowedDocuments->Clear();
    }
    delete gl_ListAllowedDocuments;
    gl_ListAllowedDocuments = nullptr;
    delete gl_ListAvailableDocuments;
    gl_ListAvailableDocuments = nullptr;
    if (gl_ScanSettings)
        gl_ScanSettings = nullptr;
    gl_sScannerName.clear();
    gl_PaperSizeValue.clear();
    gl_sRecognizeIniFileName.clear();
}
