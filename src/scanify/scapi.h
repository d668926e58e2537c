#pragma once
// The package's binding of the Scanify engine library: one function-pointer
// variable per entry point, exported under the entry point's own name, null
// until LoadCognitiveDll binds it; and the table that binds them.
//
// The engine library exports functions of the same names. The variables have
// protected visibility, so the package's own uses always reach its variables,
// whatever other library the host has loaded into the global scope first.
// For the same reason a program cannot link against them (the linker refuses
// protected data of a shared library): a host reads them with dlsym, and this
// header stays inside the package; it is not installed.

#include "common/r9Export.h"
#include "scanify/scapiTypes.h"

#include <cstddef>
#include <stdexcept>

#define R9_SCANIFY_SLOT R9_EXTERN_C __attribute__((visibility("protected")))

R9_SCANIFY_SLOT TScGetScanifyAPIVersion ScGetScanifyAPIVersion;
R9_SCANIFY_SLOT TScGetErrorCode ScGetErrorCode;
R9_SCANIFY_SLOT TScGetErrorMessage ScGetErrorMessage;
R9_SCANIFY_SLOT TScInitialize ScInitialize;
R9_SCANIFY_SLOT TScTerminate ScTerminate;
R9_SCANIFY_SLOT TScSetOption ScSetOption;
R9_SCANIFY_SLOT TScGetOption ScGetOption;
R9_SCANIFY_SLOT TScSetupContext ScSetupContext;
R9_SCANIFY_SLOT TScGetContext ScGetContext;
R9_SCANIFY_SLOT TScPackageCreate ScPackageCreate;
R9_SCANIFY_SLOT TScPackageOpen ScPackageOpen;
R9_SCANIFY_SLOT TScPackageGetInformation ScPackageGetInformation;
R9_SCANIFY_SLOT TScPackageMove ScPackageMove;
R9_SCANIFY_SLOT TScPackageClose ScPackageClose;
R9_SCANIFY_SLOT TScPackageDestroy ScPackageDestroy;
R9_SCANIFY_SLOT TScScannerSelectTWAINSource ScScannerSelectTWAINSource;
R9_SCANIFY_SLOT TScScannerSelectCLRSource ScScannerSelectCLRSource;
R9_SCANIFY_SLOT TScScannerGetTWAINSourceCount ScScannerGetTWAINSourceCount;
R9_SCANIFY_SLOT TScScannerGetTWAINSourceName ScScannerGetTWAINSourceName;
R9_SCANIFY_SLOT TScScannerOpen ScScannerOpen;
R9_SCANIFY_SLOT TScScannerSetConfiguration ScScannerSetConfiguration;
R9_SCANIFY_SLOT TScScannerClose ScScannerClose;
R9_SCANIFY_SLOT TScGetScanOptions ScGetScanOptions;
R9_SCANIFY_SLOT TScPackageScan ScPackageScan;
R9_SCANIFY_SLOT TScPackageRecog ScPackageRecog;
R9_SCANIFY_SLOT TScPackageGetFirstImage ScPackageGetFirstImage;
R9_SCANIFY_SLOT TScPackageGetNextImage ScPackageGetNextImage;
R9_SCANIFY_SLOT TScPackageGetImageInformation ScPackageGetImageInformation;
R9_SCANIFY_SLOT TScPackageGetFirstDoc ScPackageGetFirstDoc;
R9_SCANIFY_SLOT TScPackageGetNextDoc ScPackageGetNextDoc;
R9_SCANIFY_SLOT TScPackageGetDocInformation ScPackageGetDocInformation;
R9_SCANIFY_SLOT TScDocumentGetFirstImage ScDocumentGetFirstImage;
R9_SCANIFY_SLOT TScDocumentGetNextImage ScDocumentGetNextImage;
R9_SCANIFY_SLOT TScPackageGetFormInformation ScPackageGetFormInformation;
R9_SCANIFY_SLOT TScPackageGetFieldInformation ScPackageGetFieldInformation;
R9_SCANIFY_SLOT TScPackageGetFieldValue ScPackageGetFieldValue;
R9_SCANIFY_SLOT TScPackageSetFieldValue ScPackageSetFieldValue;
R9_SCANIFY_SLOT TScPackageConvert ScPackageConvert;
R9_SCANIFY_SLOT TScImageExport ScImageExport;
R9_SCANIFY_SLOT TScImageResample ScImageResample;
R9_SCANIFY_SLOT TScImageDraw ScImageDraw;
R9_SCANIFY_SLOT TScImageDelete ScImageDelete;
R9_SCANIFY_SLOT TScPackageSetFieldAppInfo ScPackageSetFieldAppInfo;
R9_SCANIFY_SLOT TScPackageGetFieldAppInfo ScPackageGetFieldAppInfo;

/// True when an engine Boolean result means true (only its low 8 bits count).
constexpr bool ScIsTrue(ScBool value) { return (value & 0xFFu) != 0; }

namespace scapi {

/// One entry point of the engine library, in the order the package binds them.
struct TEntryPoint
{
    const char *name;        // exported name, also the name of the variable
    int argumentBytes;       // size of the arguments on the engine's 32-bit interface
    int declaredArguments;   // number of arguments of the declared type
    int declaredBytes;       // the declared type's arguments on the 32-bit interface
    void (*bind)(void *symbol); // stores a resolved symbol (or null) in the variable
    bool (*isBound)();       // whether the variable is not null
};

/// The 44 entry points in binding order; count receives 44.
const TEntryPoint *EntryPoints(std::size_t *count);

/// Raised when the package needs an entry point that is not available: the
/// library is not loaded, or it does not export that entry point.
class EEntryPointMissing : public std::runtime_error
{
public:
    explicit EEntryPointMissing(const char *name);
};

/// Whether the engine library is loaded (CognitiveLibInstance is not null).
bool LibraryLoaded();

/// The bound entry point, ready to call; raises EEntryPointMissing when the
/// library is not loaded (the variables keep their values after unloading, and
/// calling one then would run unmapped code) or the variable is null.
template <class Fn>
Fn Require(Fn fn, const char *name)
{
    if (!LibraryLoaded() || !fn)
        throw EEntryPointMissing(name);
    return fn;
}

} // namespace scapi

/// Calls an entry point through its variable: SC_CALL(ScInitialize)(nullptr).
/// Raises scapi::EEntryPointMissing instead of calling a null or unloaded one.
#define SC_CALL(name) (scapi::Require(name, #name))
