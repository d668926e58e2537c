#include "SpecimenFeed.h"

#include "FaultSwitches.h"
#include "SettingsFile.h"
#include "platform/OwnFolder.h"

#include <QDir>

namespace scproxy {

namespace {

/// The folder of the engine whose settings file the feed reads: the engine's
/// own when the feed is linked into it; linked into a host, the folder of the
/// engine the host has loaded, else the host's own, where the package loads
/// the engine from.
QString EngineFolder()
{
    return r9base::OwnFolder(reinterpret_cast<const void *>(&EngineFolder), "libscproxy.so");
}

doubles::SettingsFile EngineSettings()
{
    return doubles::SettingsFile(QDir(EngineFolder()).filePath(QStringLiteral("ScProxy.Ini")));
}

} // namespace

QString SpecimenFolder()
{
    return EngineSettings().Folder("SCPROXY_SPECIMENS", "Specimens", "Folder", EngineFolder(),
                                   QStringLiteral("specimens/scanify"));
}

QStringList FeedPatterns()
{
    return doubles::SplitList(EngineSettings().Setting("SCPROXY_FEED", "Specimens", "Feed"));
}

} // namespace scproxy
