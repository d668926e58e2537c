// Every free function and variable the installed public headers declare,
// linked from outside the package: the table below takes the address of each,
// so a name the library does not export fails this program's link. Then at
// least one function of every header is called. With the reference host's
// installed folder it also starts the Scanify engine stand-in installed there.
#include "PublicFunctions.h"

#include <abbyy/engABBYY9r_FM.h>
#include <abbyy/engUtilsABBYY9r.h>
#include <camera/TFrameGeometry.h>
#include <camera/engPhotoFromCamera9r_FM.h>
#include <common/LoadPictureFromFile.h>
#include <common/Recognition9r.h>
#include <base/ResString.h>
#include <common/engCommon9r.h>
#include <base/engCommon9rMessages.h>
#include <common/engSelectRecognizer9r_FM.h>
#include <host/DVS9r32.h>
#include <host/HostServices.h>
#include <host/Kr9rIntf.h>
#include <host/Sdlogfile.h>
#include <host/VclVelmar9r32.h>
#include <imaging/engResample.h>
#include <scanify/engUtilsScanify9r.h>
#include <twain/MultiTWAIN.h>
#include <twain/engDocFromScanner9r_FM.h>
#include <ui/TPictureBox.h>

#include <QImage>
#include <cstdio>
#include <memory>
#include <stdexcept>

template <class T>
const void *Address(T *entity)
{
    return reinterpret_cast<const void *>(entity);
}

