#pragma once
// The stand-in host services in one object: a host creates it at start,
// passes Services() to the package's InstallHostServices, and keeps it alive
// until it has called InstallHostServices(nullptr).
//
//     auto kit = hostkit::CreateServices(dataFolder);
//     auto install = reinterpret_cast<void (*)(const host::THostServices *)>(
//         dlsym(package, "InstallHostServices"));
//     install(kit->Services());
//     ...                      // create and show forms
//     install(nullptr);        // before kit is destroyed
//
// Fault switches (environment HOSTKIT_FAULTS, written as
// doubles/support/README.md says) make the kit a
// host that lacks a service or whose log fails, for the package's failure
// paths: "nolog", "noplugins", "novideo", "nonationalities" leave that service
// out of Services(); "logfails" points the log at a folder that cannot exist.

#include "host/HostServices.h"

#include <QString>
#include <memory>

namespace hostkit {

class THostDatabase;
class THostLogFile;
class TPluginManager;
class TVideoSubsystem;
class TNationalitiesDataSet;
class TCameraCatalogue;

class THostKit
{
public:
    /// Opens the host database "hostkit.sqlite" in `dataFolder` (created and
    /// seeded on first use) and logs `login` in ("admin" has full rights,
    /// "operator" rights on some cameras, "guest" none). The real cameras
    /// come from the settings file "hostkit.ini" beside it
    /// (TCameraSettings.h). The log goes to THostLogFile::DefaultFolder().
    /// Throws std::runtime_error on failure.
    explicit THostKit(const QString &dataFolder, const QString &login = QStringLiteral("admin"));
    ~THostKit();
    THostKit(const THostKit &) = delete;
    THostKit &operator=(const THostKit &) = delete;

    /// The table for InstallHostServices; valid while the kit lives.
    const host::THostServices *Services() const { return &m_services; }

    THostLogFile &LogFile() const { return *m_log; }
    TPluginManager &PluginManager() const { return *m_plugins; }
    TVideoSubsystem &Video() const { return *m_video; }
    TNationalitiesDataSet &Nationalities() const { return *m_nationalities; }
    TCameraCatalogue &Cameras() const { return *m_cameras; }
    QString DatabasePath() const;

    /// Logs another user in; throws std::runtime_error for an unknown login.
    void SetCurrentUser(const QString &login);
    /// Makes the camera's snapshots fail (or succeed again), as a broken camera would.
    void SetSnapshotFails(const QString &cameraInnerName, bool fails);

    static QString DatabaseFileName() { return QStringLiteral("hostkit.sqlite"); }

private:
    std::shared_ptr<THostDatabase> m_db;
    std::shared_ptr<THostLogFile> m_log;
    std::unique_ptr<TPluginManager> m_plugins;
    std::unique_ptr<TVideoSubsystem> m_video;
    std::unique_ptr<TNationalitiesDataSet> m_nationalities;
    std::unique_ptr<TCameraCatalogue> m_cameras;
    host::THostServices m_services;
};

/// Whether the fault switch `name` is set in HOSTKIT_FAULTS.
bool HostFaultActive(const char *name);

/// The one entry of a host: everything the package needs, on the data folder.
std::unique_ptr<THostKit> CreateServices(const QString &dataFolder);

} // namespace hostkit
