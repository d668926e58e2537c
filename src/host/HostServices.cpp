#include "host/HostServices_p.h"

#include "base/PackageTexts.h"
#include "host/DVS9r32.h"
#include "host/Sdlogfile.h"
#include "host/VclVelmar9r32.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

host::THostServices g_services;

[[noreturn]] void ThrowMissing(const char *service)
{
    throw std::runtime_error(QString(texts::HostServiceMissing).arg(service).toStdString() + " (InstallHostServices)");
}

} // namespace

namespace host {

const THostServices &InstallServices(const THostServices *services)
{
    THostServices installed;
    if (services) {
        // Copy only what the host's table has; the rest stays null.
        const std::size_t size = std::min<std::size_t>(services->Size, sizeof(installed));
        if (size > sizeof(installed.Size))
            std::memcpy(reinterpret_cast<char *>(&installed) + sizeof(installed.Size),
                        reinterpret_cast<const char *>(services) + sizeof(installed.Size),
                        size - sizeof(installed.Size));
    }
    installed.Size = sizeof(installed);
    g_services = installed;
    InstallLogFile(g_services.LogFile);
    return g_services;
}

const THostServices &InstalledHostServices() { return g_services; }

IVideoSubsystem &RequireVideo()
{
    if (!g_services.Video)
        ThrowMissing(texts::VideoService);
    return *g_services.Video;
}

IPluginManager *PluginManager()
{
    if (!g_services.PluginManager)
        ThrowMissing(texts::PluginManagerService);
    return g_services.PluginManager;
}

std::shared_ptr<TQ70ConfigManager> TQ70ConfigManager::Create(bool editMode)
{
    auto manager = RequireVideo().CreateConfigManager(editMode);
    if (!manager)
        throw std::runtime_error(texts::VideoMadeNoConfigManager);
    return manager;
}

TSimpleView *TSimpleView::Create(QWidget *owner)
{
    TSimpleView *view = RequireVideo().CreateSimpleView(owner);
    if (!view)
        throw std::runtime_error(texts::VideoMadeNoCameraView);
    return view;
}

int TSchemePersistence::ViewAttributesAsInt(TViewAttributes attributes)
{
    return RequireVideo().ViewAttributesAsInt(attributes);
}

TViewAttributes TSchemePersistence::IntAsViewAttributes(int value)
{
    return RequireVideo().IntAsViewAttributes(value);
}

ISegregateObjectPtr TfmSelCam::Select(QWidget *owner, ISecuritySystem *securitySystem)
{
    return RequireVideo().SelectCamera(owner, securitySystem);
}

} // namespace host
