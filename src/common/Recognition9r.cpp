#include "common/Recognition9r.h"
#include "base/PackageUnits.h"
#include "platform/OwnFolder.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <iterator>

TABBYYRecognitionFM *ABBYYRecognitionFM = nullptr;
TCognitiveRecognitionFM *CognitiveRecognitionFM = nullptr;
TDocFromScannerFM *DocFromScannerFM = nullptr;
TPhotoFromCameraFM *PhotoFromCameraFM = nullptr;
TSelectRecognizerFM *SelectRecognizerFM = nullptr;

namespace {

std::int32_t g_countResample = 0;
std::int32_t g_countCommon = 0;
std::int32_t g_countUtilsABBYY = 0;

// Units of the host packages are started by the host; the table only lists
// them, as the host's package loader expects every linked unit to appear.
const TPackageUnit g_units[] = {
    {"RtlVelmar32", nullptr, nullptr, nullptr},
    {"RtlVelmar9r32", nullptr, nullptr, nullptr},
    {"VclVelmar9r32", nullptr, nullptr, nullptr},
    {"DVS9r32", nullptr, nullptr, nullptr},
    {"engResample", engResample_Initialization, engResample_Finalization, &g_countResample},
    {"engCommon9r", engCommon9r_Initialization, engCommon9r_Finalization, &g_countCommon},
    {"engUtilsABBYY9r", engUtilsABBYY9r_Initialization, engUtilsABBYY9r_Finalization, &g_countUtilsABBYY},
    {"Mscorlib_tlb", nullptr, nullptr, nullptr},
    {"ABBYY_PassportReaderSdk_TLB", nullptr, nullptr, nullptr},
    {"ScApi", nullptr, nullptr, nullptr},
    {"engUtilsScanify9r", nullptr, nullptr, nullptr},
    {"MultiTWAIN", nullptr, nullptr, nullptr},
    {"engSelectRecognizer9r_FM", nullptr, nullptr, nullptr},
    {"engABBYY9r_FM", nullptr, nullptr, nullptr},
    {"engCognitive9r_FM", nullptr, nullptr, nullptr},
    {"engDocFromScanner9r_FM", nullptr, nullptr, nullptr},
    {"engPhotoFromCamera9r_FM", nullptr, nullptr, nullptr},
    {"Recognition9r", nullptr, nullptr, nullptr},
};

const TPackageInfo g_table = {std::int32_t(std::size(g_units)), g_units};

// The language module: a translation of the package's messages that lies next
// to the library as "recognition9r_<language>.qm". Installed when the library
// is loaded into a running application, removed when it is unloaded.
QTranslator *g_languageModule = nullptr;

QString libraryFolder()
{
    return r9base::FolderOfFileAt(reinterpret_cast<const void *>(&libraryFolder));
}

__attribute__((constructor)) void moduleAttach()
{
    if (!QCoreApplication::instance())
        return;
    auto *translator = new QTranslator();
    if (translator->load(QLocale(), QStringLiteral("recognition9r"), QStringLiteral("_"), libraryFolder())
        && QCoreApplication::installTranslator(translator)) {
        g_languageModule = translator;
        return;
    }
    delete translator;
}

__attribute__((destructor)) void moduleDetach()
{
    if (!g_languageModule)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::removeTranslator(g_languageModule);
    delete g_languageModule;
    g_languageModule = nullptr;
}

} // namespace

void Initialize()
{
    for (const TPackageUnit &unit : g_units) {
        if (!unit.StartCount)
            continue;
        // Counted only once the start work succeeded, so a failed start can
        // be retried and is not undone by Finalize.
        if (*unit.StartCount == 0 && unit.Init)
            unit.Init();
        ++*unit.StartCount;
    }
}

void Finalize()
{
    for (auto it = std::rbegin(g_units); it != std::rend(g_units); ++it) {
        if (!it->StartCount || *it->StartCount == 0)
            continue;
        if (--*it->StartCount == 0 && it->FInit)
            it->FInit();
    }
}

const TPackageInfo *GetPackageInfoTable()
{
    return &g_table;
}
