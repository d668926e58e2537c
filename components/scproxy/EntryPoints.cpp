// The engine's exported entry points: exactly these plain names with C
// linkage, each handing its call to the engine's internals directly, so a
// module that exports something of the same name (the package keeps a
// variable per entry point) can never take the place of the engine's own
// code. Each is declared from the interface header's list with the type the
// header gives it, so a definition that strays from that type fails to build.
//
// An entry point never lets an exception out, except ScScannerSetConfiguration
// under its fault switch, which faults as the engine's call can.
//
// Built a second time with SCPROXY_PARTIAL: that library lacks the entry
// points listed under it (for the test of a library with missing exports).

#include "Engine.h"

#include <type_traits>

namespace {

template <typename Result, typename Call>
Result Guarded(Result failed, Call &&call) noexcept
{
    try {
        return call();
    } catch (...) {
        return failed;
    }
}

} // namespace

#define SC_EXPORT extern "C" __attribute__((visibility("default")))
// A C function has one type: a definition below with other arguments or
// another result than its declaration here conflicts with it.
#define SC_DECLARE(name, bytes) SC_EXPORT std::remove_pointer_t<T##name> name;
SC_ENTRY_POINTS(SC_DECLARE)
#undef SC_DECLARE

using namespace scproxy;

SC_EXPORT std::uint32_t ScGetScanifyAPIVersion()
{
    return engine::GetScanifyAPIVersion();
}

SC_EXPORT std::int32_t ScGetErrorCode(ScInstanceHandle hInstance)
{
    return Guarded<std::int32_t>(engine::BadHandle, [&] { return engine::GetErrorCode(hInstance); });
}

SC_EXPORT const char *ScGetErrorMessage(ScInstanceHandle hInstance, std::int32_t)
{
    return Guarded<const char *>("", [&] { return engine::GetErrorMessage(hInstance); });
}

SC_EXPORT ScInstanceHandle ScInitialize(PScInitializeOption pOption)
{
    return Guarded<ScInstanceHandle>(0, [&] { return engine::Initialize(pOption); });
}

SC_EXPORT ScBool ScTerminate(ScInstanceHandle hInstance, PScTerminateOption)
{
    return Guarded<ScBool>(0, [&] { return engine::Terminate(hInstance); });
}

SC_EXPORT ScBool ScSetOption(ScInstanceHandle hInstance, std::int32_t nOption, const char *pszValue)
{
    return Guarded<ScBool>(0, [&] { return engine::SetOption(hInstance, nOption, pszValue); });
}

SC_EXPORT const char *ScGetOption(ScInstanceHandle hInstance, std::int32_t nOption)
{
    return Guarded<const char *>(nullptr, [&] { return engine::GetOption(hInstance, nOption); });
}

SC_EXPORT ScBool ScSetupContext(ScInstanceHandle hInstance, const char *pszConfigFile)
{
    return Guarded<ScBool>(0, [&] { return engine::SetupContext(hInstance, pszConfigFile); });
}

#ifndef SCPROXY_PARTIAL
SC_EXPORT const char *ScGetContext(ScInstanceHandle hInstance)
{
    return Guarded<const char *>(nullptr, [&] { return engine::GetContext(hInstance); });
}
#endif

SC_EXPORT ScPackageHandle ScPackageCreate(ScInstanceHandle hInstance, const char *pszFolder)
{
    return Guarded<ScPackageHandle>(0, [&] { return engine::PackageCreate(hInstance, pszFolder); });
}

SC_EXPORT ScPackageHandle ScPackageOpen(ScInstanceHandle hInstance, const char *pszFolder, std::int32_t)
{
    return Guarded<ScPackageHandle>(0, [&] { return engine::PackageOpen(hInstance, pszFolder); });
}

SC_EXPORT ScBool ScPackageGetInformation(ScPackageHandle hPackage, PScPackageInformation pInfo)
{
    return Guarded<ScBool>(0, [&] { return engine::PackageGetInformation(hPackage, pInfo); });
}

