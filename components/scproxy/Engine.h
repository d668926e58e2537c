#pragma once
// The engine behind the entry points: instances with their configuration
// context and last error, packages as folders on disk, scanning devices on
// the TWAIN sources, scanned images and recognised documents. Every object is
// reached by a 32-bit handle; a handle that names nothing (or an object of
// another kind) makes the call fail, never crash.
//
// The entry points call these functions directly (never through an exported
// name). All of them run under one lock.

#include "scanify/scapiTypes.h"

#include <stdexcept>

namespace scproxy::engine {

/// Thrown out of ScScannerSetConfiguration by the fault switch "setconfig":
/// the call faults as the engine's would, and the entry point lets it pass.
struct RaisedFault : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

/// Error codes of ScGetErrorCode (0 = the last operation of the instance succeeded).
enum ErrorCode : std::int32_t {
    NoError = 0,
    BadHandle = 1,
    BadArgument = 2,
    ContextError = 3,
    PackageError = 4,
    SourceError = 5,
    ScanError = 6,
    RecognitionError = 7,
    ExportError = 8,
    StartError = 9,
    NotSupported = 10,
};

/// The names of the TWAIN sources: the specimen feeder and a scanner that never opens.
inline constexpr const char *FeederSourceName = "Scanify Specimen Feeder";
inline constexpr const char *OfflineSourceName = "Scanify Offline Scanner";

std::uint32_t GetScanifyAPIVersion();
std::int32_t GetErrorCode(ScInstanceHandle instance);
const char *GetErrorMessage(ScInstanceHandle instance);
ScInstanceHandle Initialize(const TScInitializeOption *option);
ScBool Terminate(ScInstanceHandle instance);
ScBool SetOption(ScInstanceHandle instance, std::int32_t option, const char *value);
const char *GetOption(ScInstanceHandle instance, std::int32_t option);
ScBool SetupContext(ScInstanceHandle instance, const char *configFile);
const char *GetContext(ScInstanceHandle instance);

ScPackageHandle PackageCreate(ScInstanceHandle instance, const char *folder);
ScPackageHandle PackageOpen(ScInstanceHandle instance, const char *folder);
ScBool PackageGetInformation(ScPackageHandle package, TScPackageInformation *info);
ScBool PackageMove(ScPackageHandle package, const char *newFolder);
ScBool PackageRelease(ScPackageHandle package);

ScBool SelectTwainSource(ScInstanceHandle instance, ScWindowHandle owner);
ScBool SelectClrSource(ScInstanceHandle instance);
std::int32_t TwainSourceCount(ScInstanceHandle instance);
const char *TwainSourceName(ScInstanceHandle instance, std::int32_t index);
ScScanDeviceHandle ScannerOpen(ScInstanceHandle instance, TScDeviceClass deviceClass, const char *source);
ScBool ScannerSetConfiguration(ScScanDeviceHandle device, const char *configuration);
ScBool ScannerClose(ScScanDeviceHandle device);
ScBool GetScanOptions(ScScanDeviceHandle device, TScScanOptions *options);

ScImageHandle PackageScan(ScPackageHandle package, ScScanDeviceHandle device, TScScanRequest *request);
ScBool PackageRecog(ScPackageHandle package);
ScImageHandle PackageFirstImage(ScPackageHandle package);
ScImageHandle PackageNextImage(ScImageHandle image);
ScBool ImageInformation(ScImageHandle image, TScImageInformation *info);
ScDocumentHandle PackageFirstDoc(ScPackageHandle package);
ScDocumentHandle PackageNextDoc(ScDocumentHandle document);
ScBool DocInformation(ScDocumentHandle document, TScDocInformation *info);
ScImageHandle DocumentFirstImage(ScDocumentHandle document);
ScImageHandle DocumentNextImage(ScImageHandle image);
ScBool FormInformation(ScPackageHandle package, std::int32_t form, TScFormInformation *info);
ScBool FieldInformation(ScPackageHandle package, std::int32_t form, std::int32_t field, TScFieldInformation *info);
const char *FieldValue(ScDocumentHandle document, const char *fieldId, TScFieldValueAttr *attr);
ScBool SetFieldValue(ScDocumentHandle document, const char *fieldId, const char *value);
ScBool PackageConvert(ScPackageHandle package);
ScBool ImageExport(ScImageHandle image, const char *fileName, const TScExportImageOptions *options);
ScBool ImageResample(ScImageHandle image, std::int32_t xResolution, std::int32_t yResolution);
ScBool ImageDraw(ScImageHandle image);
ScBool ImageDelete(ScImageHandle image);
ScBool SetFieldAppInfo(ScDocumentHandle document, const char *fieldId, const char *info);
const char *GetFieldAppInfo(ScDocumentHandle document, const char *fieldId);

} // namespace scproxy::engine
