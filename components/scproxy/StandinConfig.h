#pragma once
// The stand-in's own configuration, read at every use so that a test can
// switch it between calls:
//   environment SCPROXY_FAULTS        fault switches (written as doubles/support/README.md says)
//   environment SCPROXY_SPECIMENS     folder of Scanify specimen descriptions
//   environment SCPROXY_FEED          names (wildcards, case ignored) of the pages the feeder takes:
//                                     descriptions without ".json", loose pictures without extension
// Lists are separated by commas, semicolons or blanks.
//   environment SCPROXY_TWAIN_DIALOG  "accept" or "cancel": answers the scanner dialog without showing it
//   environment SCPROXY_SELECT_SOURCE "cancel", a source name or its index: answers the source list
//   environment SCPROXY_READ          "pixels": every page, described or not, is read from its pixels
//   environment SCPROXY_LOG           file the engine's log of recognitions goes to
//   ScProxy.Ini next to the library: [Faults] Active=..., [Specimens] Folder=..., Feed=...,
//                                    [Dialogs] TwainDialog=..., SelectSource=...,
//                                    [Recognition] Read=..., Log=...
// The environment wins over the file for single values; fault switches add up.
// The feeder's part (SCPROXY_SPECIMENS, SCPROXY_FEED, [Specimens]) is read by
// the specimen feed (doubles/scanify-feed), which the reference host links to
// work one window per page; the package never reads any of it.

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

/// Folder of the loaded stand-in library (linked into a host: of the one the
/// host loaded, else of the host's own file).
QString LibraryFolder();
/// The engine's own settings file next to the library (it need not exist).
QString ConfigFilePath();
/// A value of that file, empty when it or the key is missing.
QString ConfigFileValue(const char *section, const char *key);
/// The environment variable's value, else the file's; trimmed.
QString EnvironmentOrConfigFile(const char *variable, const char *section, const char *key);
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
using standin::FaultMessage;

} // namespace scproxy