// External linkage: the compiler must keep the table, and with it every reference.
extern const void *const tinyhostPublicNames[];
const void *const tinyhostPublicNames[] = {
    // common/Recognition9r.h
    Address(&Initialize), Address(&Finalize), Address(&GetPackageInfoTable), Address(&ABBYYRecognitionFM),
    Address(&CognitiveRecognitionFM), Address(&DocFromScannerFM), Address(&PhotoFromCameraFM),
    Address(&SelectRecognizerFM),
    // common/engCommon9r.h
    Address(&gl_ListAllowedDocuments), Address(&gl_ListAvailableDocuments), Address(&gl_Protocol),
    Address(&gl_PhotoToAccountData), Address(&gl_DocumentToAccountData), Address(&gl_FIOOnLatin),
    Address(&gl_sScannerName), Address(&gl_ScannerItemIndex), Address(&gl_ShowTwainSupported),
    Address(&gl_TwainDialogNeed), Address(&gl_SelectScanner), Address(&gl_BrightnessSupported),
    Address(&gl_BrightnessValue), Address(&gl_OrientSupported), Address(&gl_OrientValue),
    Address(&gl_PaperSizeSupported), Address(&gl_PaperSizeIndex), Address(&gl_PaperSizeValue),
    Address(&gl_ColorModeSupported), Address(&gl_ColorModeValue), Address(&gl_RotationIndex),
    Address(&gl_RecognizeIniFile), Address(&gl_sRecognizeIniFileName), Address(&gl_ScanSettings),
    Address(&gl_cdsNationalities), Address(&gl_sScApiIniFile), Address(&CognitiveLibInstance), Address(&iDoc),
    Address(&GetUserDataFolder),
    // base/engCommon9rMessages.h, base/ResString.h
    Address(&_S_ERROR), Address(&_S_ScProxy_INI_NOT_FOUND), Address(&ResStringTable), Address(&FindResString),
    Address(&LoadResString),
    // common/engSelectRecognizer9r_FM.h, common/LoadPictureFromFile.h
    Address(&TSelectRecognizerFM_Create), Address(&LoadPictureFromFile),
    // sdk/ABBYY_PassportReaderSdk_TLB.h, abbyy/engABBYY9r_FM.h, abbyy/engUtilsABBYY9r.h
    Address(&CoRecognitionEngine::Create), Address(&CoRecognitionEngine::CreateRemote),
    Address(&CoInitParams::Create), Address(&CoInitParams::CreateRemote), Address(&TABBYYRecognitionFM_Create),
    Address(&gl_RecognitionEngine), Address(&InitEngine), Address(&CloseEngine), Address(&GetAllowedDocuments),
    Address(&SetScannerProps), Address(&ChangeBrightness), Address(&CheckSymbols),
    Address(&InterfacePacketToVariant), Address(&SetDocumentsAvailability), Address(&abbyy::HasUntrustedSymbols),
    Address(&abbyy::CreateRecognitionEngine), Address(&abbyy::CreateInitParams),
    // camera/engPhotoFromCamera9r_FM.h, camera/TFrameGeometry.h
    Address(&TPhotoFromCameraFM_Create), Address(&camera::GripPosition), Address(&camera::GripRect),
    Address(&camera::MovedFrame), Address(&camera::DraggedEdge), Address(&camera::FrameFittedInto),
    // host/*.h
    Address(&InstallHostServices), Address(&host::InstalledHostServices), Address(&host::RequireVideo),
    Address(&host::UserHasRightsOn), Address(&host::InstallLogFile), Address(&host::InstalledLogFile),
    Address(&WriteLogFileMessage), Address(&host::PluginManager), Address(&host::TQ70ConfigManager::Create),
    Address(&host::TSimpleView::Create), Address(&host::TSchemePersistence::ViewAttributesAsInt),
    Address(&host::TSchemePersistence::IntAsViewAttributes), Address(&host::TfmSelCam::Select),
    // imaging/engResample.h
    Address(&BoxFilter), Address(&TriangleFilter), Address(&HermiteFilter), Address(&BellFilter),
    Address(&SplineFilter), Address(&Lanczos3Filter), Address(&MitchellFilter), Address(&ResampleFilters),
    Address(&Strecth), Address(&engResample::StrecthWith), Address(&engResample::BuildContributors),
    Address(&engResample::SimdAvailable),
    // scanify/engUtilsScanify9r.h
    Address(&gl_hScInstance), Address(&gl_hScPackage), Address(&LoadCognitiveDll), Address(&FreeCognitiveDll),
    Address(&CreateScApiIniFile), Address(&InitScanify), Address(&CloseScanify), Address(&CreatePack),
    Address(&OpenTwainSource), Address(&ScanToPackage), Address(&ExportImageToArchive),
    Address(&FillDocumentCtrl), Address(&scanify::HostExecutableFolder), Address(&scanify::NormalFieldColor),
    Address(&scanify::DoubtfulFieldColor), Address(&scanify::ErroneousFieldColor),
    // twain/engDocFromScanner9r_FM.h, twain/MultiTWAIN.h
    Address(&TDocFromScannerFM_Create), Address(&TDocScannerCalls::Layer),
    Address(&TWAIN_RegisterApp), Address(&TWAIN_SelectImageSource), Address(&TWAIN_AcquireNative),
    Address(&TWAIN_FreeNative), Address(&TWAIN_RegisterCallback), Address(&TWAIN_UnRegisterCallback),
    Address(&TWAIN_ClearDibList), Address(&TWAIN_GetNumDibs), Address(&TWAIN_GetDib), Address(&TWAIN_IsAvailable),
    Address(&TWAIN_LayerVersion), Address(&TWAIN_State), Address(&TWAIN_GetHideUI), Address(&TWAIN_SetHideUI),
    Address(&TWAIN_LoadSourceManager), Address(&TWAIN_OpenSourceManager), Address(&TWAIN_OpenDefaultSource),
    Address(&TWAIN_EnableSource), Address(&TWAIN_DisableSource), Address(&TWAIN_CloseSource),
    Address(&TWAIN_CloseSourceManager), Address(&TWAIN_UnloadSourceManager), Address(&TWAIN_ModalEventLoop),
    Address(&TWAIN_MessageHook), Address(&TWAIN_NativeXferGetAll), Address(&TWAIN_AbortAllPendingXfers),
    Address(&TWAIN_ReportLastError), Address(&TWAIN_NegotiatePixelTypes), Address(&TWAIN_NegotiateXferCount),
    Address(&TWAIN_SetCapOneValue), Address(&TWAIN_GetCapCurrent), Address(&TWAIN_GetCurrentUnits),
    Address(&TWAIN_SetCurrentUnits), Address(&TWAIN_GetBitDepth), Address(&TWAIN_SetBitDepth),
    Address(&TWAIN_GetPixelType), Address(&TWAIN_SetCurrentPixelType), Address(&TWAIN_GetCurrentResolution),
    Address(&TWAIN_SetCurrentResolution), Address(&TWAIN_DS), Address(&TWAIN_Mgr), Address(&TWAIN_GetResultCode),
    Address(&TWAIN_GetConditionCode), Address(&TWAIN_DibDepth), Address(&TWAIN_DibWidth), Address(&TWAIN_DibHeight),
    Address(&TWAIN_DibNumColors), Address(&TWAIN_CreateDibPalette), Address(&TWAIN_DeletePalette),
    Address(&TWAIN_DrawDibToDC), Address(&TWAIN_WriteDibToFile), Address(&TWAIN_WriteNativeToFile),
    Address(&TWAIN_WriteNativeToFilename), Address(&TWAIN_LoadNativeFromFile), Address(&TWAIN_LoadNativeFromFilename),
    Address(&TWAIN_AcquireToClipboard), Address(&TWAIN_AcquireToFilename), Address(&CopyDIBIntoImage),
    Address(&TWAIN_AllocHandle), Address(&TWAIN_LockHandle), Address(&TWAIN_UnlockHandle), Address(&TWAIN_HandleSize), Address(&TWAIN_FreeHandle),
    nullptr};

