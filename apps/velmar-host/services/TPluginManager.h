#pragma once
// The stand-in plug-in manager: the current user and the security system of
// the host database.

#include "TSecuritySystem.h"
#include "host/VclVelmar9r32.h"

namespace hostkit {

class TPluginManager : public host::IPluginManager
{
public:
    TPluginManager(std::shared_ptr<THostDatabase> db, const QString &login);

    host::IUserContextPtr GetUserContext() override { return m_user; }
    void PrepareSecuritySystem(bool load, host::TSecurityOptions options, const void *context) override;
    host::ISecuritySystemPtr GetSecuritySystem(bool load, host::TSecurityOptions options) override;

    /// Logs another user in; throws std::runtime_error for an unknown login.
    void SetCurrentUser(const QString &login);
    std::shared_ptr<TSecuritySystem> Security() const { return m_security; }
    /// How many preparatory calls were made (a host checks the call order).
    int PrepareCount() const { return m_prepareCount; }

private:
    std::shared_ptr<THostDatabase> m_db;
    std::shared_ptr<TSecuritySystem> m_security;
    std::shared_ptr<TUserContext> m_user;
    int m_prepareCount = 0;
};

} // namespace hostkit
