#pragma once
// Shared definitions of the package: the document catalogue, the settings
// globals, the per-user data folder, and the shared handles. Everything here
// is exported by name so the host can read it directly. How the package itself
// opens its settings file is in engCommon9r_p.h, which is not installed.

#include "sdk/ABBYY_PassportReaderSdk_TLB.h"
#include "common/TOrderedStrings.h"
#include "base/engCommon9rMessages.h"
#include "base/r9Export.h"

#include <QString>
#include <cstdint>

namespace host { class IDataSet; }
// The settings file object stays the package's own: a host sees only its handle.
class TSettingsFile;
class TProfileFile;

// The catalogue: "identifier=display name" entries, each carrying its
// TDocumentInfo, in catalogue order; and the identifiers the engine reported.
R9_API TOrderedStrings *gl_ListAllowedDocuments;
R9_API TOrderedStrings *gl_ListAvailableDocuments;

// Settings loaded at package start and written back by the forms.
R9_API bool gl_Protocol;
R9_API bool gl_PhotoToAccountData;
R9_API bool gl_DocumentToAccountData;
R9_API bool gl_FIOOnLatin;
R9_API QString gl_sScannerName;
R9_API std::int32_t gl_ScannerItemIndex;
R9_API bool gl_ShowTwainSupported;
R9_API bool gl_TwainDialogNeed;
R9_API bool gl_SelectScanner;
R9_API bool gl_BrightnessSupported;
R9_API std::int32_t gl_BrightnessValue;
R9_API bool gl_OrientSupported;
R9_API std::int32_t gl_OrientValue;
R9_API bool gl_PaperSizeSupported;
R9_API std::int32_t gl_PaperSizeIndex;
R9_API QString gl_PaperSizeValue;
R9_API bool gl_ColorModeSupported;
R9_API std::int32_t gl_ColorModeValue;
R9_API std::int32_t gl_RotationIndex;
/// Days the Scanify engine's package folders are kept ("RECOGNIZE_INFO" /
/// "PackageKeepDays", default 30): older ones are removed at package start;
/// 0 (or less) keeps them all. Set by hand; no window writes it.
R9_API std::int32_t gl_PackageKeepDays;

// Other shared globals.
R9_API TSettingsFile *gl_RecognizeIniFile;
R9_API QString gl_sRecognizeIniFileName;
R9_API IStringsArrayPtr gl_ScanSettings;
R9_API host::IDataSet *gl_cdsNationalities;
R9_API TProfileFile *gl_sScApiIniFile;
R9_API void *CognitiveLibInstance;
R9_API std::int32_t iDoc;

/// The per-user data folder ending in "/": $XDG_CONFIG_HOME (else ~/.config)
/// plus "Velmar-Q-70/", created with its parents. It holds scanned documents,
/// so it is the user's alone (0700), also when it existed before. Empty when
/// it cannot be determined or created.
R9_API QString GetUserDataFolder();
