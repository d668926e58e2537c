#pragma once
// How a host hands its services to the package. A host that has loaded the
// package resolves InstallHostServices with dlsym and calls it once before it
// creates a form:
//
//     auto install = reinterpret_cast<void (*)(const host::THostServices *)>(
//         dlsym(package, "InstallHostServices"));
//     install(&services);   // ... forms ...   install(nullptr);
//
// The package copies the table, does not own the objects it points to, and
// uses them until the next call. A form that needs a service the host left
// null gets a std::runtime_error that names the service.

#include "base/r9Export.h"

#include <cstdint>

namespace host {

class ILogFile;
class IPluginManager;
class IVideoSubsystem;
class IDataSet;

struct THostServices
{
    /// sizeof(THostServices) as the host was built; fields beyond it are
    /// taken as null, so an older host keeps working with a newer package.
    std::uint32_t Size = sizeof(THostServices);
    ILogFile *LogFile = nullptr;             ///< WriteLogFileMessage
    IPluginManager *PluginManager = nullptr; ///< PluginManager()
    IVideoSubsystem *Video = nullptr;        ///< TSimpleView, TQ70ConfigManager, TSchemePersistence, TfmSelCam
    IDataSet *Nationalities = nullptr; ///< becomes gl_cdsNationalities
};

/// The table last installed (all null when none).
R9_EXPORT const THostServices &InstalledHostServices();

/// The installed video subsystem; throws std::runtime_error when there is none.
R9_EXPORT IVideoSubsystem &RequireVideo();

} // namespace host

/// Installs the host's services (null removes them all): the log, the plug-in
/// manager, the video subsystem and the nationalities data set.
R9_API void InstallHostServices(const host::THostServices *services);