SC_EXPORT ScBool ScPackageMove(ScPackageHandle hPackage, const char *pszNewFolder)
{
    return Guarded<ScBool>(0, [&] { return engine::PackageMove(hPackage, pszNewFolder); });
}

SC_EXPORT ScBool ScPackageClose(ScPackageHandle hPackage)
{
    return Guarded<ScBool>(0, [&] { return engine::PackageRelease(hPackage); });
}

SC_EXPORT ScBool ScPackageDestroy(ScPackageHandle hPackage)
{
    return Guarded<ScBool>(0, [&] { return engine::PackageRelease(hPackage); });
}

SC_EXPORT ScBool ScScannerSelectTWAINSource(ScInstanceHandle hInstance, ScWindowHandle hwndOwner)
{
    return Guarded<ScBool>(0, [&] { return engine::SelectTwainSource(hInstance, hwndOwner); });
}

SC_EXPORT ScBool ScScannerSelectCLRSource(ScInstanceHandle hInstance, ScWindowHandle)
{
    return Guarded<ScBool>(0, [&] { return engine::SelectClrSource(hInstance); });
}

SC_EXPORT std::int32_t ScScannerGetTWAINSourceCount(ScInstanceHandle hInstance)
{
    return Guarded<std::int32_t>(0, [&] { return engine::TwainSourceCount(hInstance); });
}

SC_EXPORT const char *ScScannerGetTWAINSourceName(ScInstanceHandle hInstance, std::int32_t nIndex)
{
    return Guarded<const char *>(nullptr, [&] { return engine::TwainSourceName(hInstance, nIndex); });
}

SC_EXPORT ScScanDeviceHandle ScScannerOpen(ScInstanceHandle hInstance, TScDeviceClass nClass, const char *pszSource)
{
    return Guarded<ScScanDeviceHandle>(0, [&] { return engine::ScannerOpen(hInstance, nClass, pszSource); });
}

SC_EXPORT ScBool ScScannerSetConfiguration(ScScanDeviceHandle hDevice, const char *pszConfiguration)
{
    try {
        return engine::ScannerSetConfiguration(hDevice, pszConfiguration);
    } catch (const engine::RaisedFault &) {
        throw;
    } catch (...) {
        return 0;
    }
}

SC_EXPORT ScBool ScScannerClose(ScScanDeviceHandle hDevice)
{
    return Guarded<ScBool>(0, [&] { return engine::ScannerClose(hDevice); });
}

SC_EXPORT ScBool ScGetScanOptions(ScScanDeviceHandle hDevice, PScScanOptions pOptions)
{
    return Guarded<ScBool>(0, [&] { return engine::GetScanOptions(hDevice, pOptions); });
}

SC_EXPORT ScImageHandle ScPackageScan(ScPackageHandle hPackage, ScScanDeviceHandle hDevice, PScScanRequest pRequest)
{
    return Guarded<ScImageHandle>(0, [&] { return engine::PackageScan(hPackage, hDevice, pRequest); });
}

SC_EXPORT ScBool ScPackageRecog(ScPackageHandle hPackage, PScProgressIndicator)
{
    return Guarded<ScBool>(0, [&] { return engine::PackageRecog(hPackage); });
}

SC_EXPORT ScImageHandle ScPackageGetFirstImage(ScPackageHandle hPackage)
{
    return Guarded<ScImageHandle>(0, [&] { return engine::PackageFirstImage(hPackage); });
}

SC_EXPORT ScImageHandle ScPackageGetNextImage(ScImageHandle hImage)
{
    return Guarded<ScImageHandle>(0, [&] { return engine::PackageNextImage(hImage); });
}

SC_EXPORT ScBool ScPackageGetImageInformation(ScImageHandle hImage, PScImageInformation pInfo)
{
    return Guarded<ScBool>(0, [&] { return engine::ImageInformation(hImage, pInfo); });
}

SC_EXPORT ScDocumentHandle ScPackageGetFirstDoc(ScPackageHandle hPackage)
{
    return Guarded<ScDocumentHandle>(0, [&] { return engine::PackageFirstDoc(hPackage); });
}