namespace {

int g_faults = 0;

void Expect(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "tinyhost: %s\n", what);
        ++g_faults;
    }
}

class RecordingLog : public host::ILogFile
{
public:
    void WriteLogFileMessage(const QString &text, const QTextCodec *, const QString &) override { lines << text; }
    QStringList lines;
};

template <class Fn>
bool Throws(Fn fn)
{
    try {
        fn();
    } catch (const std::runtime_error &) {
        return true;
    }
    return false;
}

QString g_hostFolder;
QString HostFolder() { return g_hostFolder; }

/// The Scanify engine stand-in of the installed reference host: loaded from
/// the host's folder (with its ScProxy.Ini), started, and a page scanned from
/// its specimens into a package.
void RunInstalledScanify(const QString &hostFolder)
{
    g_hostFolder = hostFolder;
    scanify::HostExecutableFolder = &HostFolder;
    try {
        LoadCognitiveDll();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "tinyhost: the installed Scanify engine does not load: %s\n", e.what());
        ++g_faults;
        return;
    }
    Expect(CognitiveLibInstance != nullptr, "LoadCognitiveDll left no library");
    const QString started = InitScanify();
    Expect(started.isEmpty() && gl_hScInstance != 0, "InitScanify failed on the installed engine");
    QString error;
    Expect(CreatePack(gl_hScPackage, error), "CreatePack failed on the installed engine");
    ScScanDeviceHandle device = 0;
    QString source = QStringLiteral("Scanify Specimen Feeder");
    Expect(OpenTwainSource(device, error, 0, source) && device != 0, "the installed engine has no specimen feeder");
    ScImageHandle image = 0;
    const bool scanned = device != 0 && ScanToPackage(device, image, error);
    if (!scanned)
        std::fprintf(stderr, "tinyhost: no page from the installed specimens: %s\n", qPrintable(error));
    Expect(scanned && image != 0, "ScanToPackage delivered no page");
    CloseScanify();
    FreeCognitiveDll();
}

} // namespace

