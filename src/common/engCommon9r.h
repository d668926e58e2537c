#pragma once
// Shared definitions of the package: the document catalogue, the settings
// globals and their file, the per-user data folder, and the shared handles.
// Everything here is exported by name so the host can read it directly.

#include "abbyy/ABBYY_PassportReaderSdk_TLB.h"
#include "common/TOrderedStrings.h"
#include "common/engCommon9rMessages.h"
#include "common/r9Export.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <utility>

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

// Other shared globals.
R9_API TSettingsFile *gl_RecognizeIniFile;
R9_API QString gl_sRecognizeIniFileName;
R9_API IStringsArrayPtr gl_ScanSettings;
R9_API host::IDataSet *gl_cdsNationalities;
R9_API TProfileFile *gl_sScApiIniFile;
R9_API void *CognitiveLibInstance;
R9_API std::int32_t iDoc;

/// The per-user data folder ending in "/": $XDG_CONFIG_HOME (else ~/.config)
/// plus "Velmar-Q-70/", created with its parents. Empty when it cannot be
/// determined or created.
R9_API QString GetUserDataFolder();

/// Holds a new T in a shared global pointer for the length of a scope (the
/// settings file objects, which live only while one piece of work runs) and
/// frees it, setting the global back to null, on every path.
template <class T>
class TScopedGlobal
{
public:
    template <class... Args>
    explicit TScopedGlobal(T *&global, Args &&...args) : m_global(global)
    {
        m_global = new T(std::forward<Args>(args)...);
    }
    ~TScopedGlobal()
    {
        delete m_global;
        m_global = nullptr;
    }
    TScopedGlobal(const TScopedGlobal &) = delete;
    TScopedGlobal &operator=(const TScopedGlobal &) = delete;
    T &operator*() const { return *m_global; }
    T *operator->() const { return m_global; }

private:
    T *&m_global;
};

/// The one way the package opens its settings file: creates the file object on
/// gl_sRecognizeIniFileName in gl_RecognizeIniFile, runs work with it, and
/// frees it and sets gl_RecognizeIniFile back to null on every path (an
/// exception from work propagates after the cleanup). Writers call
/// UpdateFile() themselves, as the file is flushed only where it was written.
void WithRecognizeIniFile(const std::function<void(TSettingsFile &ini)> &work);

/// Start and stop work of the shared unit. They do the work every time they
/// are called; the package information table runs them once, on the first
/// Initialize and the matching last Finalize.
void engCommon9r_Initialization();
void engCommon9r_Finalization();
