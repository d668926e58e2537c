#pragma once
// The host's configuration manager: the cameras of the host database, and
// how a view plays the real ones.

#include "TLiveFeed.h"
#include "TSecuritySystem.h"
#include "host/DVS9r32.h"

namespace hostkit {

class TConfigManager : public host::TQ70ConfigManager
{
public:
    TConfigManager(std::shared_ptr<TSecuritySystem> security, bool editMode, TFeedTimeouts timeouts = {},
                   QString streamFolder = QString())
        : m_security(std::move(security)), m_editMode(editMode), m_timeouts(timeouts),
          m_streamFolder(std::move(streamFolder)) {}

    bool ContainsCamera(const QString &innerName) const override { return FindCamera(innerName) != nullptr; }
    /// The camera with this inner name, null when the configuration has none.
    std::shared_ptr<TSegregateObject> FindCamera(const QString &innerName) const;
    bool EditMode() const { return m_editMode; }
    /// What a view plays for a real camera (a video file named by a relative
    /// path lies in the settings file's folder).
    TFeedSource FeedSource(const TSegregateObject &camera) const;
    TFeedTimeouts FeedTimeouts() const { return m_timeouts; }

private:
    std::shared_ptr<TSecuritySystem> m_security;
    bool m_editMode;
    TFeedTimeouts m_timeouts;
    QString m_streamFolder;
};

} // namespace hostkit
