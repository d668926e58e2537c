#pragma once
// The engine's own settings, read at every use so that a test can switch
// them between calls (how: doubles/support/README.md):
//   environment SCPROXY_FAULTS        fault switches
//   environment SCPROXY_TWAIN_DIALOG  "accept" or "cancel": answers the scanner dialog without showing it
//   environment SCPROXY_SELECT_SOURCE "cancel", a source name or its index: answers the source list
//   environment SCPROXY_READ          "pixels": every page, described or not, is read from its pixels
//   environment SCPROXY_LOG           file the engine's log of recognitions goes to
//   ScProxy.Ini next to the library: [Faults] Active=..., [Dialogs] TwainDialog=..., SelectSource=...,
//                                    [Recognition] Read=..., Log=...
// Where the feeder takes its pages from lies in the same file and is the
// specimen feed's own (doubles/scanify-feed/SpecimenFeed.h); the package
// never reads any of it.

#include "FaultSwitches.h"

#include <QString>
#include <QStringList>

namespace scproxy {

/// Names of the fault switches.
namespace fault {
inline constexpr const char *Init = "init";             // ScInitialize fails
inline constexpr const char *Context = "context";       // ScSetupContext refuses every file
inline constexpr const char *Package = "package";       // ScPackageCreate fails
inline constexpr const char *NoSource = "nosource";     // no TWAIN source is installed
inline constexpr const char *SourceOpen = "sourceopen"; // ScScannerOpen fails for every source
inline constexpr const char *SetConfig = "setconfig";   // ScScannerSetConfiguration raises
inline constexpr const char *ScanEmpty = "scanempty";   // ScPackageScan delivers nothing, no error code
inline constexpr const char *ScanError = "scanerror";   // ScPackageScan delivers nothing with an error code
inline constexpr const char *Recog = "recog";           // ScPackageRecog fails
inline constexpr const char *NoDocument = "nodocument"; // recognition finds no document
inline constexpr const char *Export = "export";         // ScImageExport writes nothing and fails
} // namespace fault

/// Folder of the loaded engine library.
QString LibraryFolder();
/// The engine's own settings file next to the library (it need not exist).
QString ConfigFilePath();
/// Active fault switches (environment and ini file together), lower case.
QStringList ActiveFaults();
bool FaultActive(const char *name);
/// Preset answer of the scanner dialog ("accept", "cancel") or empty: show it.
QString TwainDialogAnswer();
/// Preset answer of the source list ("cancel", a name or an index) or empty: show it.
QString SelectSourceAnswer();
/// Every page, the described ones too, is read from its pixels as a real
/// scanner's page is.
bool EveryPageReadFromPixels();
/// File the engine appends a line to for every recognised page; empty: none.
QString EngineLogFile();
using doubles::FaultMessage;

} // namespace scproxy
