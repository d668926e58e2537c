#pragma once
// The Scanify engine as the package uses it: loading and binding the engine
// library, its configuration files, and the operations that wrap the raw entry
// points with the package's own error reporting. Every function and variable
// is exported: those outside a namespace by name (C linkage), those in
// namespace scanify under their C++ names. None shows a dialog: failures come back as a Boolean with an error
// text, as a returned error text, or (loading the library) as an exception.
// While gl_Protocol is set, the operations write their progress to the host's
// log.

#include "common/LoadPictureFromFile.h"
#include "base/r9Export.h"
#include "scanify/scapiTypes.h"

#include <QColor>
#include <QString>

class QWidget;

/// The engine instance; 0 while none is started.
R9_API ScInstanceHandle gl_hScInstance;
/// The package of the current recognition; 0 before the first one.
R9_API ScPackageHandle gl_hScPackage;

/// Loads and binds the engine library, in this order: "ScProxy.Ini" must exist
/// in the host executable's folder (else raises _S_ScProxy_INI_NOT_FOUND);
/// the configuration files are written when missing or incomplete (CreateScApiIniFile, its
/// failure propagates); if the library is loaded already, that is all;
/// otherwise "libscproxy.so" is loaded from the host executable's folder when
/// it is there, else through the loader's search path; a failure raises
/// "<system text>: libscproxy.so" and a later call tries again. Then every
/// entry point is bound by its name; one the library lacks stays null.
R9_API void LoadCognitiveDll();

/// Unloads the engine library when it is loaded. The entry-point variables
/// keep their values; the package refuses to call them while unloaded.
R9_API void FreeCognitiveDll();

/// Writes "ScApi_270.Ini" and then "ScApi_90.Ini" into the per-user data
/// folder, each whole when no file of that name (in any case) exists there or
/// the one there lacks the selected scanning configuration (section
/// "ScanAllDocuments" with its "Zone1Type"), as an empty file does.
/// Raises std::runtime_error when a file cannot be written.
R9_API void CreateScApiIniFile();

/// Starts the engine instance into gl_hScInstance. Returns the error text,
/// empty when started; gl_hScInstance is 0 after any failure.
R9_API QString InitScanify();

/// Ends the engine instance and sets gl_hScInstance to 0.
R9_API void CloseScanify();

/// Releases AScPackage when it is not 0, then creates a new package in a new
/// folder "dssXXXX" of the per-user data folder. False with the engine's text
/// in AError when the engine refuses, or with our own text when the data
/// folder cannot be made (the engine is not asked then); AScPackage is 0 then.
R9_API bool CreatePack(ScPackageHandle &AScPackage, QString &AError);

/// Opens the TWAIN source AScannerName, or lets the operator choose one in the
/// engine's list (owned by AFormHandle) when it is empty; a chosen name is
/// written back to AScannerName. False with AError when no source was chosen
/// (AScScanDev untouched) or the device did not open (AScScanDev 0).
R9_API bool OpenTwainSource(ScScanDeviceHandle &AScScanDev, QString &AError, ScWindowHandle AFormHandle,
                            QString &AScannerName);

/// Scans one page into gl_hScPackage with the configuration selected on the
/// device. False with AError when no image came back.
R9_API bool ScanToPackage(ScScanDeviceHandle AScScanDev, ScImageHandle &AScImage, QString &AError);

/// Writes the image as a JPEG file (quality 35). The engine's result is not
/// examined: a missing file shows when the caller loads it.
R9_API void ExportImageToArchive(ScImageHandle AScImage, const QString &AFullImageName);

/// Copies the recognised field ACognitiveFieldName of AScDoc into an edit
/// control and marks the control by the engine's confidence (background and
/// tooltip: white, pale yellow for doubt, light red for an error).
/// - Captioned edit: the value is appended after the current text and a blank;
///   the result is whether the edit is empty (blanks aside) afterwards.
/// - Date edit: the value replaces the date; the result is whether the edit
///   holds a date. A value that is not a date marks the edit as an error and
///   gives false without raising.
/// - Any other control: nothing happens; false.
R9_API bool FillDocumentCtrl(ScDocumentHandle AScDoc, QWidget *AEditControl, const QString &ACognitiveFieldName);

namespace scanify {

/// The folder of the host application's executable, where "ScProxy.Ini" and
/// the engine library are looked for first. Defaults to the running
/// application's folder; a host that keeps them elsewhere, and the tests,
/// replace it.
using HostFolderFunction = QString (*)();
extern R9_EXPORT HostFolderFunction HostExecutableFolder;

/// The name of the engine library.
inline constexpr const char *LibraryName = "libscproxy.so";

/// The configuration file names as written.
inline constexpr const char *ConfigFile270 = "ScApi_270.Ini";
inline constexpr const char *ConfigFile90 = "ScApi_90.Ini";

/// Writes the operator's TWAIN-dialog wish ("ShowTWAIN" of the configuration
/// the recognition selects) into "ScApi_90.Ini" and then "ScApi_270.Ini". A
/// file that has gone missing or is incomplete is first written whole, as at
/// load; the key
/// goes only into a file that holds that configuration, never into one
/// without it (which would leave a stub the engine cannot scan with).
/// Raises std::runtime_error when a file cannot be written.
R9_EXPORT void WriteShowTwain(bool show);

/// Background colours of FillDocumentCtrl's marking.
R9_EXPORT QColor NormalFieldColor();
R9_EXPORT QColor DoubtfulFieldColor();
R9_EXPORT QColor ErroneousFieldColor();

} // namespace scanify
