#pragma once
// Loading of an engine server library and creation of its classes. The
// factories of ABBYY_PassportReaderSdk_TLB.h use it with the server's fixed
// library name; the name is a parameter so that the failure paths (no
// library, no entry point) can be exercised while the real server is loaded.

#include "sdk/ABBYY_PassportReaderSdk_TLB.h"

namespace abbyy::server {

/// Loads the library (the host executable's folder first, then the loader's
/// search path) and keeps it loaded for the life of the process.
/// Throws EEngineError with the loader's text when it cannot be loaded.
void *Load(const QString &libraryName);

/// Asks the library's DllGetClassObject for class clsid with interface iid and
/// returns the object with one reference. Throws EEngineError on any failure.
void *CreateObject(const QString &libraryName, const CLSID &clsid, const IID &iid);

} // namespace abbyy::server
