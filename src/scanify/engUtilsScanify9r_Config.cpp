// The engine's configuration files: named scanning configurations and the
// zone definitions they refer to. The two files differ only in the turn the
// engine applies to the passport zones.
#include "scanify/engUtilsScanify9r.h"
#include "scanify/ConfigKeys.h"

#include "common/PackageFiles.h"
#include "base/PackageTexts.h"
#include "common/TProfileFile.h"
#include "common/engCommon9r_p.h"

#include <QFile>

#include <stdexcept>
#include <utility>

namespace {

using namespace scanify::configkey;

/// One key of a configuration file: a text, a decimal number, or the turn of
/// the passport zones (the one value that differs between the files).
struct ConfigKey
{
    enum Kind { Text, Number, Turn };
    const char *section;
    const char *key;
    Kind kind;
    const char *text;
    int number;
};

constexpr ConfigKey T(const char *section, const char *key, const char *text)
{
    return {section, key, ConfigKey::Text, text, 0};
}
constexpr ConfigKey N(const char *section, const char *key, int number)
{
    return {section, key, ConfigKey::Number, nullptr, number};
}
constexpr ConfigKey Turn(const char *section, const char *key)
{
    return {section, key, ConfigKey::Turn, nullptr, 0};
}

// In the order the keys are written, which is also their order in a new file.
constexpr ConfigKey g_content[] = {
    N("DefaultScanningConfiguration", "UseADF", 0),
    N("DefaultScanningConfiguration", "ResolutionX", 300),
    N("DefaultScanningConfiguration", "ResolutionY", 300),
    N("DefaultScanningConfiguration", "BitsPerPixel", 24),
    N("DefaultScanningConfiguration", "NumPages", 1),
    T("DefaultScanningConfiguration", "PageDimensions", "0mm 0mm 210mm 270mm"),
    T("DefaultScanningConfiguration", "Zone1", "0mm 0mm 210mm 270mm"),
    T("DefaultScanningConfiguration", FirstZoneType, "ZoneOfPassportRF"),

    N(SelectedConfiguration, ShowTwain, 0),
    N(SelectedConfiguration, "UseADF", 0),
    N(SelectedConfiguration, "ResolutionX", 300),
    N(SelectedConfiguration, "ResolutionY", 300),
    N(SelectedConfiguration, "BitsPerPixel", 24),
    N(SelectedConfiguration, "NumPages", 1),
    T(SelectedConfiguration, "PageDimensions", "0mm 0mm 210mm 180mm"),
    T(SelectedConfiguration, "Zone1", "0mm 0mm -1mm -1mm"),
    T(SelectedConfiguration, FirstZoneType, "ZoneOfPassportRF"),
    T(SelectedConfiguration, "Zone1DocsFinderParm", "psp"),
    T(SelectedConfiguration, "Zone2", "0mm 0mm -1mm -1mm"),
    T(SelectedConfiguration, "Zone2Type", "ZoneOfDrivingLicenceRF"),
    T(SelectedConfiguration, "Zone2DocsFinderParm", "drvl_card"),
    T(SelectedConfiguration, "Zone3", "0mm 0mm -1mm -1mm"),
    T(SelectedConfiguration, "Zone3Type", "ZoneOfInoPassportRF"),
    T(SelectedConfiguration, "Zone3DocsFinderParm", "inopsp"),
    T(SelectedConfiguration, "Zone4", "0mm 0mm -1mm -1mm"),
    T(SelectedConfiguration, "Zone4Type", "ZoneOfMRZ_rotate"),
    T(SelectedConfiguration, "Zone5", "0mm 0mm -1mm -1mm"),
    T(SelectedConfiguration, "Zone5Type", "ZoneOfBioPassport"),
    T(SelectedConfiguration, "Zone5DocsFinderParm", "biopsp"),

    N("ScanInoPassport", "UseADF", 0),
    N("ScanInoPassport", "ResolutionX", 300),
    N("ScanInoPassport", "ResolutionY", 300),
    N("ScanInoPassport", "BitsPerPixel", 24),
    N("ScanInoPassport", "NumPages", 1),
    T("ScanInoPassport", "PageDimensions", "0mm 0mm 210mm 180mm"),
    T("ScanInoPassport", "Zone1", "0mm 0mm -1mm -1mm"),
    T("ScanInoPassport", FirstZoneType, "ZoneOfMRZ_rotate"),

    N("ScanPassportA6", ShowTwain, 0),
    N("ScanPassportA6", "UseADF", 0),
    N("ScanPassportA6", "ResolutionX", 300),
    N("ScanPassportA6", "ResolutionY", 300),
    N("ScanPassportA6", "BitsPerPixel", 24),
    N("ScanPassportA6", "NumPages", 1),
    T("ScanPassportA6", "PageDimensions", "0mm 0mm 150mm 107mm"),
    T("ScanPassportA6", "Zone1", "0mm 0mm -1mm -1mm"),
    T("ScanPassportA6", FirstZoneType, "ZoneOfPassportA6"),

    N("ScanPassportA5", ShowTwain, 0),
    N("ScanPassportA5", "UseADF", 0),
    N("ScanPassportA5", "ResolutionX", 300),
    N("ScanPassportA5", "ResolutionY", 300),
    N("ScanPassportA5", "BitsPerPixel", 24),
    N("ScanPassportA5", "NumPages", 1),
    T("ScanPassportA5", "PageDimensions", "0mm 0mm 180mm 150mm"),
    T("ScanPassportA5", "Zone1", "0mm 0mm 180mm 150mm"),
    T("ScanPassportA5", FirstZoneType, "ZoneOfPassportRF_rotate"),

    T("ZoneOfPassportRF", "ZoneRecognition1", "frm\\psp12\\pasp_nat_rus\\passport1.frm"),
    T("ZoneOfPassportRF", "ZoneRecognition2", "frm\\psp12\\pasp_nat_rus\\passport2.frm"),
    T("ZoneOfPassportA6", "ZoneRecognition1", "frm\\psp12\\pasp_nat_rus\\half\\pspnatrusbotlogic.frm"),
    T("ZoneOfPassportA6", "ZoneRecognition2", "frm\\psp12\\pasp_nat_rus\\half\\pspnatrusbot.frm"),
    T("ZoneOfPassportA6", "ZoneRecognition3", "frm\\psp12\\pasp_nat_rus\\half\\pspnatrusbotmrz.frm"),
    T("ZoneOfPassportRF_rotate", "ZoneProcessing", "_ImageRotate@16"),
    Turn("ZoneOfPassportRF_rotate", ZoneTurn),
    T("ZoneOfPassportRF_rotate", "ZoneResult", "ZoneOfPassportRF, break_chain"),
    T("ZoneOfDrivingLicenceRF", "ZoneRecognition1", "frm\\psp12\\drvlic\\drvl1.frm"),
    T("ZoneOfDrivingLicenceRF", "ZoneRecognition2", "frm\\psp12\\drvlic\\drvl2.frm"),
    T("ZoneOfDrivingLicenceRF", "ZoneRecognition3", "frm\\psp12\\drvlic\\drvl3.frm"),
    T("ZoneOfDrivingLicenceRF", "ZoneRecognition4", "frm\\psp12\\drvlic\\drvl4.frm"),
    T("ZoneOfInoPassportRF", "ZoneRecognition1", "frm\\psp12\\pasp_ino_rus\\InoPas1a.frm"),
    T("ZoneOfBioPassport", "ZoneRecognition1", "frm\\psp12\\pasp_bio_rus\\bio_full.frm"),
    T("ZoneOfMRZ_rotate", "ZoneProcessing", "_ImageRotate@16"),
    Turn("ZoneOfMRZ_rotate", ZoneTurn),
    T("ZoneOfMRZ_rotate", "ZoneResult", "ZoneOfMRZ, break_chain"),
    T("ZoneOfMRZ", "ZoneRecognition1", "frm\\psp12\\pasp_ino_ino\\InoPas_MRZ.FRM"),
    T("ZoneOfMRZ", "ZoneRecognition2", "frm\\psp12\\pasp_ino_ino\\InoPasD_MRZ.FRM"),
    T("ZoneOfMRZ", "ZoneRecognition3", "frm\\psp12\\pasp_ino_ino\\InoPas_MRZ_A6.FRM"),
    T("ZoneOfMRZ", "ZoneRecognition4", "frm\\psp12\\pasp_ino_ino\\InoPasD_MRZ_A6.FRM"),
};

/// Writes the whole content with the given turn through gl_sScApiIniFile,
/// which holds the file object only while this runs.
void writeConfigFile(const QString &path, int turn)
{
    const TScopedGlobal<TProfileFile> file(gl_sScApiIniFile, path);
    gl_sScApiIniFile->BeginUpdate();
    for (const ConfigKey &row : g_content) {
        const QString section = QLatin1String(row.section);
        const QString key = QLatin1String(row.key);
        switch (row.kind) {
        case ConfigKey::Text:
            gl_sScApiIniFile->WriteString(section, key, QLatin1String(row.text));
            break;
        case ConfigKey::Number:
            gl_sScApiIniFile->WriteInteger(section, key, row.number);
            break;
        case ConfigKey::Turn:
            gl_sScApiIniFile->WriteInteger(section, key, turn);
            break;
        }
    }
    gl_sScApiIniFile->EndUpdate();
}

/// Whether the file holds the scanning configuration the recognition selects.
/// The files are ours alone: one without it (the two-line stub an earlier
/// version left of a deleted file, or an empty one) fails every run.
bool holdsSelectedConfiguration(const QString &path)
{
    const TProfileFile file(path);
    return !file.ReadString(QLatin1String(SelectedConfiguration), QLatin1String(FirstZoneType), QString()).isEmpty();
}

/// Writes the file whole when it is missing or incomplete.
void writeIfIncomplete(const QString &folder, const char *name, int turn)
{
    const QString path = PackageFilePath(folder, QLatin1String(name));
    if (PackageFileExists(folder, QLatin1String(name))) {
        if (holdsSelectedConfiguration(path))
            return;
        // Whole means nothing of the incomplete file stays in the new one;
        // it is kept aside, as an unreadable settings file is, not lost.
        const QString aside = path + QStringLiteral(".bad");
        QFile::remove(aside);
        if (!QFile::rename(path, aside) && !QFile::remove(path))
            throw std::runtime_error(
                QString(texts::EngineSettingsNotReplaced)
                    .arg(QLatin1String(name))
                    .toStdString());
    }
    writeConfigFile(path, turn);
}

QString userDataFolder()
{
    const QString folder = GetUserDataFolder();
    if (folder.isEmpty())
        throw std::runtime_error(texts::UserFolderForEngineSettings);
    return folder;
}

} // namespace

void CreateScApiIniFile()
{
    const QString folder = userDataFolder();
    writeIfIncomplete(folder, scanify::ConfigFile270, 270);
    writeIfIncomplete(folder, scanify::ConfigFile90, 90);
}

namespace scanify {

void WriteShowTwain(bool show)
{
    const QString folder = userDataFolder();
    for (const auto &[name, turn] : {std::pair{ConfigFile90, 90}, std::pair{ConfigFile270, 270}}) {
        // Written by itself, the key would make a two-line file of a deleted
        // one, which the engine cannot scan with.
        writeIfIncomplete(folder, name, turn);
        const TScopedGlobal<TProfileFile> file(gl_sScApiIniFile, PackageFilePath(folder, QLatin1String(name)));
        if (file->ReadString(QLatin1String(SelectedConfiguration), QLatin1String(FirstZoneType), QString()).isEmpty())
            continue;
        file->WriteInteger(QLatin1String(SelectedConfiguration), QLatin1String(ShowTwain), show ? 1 : 0);
    }
}

} // namespace scanify
