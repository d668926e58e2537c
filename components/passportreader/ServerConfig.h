#pragma once
// The server's own settings, read at every use so that a test can switch
// them between calls (how: doubles/support/README.md):
//   environment PASSPORTREADER_FAULTS    fault switches
//   environment PASSPORTREADER_SPECIMENS folder of specimen documents
//   environment PASSPORTREADER_READ      "pixels": every page is read from its pixels
//   environment PASSPORTREADER_LOG       file the engine's log of recognitions goes to
//   passportreader.ini next to the library: [faults] active=..., [specimens] folder=...,
//                                         [recognition] read=..., log=...
// Nothing else (the package in particular) reads any of it.

#include "FaultSwitches.h"

#include <QString>
#include <QStringList>

namespace passportreader {

/// Names of the fault switches.
namespace fault {
inline constexpr const char *NoClass = "noclass";      // DllGetClassObject refuses the engine class
inline constexpr const char *Init = "init";            // Init fails
inline constexpr const char *Scan = "scan";            // Scan and ScanAndRecognize fail at the scanner
inline constexpr const char *Recognize = "recognize";  // Recognize and ScanAndRecognize fail
inline constexpr const char *SaveTo = "saveto";        // image fields cannot be saved
inline constexpr const char *Settings = "settings";    // GetScanSettings fails
inline constexpr const char *Documents = "documents";  // AllowedDocuments fails
inline constexpr const char *NoScanners = "noscanners"; // no scanner is attached
} // namespace fault

/// Folder of the loaded server library.
QString LibraryFolder();
/// The ini file next to the library (it need not exist).
QString ConfigFilePath();
/// Active fault switches (environment and ini file together), lower case.
QStringList ActiveFaults();
bool FaultActive(const char *name);
/// Folder the specimens are read from.
QString SpecimenFolder();
/// Every page, the specimen feeders' too, is read from its pixels as a real
/// scanner's page is, never matched to a description.
bool EveryPageReadFromPixels();
/// File the engine appends a line to for every recognised page; empty: none.
QString EngineLogFile();
using doubles::FaultMessage;

} // namespace passportreader
