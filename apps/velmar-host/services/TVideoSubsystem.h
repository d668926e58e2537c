#pragma once
// The stand-in video subsystem: makes the live views and configuration
// managers for the package, packs view attributes and runs the camera
// selection dialog.

#include "TLiveFeed.h"
#include "TSecuritySystem.h"
#include "host/DVS9r32.h"

#include <functional>

namespace hostkit {

class TVideoSubsystem : public host::IVideoSubsystem
{
public:
    explicit TVideoSubsystem(std::shared_ptr<TSecuritySystem> security) : m_security(std::move(security)) {}

    host::TSimpleView *CreateSimpleView(QWidget *owner) override;
    host::TQ70ConfigManagerPtr CreateConfigManager(bool editMode) override;
    /// Bit n of the integer is attribute n of TViewAttribute.
    int ViewAttributesAsInt(host::TViewAttributes attributes) override;
    /// Bits beyond the six attributes are ignored.
    host::TViewAttributes IntAsViewAttributes(int value) override;
    host::ISegregateObjectPtr SelectCamera(QWidget *owner, host::ISecuritySystem *securitySystem) override;

    /// Answers the selection dialog instead of the operator: gets the
    /// cameras the dialog would list and returns the chosen one (null:
    /// cancel). An empty hook brings the dialog back. Returns the previous hook.
    using TSelectCameraHook = std::function<host::ISegregateObjectPtr(const host::TSegregateObjectList &cameras)>;
    TSelectCameraHook SetSelectCameraHook(TSelectCameraHook hook);

    /// How long the real cameras of new views may stay silent, and the
    /// folder relative file names of streams start from.
    /// `log` hears what the backend says when a camera fails.
    void SetFeedSettings(TFeedTimeouts timeouts, QString streamFolder, std::function<void(const QString &)> log);

private:
    std::shared_ptr<TSecuritySystem> m_security;
    TFeedTimeouts m_timeouts;
    QString m_streamFolder;
    std::function<void(const QString &)> m_feedLog;
    TSelectCameraHook m_selectHook;
};

} // namespace hostkit
