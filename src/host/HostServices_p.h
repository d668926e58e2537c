#pragma once
// Inside the package: keeping the table a host installs. InstallHostServices
// (host/HostServices.h) is defined with the package's shared variables,
// because it also hands the host's nationalities to gl_cdsNationalities.

#include "host/HostServices.h"

namespace host {

/// Keeps a copy of the host's table (null: all services removed), routes
/// the package's log lines to its log, and gives the copy back. The caller
/// inside the package uses the answer rather than the exported
/// InstalledHostServices, whose calls another loaded copy of the package
/// could take over.
const THostServices &InstallServices(const THostServices *services);

} // namespace host
