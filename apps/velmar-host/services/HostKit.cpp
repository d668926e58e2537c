#include "HostKit.h"

#include "TCameraCatalogue.h"
#include "TLiveFeed.h"
#include "THostDatabase.h"
#include "THostLogFile.h"
#include "TNationalitiesDataSet.h"
#include "TPluginManager.h"
#include "TVideoSubsystem.h"
#include "FaultSwitches.h"

#include <QDir>

namespace hostkit {

bool HostFaultActive(const char *name)
{
    return doubles::ActiveFaultSwitches("HOSTKIT_FAULTS").contains(QLatin1String(name), Qt::CaseInsensitive);
}

THostKit::THostKit(const QString &dataFolder, const QString &login)
    : m_db(THostDatabase::Open(QDir(dataFolder).filePath(DatabaseFileName())))
    // A log folder below the database file cannot be made: every write fails.
    , m_log(std::make_unique<THostLogFile>(HostFaultActive("logfails")
                                               ? QDir(dataFolder).filePath(DatabaseFileName()) + QStringLiteral("/log")
                                               : QString()))
    , m_plugins(std::make_unique<TPluginManager>(m_db, login))
    , m_video(std::make_unique<TVideoSubsystem>(m_plugins->Security()))
    , m_nationalities(std::make_unique<TNationalitiesDataSet>(m_db))
    , m_cameras(std::make_unique<TCameraCatalogue>(
          m_db, TCameraSettings::Read(QDir(dataFolder).filePath(TCameraSettings::FileName()))))
{
    const TCameraSettings &cameras = m_cameras->Settings();
    // A view's configuration manager may outlive the kit, and its log with it.
    m_video->SetFeedSettings({cameras.firstFrameMs, cameras.silenceMs}, QDir(dataFolder).absolutePath(),
                             [log = std::weak_ptr<THostLogFile>(m_log)](const QString &text) {
                                 if (const auto alive = log.lock())
                                     alive->WriteLogFileMessage(text, nullptr, QString());
                             });
    m_cameras->SetLog([this](const QString &text) { m_log->WriteLogFileMessage(text, nullptr, QString()); });
    m_cameras->Refresh(false);
    m_plugins->Security()->SetBeforeCamerasListed([this] { m_cameras->RefreshForListing(); });

    m_services.LogFile = m_log.get();
    m_services.PluginManager = m_plugins.get();
    m_services.Video = m_video.get();
    m_services.Nationalities = m_nationalities.get();
    if (HostFaultActive("nolog"))
        m_services.LogFile = nullptr;
    if (HostFaultActive("noplugins"))
        m_services.PluginManager = nullptr;
    if (HostFaultActive("novideo"))
        m_services.Video = nullptr;
    if (HostFaultActive("nonationalities"))
        m_services.Nationalities = nullptr;
}

THostKit::~THostKit()
{
    // The security system may outlive the kit in a view's configuration manager.
    m_plugins->Security()->SetBeforeCamerasListed(nullptr);
    // The players of closed views stop on their own threads; a host that
    // goes while one still runs would pull the backend from under it.
    TLiveFeed::WaitForStoppedFeeds(3000);
}

QString THostKit::DatabasePath() const
{
    return m_db->Path();
}

void THostKit::SetCurrentUser(const QString &login)
{
    m_plugins->SetCurrentUser(login);
}

void THostKit::SetSnapshotFails(const QString &cameraInnerName, bool fails)
{
    QSqlQuery q = m_db->Exec(QStringLiteral("UPDATE config_objects SET snapshot_fails = ? WHERE inner_name = ?"),
                             {fails ? 1 : 0, cameraInnerName});
    if (q.numRowsAffected() != 1)
        throw std::runtime_error(("hostkit: no camera " + cameraInnerName).toStdString());
}

std::unique_ptr<THostKit> CreateServices(const QString &dataFolder)
{
    return std::make_unique<THostKit>(dataFolder);
}

} // namespace hostkit