SC_EXPORT ScDocumentHandle ScPackageGetNextDoc(ScDocumentHandle hDoc)
{
    return Guarded<ScDocumentHandle>(0, [&] { return engine::PackageNextDoc(hDoc); });
}

SC_EXPORT ScBool ScPackageGetDocInformation(ScDocumentHandle hDoc, PScDocInformation pInfo)
{
    return Guarded<ScBool>(0, [&] { return engine::DocInformation(hDoc, pInfo); });
}

SC_EXPORT ScImageHandle ScDocumentGetFirstImage(ScDocumentHandle hDoc)
{
    return Guarded<ScImageHandle>(0, [&] { return engine::DocumentFirstImage(hDoc); });
}

SC_EXPORT ScImageHandle ScDocumentGetNextImage(ScImageHandle hImage)
{
    return Guarded<ScImageHandle>(0, [&] { return engine::DocumentNextImage(hImage); });
}

SC_EXPORT ScBool ScPackageGetFormInformation(ScPackageHandle hPackage, std::int32_t nForm, PScFormInformation pInfo)
{
    return Guarded<ScBool>(0, [&] { return engine::FormInformation(hPackage, nForm, pInfo); });
}

SC_EXPORT ScBool ScPackageGetFieldInformation(ScPackageHandle hPackage, std::int32_t nForm, std::int32_t nField,
                                              PScFieldInformation pInfo)
{
    return Guarded<ScBool>(0, [&] { return engine::FieldInformation(hPackage, nForm, nField, pInfo); });
}

SC_EXPORT const char *ScPackageGetFieldValue(ScDocumentHandle hDoc, const char *pszFieldId, PScFieldValueAttr pAttr)
{
    return Guarded<const char *>(nullptr, [&] { return engine::FieldValue(hDoc, pszFieldId, pAttr); });
}

SC_EXPORT ScBool ScPackageSetFieldValue(ScDocumentHandle hDoc, const char *pszFieldId, const char *pszValue)
{
    return Guarded<ScBool>(0, [&] { return engine::SetFieldValue(hDoc, pszFieldId, pszValue); });
}

SC_EXPORT ScBool ScPackageConvert(ScPackageHandle hPackage, const char *, std::int32_t)
{
    return Guarded<ScBool>(0, [&] { return engine::PackageConvert(hPackage); });
}

#ifndef SCPROXY_PARTIAL
SC_EXPORT ScBool ScImageExport(ScImageHandle hImage, const char *pszFileName, PScExportImageOptions pOptions)
{
    return Guarded<ScBool>(0, [&] { return engine::ImageExport(hImage, pszFileName, pOptions); });
}
#endif

SC_EXPORT ScBool ScImageResample(ScImageHandle hImage, std::int32_t nXResolution, std::int32_t nYResolution)
{
    return Guarded<ScBool>(0, [&] { return engine::ImageResample(hImage, nXResolution, nYResolution); });
}

#ifndef SCPROXY_PARTIAL
SC_EXPORT ScBool ScImageDraw(ScImageHandle hImage, ScWindowHandle, PTRect, std::int32_t)
{
    return Guarded<ScBool>(0, [&] { return engine::ImageDraw(hImage); });
}
#endif

SC_EXPORT ScBool ScImageDelete(ScImageHandle hImage)
{
    return Guarded<ScBool>(0, [&] { return engine::ImageDelete(hImage); });
}

#ifndef SCPROXY_PARTIAL
SC_EXPORT ScBool ScPackageSetFieldAppInfo(ScDocumentHandle hDoc, const char *pszFieldId, const char *pszInfo)
{
    return Guarded<ScBool>(0, [&] { return engine::SetFieldAppInfo(hDoc, pszFieldId, pszInfo); });
}

SC_EXPORT const char *ScPackageGetFieldAppInfo(ScDocumentHandle hDoc, const char *pszFieldId)
{
    return Guarded<const char *>(nullptr, [&] { return engine::GetFieldAppInfo(hDoc, pszFieldId); });
}
#endif
