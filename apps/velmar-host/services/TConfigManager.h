#pragma once
// The host's configuration manager: the cameras of the host database, and
// how a view plays the real ones.

#include "TLiveFeed.h"
#include "TSecuritySystem.h"
#include "host/DVS9r32.h"

#include <functional>

namespace hostkit {

class TConfigManager : public host::TQ70ConfigManager
{
public:
    using TFeedLog = std::function<void(const QString &)>;
    TConfigManager(std::shared_ptr<TSecuritySystem> security, bool editMode, TFeedTimeouts timeouts = {},
                   QString streamFolder = QString(), TFeedLog feedLog = nullptr)
        : m_security(std::move(security)), m_editMode(editMode), m_timeouts(timeouts),
          m_streamFolder(std::move(streamFolder)), m_feedLog(std::move(feedLog)) {}

    bool ContainsCamera(const QString &innerName) const override { return FindCamera(innerName) != nullptr; }
    /// The camera with this inner name, null when the configuration has none.
    std::shared_ptr<TSegregateObject> FindCamera(const QString &innerName) const;
    bool EditMode() const { return m_editMode; }
    /// What a view plays for a real camera (a video file named by a relative
    /// path lies in the settings file's folder; a video input is looked up
    /// here, on the window's thread).
    TFeedSource FeedSource(const TSegregateObject &camera) const;
    TFeedTimeouts FeedTimeouts() const { return m_timeouts; }
    /// Where a failed feed's backend text goes (the host's log); may be empty.
    const TFeedLog &FeedLog() const { return m_feedLog; }

private:
    std::shared_ptr<TSecuritySystem> m_security;
    bool m_editMode;
    TFeedTimeouts m_timeouts;
    QString m_streamFolder;
    TFeedLog m_feedLog;
};

} // namespace hostkit
