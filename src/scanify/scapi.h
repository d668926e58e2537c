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

#include "base/r9Export.h"
#include "scanify/scapiTypes.h"

#include <cstddef>
#include <stdexcept>

#define R9_SCANIFY_SLOT R9_EXTERN_C __attribute__((visibility("protected")))

#define SC_DECLARE_SLOT(name, bytes) R9_SCANIFY_SLOT T##name name;
SC_ENTRY_POINTS(SC_DECLARE_SLOT)
#undef SC_DECLARE_SLOT

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