int CheckPublicFunctions(const QString &hostFolder)
{
    g_faults = 0;
    int names = 0;
    for (const void *const *name = tinyhostPublicNames; *name; ++name)
        ++names;
    Expect(names > 150, "the table of public names is short");

    // Messages and the package table.
    Expect(LoadResString(&_S_ERROR) == QStringLiteral("Ошибка"), "LoadResString");
    int count = 0;
    Expect(ResStringTable(&count) != nullptr && count == 64, "ResStringTable");
    Expect(FindResString("_S_ERROR") == &_S_ERROR && FindResString("no such") == nullptr, "FindResString");
    Expect(GetPackageInfoTable() && GetPackageInfoTable()->UnitCount > 0, "GetPackageInfoTable");
    Expect(GetUserDataFolder().endsWith(QStringLiteral("/Velmar-Q-70/")), "GetUserDataFolder");
    {
        ui::TPictureBox box;
        Expect(!LoadPictureFromFile(QStringLiteral("/nonexistent/picture.bmp"), &box).isEmpty(),
               "LoadPictureFromFile accepted a missing file");
    }

    // The engine adapter without an engine.
    Expect(!abbyy::HasUntrustedSymbols(nullptr, QStringLiteral("LastName")), "HasUntrustedSymbols");
    QImage grey(4, 2, QImage::Format_RGB32);
    grey.fill(qRgb(100, 100, 100));
    ChangeBrightness(&grey, 20);
    Expect(grey.pixel(0, 0) == qRgb(120, 120, 120), "ChangeBrightness");

    // Host services: the log, the rights rule, the services not installed.
    Expect(host::InstalledHostServices().LogFile == nullptr, "InstalledHostServices");
    RecordingLog log;
    host::InstallLogFile(&log);
    Expect(host::InstalledLogFile() == &log, "InstalledLogFile");
    WriteLogFileMessage(QStringLiteral("tinyhost"));
    host::InstallLogFile(nullptr);
    Expect(log.lines == QStringList{QStringLiteral("tinyhost")}, "WriteLogFileMessage");
    Expect(!host::UserHasRightsOn(nullptr, nullptr), "UserHasRightsOn");
    Expect(Throws([] { host::PluginManager(); }), "PluginManager without a host");
    Expect(Throws([] { host::RequireVideo(); }), "RequireVideo without a host");

    // The camera frame's rules.
    const QRect frame(16, 16, 225, 271);
    Expect(camera::GripRect(camera::feTop, frame).top() == 16, "GripRect");
    Expect(camera::MovedFrame(frame, 10, 10, QSize(640, 480)).has_value(), "MovedFrame");

    // The resampler.
    Expect(engResample::BuildContributors(4, 2, BoxFilter, 0.5f).size() == 2, "BuildContributors");
    engResample::SimdAvailable();
    QImage source(8, 8, QImage::Format_RGB32), target(4, 4, QImage::Format_RGB32);
    source.fill(Qt::white);
    Strecth(&source, &target, TriangleFilter, 1.0f);
    Expect(target.size() == QSize(4, 4) && target.format() == QImage::Format_BGR888
               && qGray(target.pixel(1, 1)) > 128,
           "Strecth");

    // The Scanify adapter's marking colours and the TWAIN layer at rest.
    Expect(scanify::DoubtfulFieldColor().isValid(), "DoubtfulFieldColor");
    Expect(TWAIN_State() == TWAIN_PRESESSION, "TWAIN_State");
    Expect(TDocScannerCalls::Layer().GetNumDibs == &TWAIN_GetNumDibs, "TDocScannerCalls::Layer");

    // The forms' factories set and clear their variables.
    {
        std::unique_ptr<TDocFromScannerFM> form(TDocFromScannerFM_Create(nullptr));
        Expect(DocFromScannerFM == form.get(), "TDocFromScannerFM_Create");
    }
    Expect(DocFromScannerFM == nullptr, "DocFromScannerFM outlived its form");

    if (!hostFolder.isEmpty())
        RunInstalledScanify(hostFolder);
    return g_faults;
}
