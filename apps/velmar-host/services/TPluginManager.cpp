#include "TPluginManager.h"

namespace hostkit {

TPluginManager::TPluginManager(std::shared_ptr<THostDatabase> db, const QString &login)
    : m_db(std::move(db))
    , m_security(std::make_shared<TSecuritySystem>(m_db))
    , m_user(std::make_shared<TUserContext>(m_db, login))
{
}

void TPluginManager::PrepareSecuritySystem(bool, host::TSecurityOptions, const void *)
{
    // The database is always at hand; there is nothing to load in advance.
    ++m_prepareCount;
}

host::ISecuritySystemPtr TPluginManager::GetSecuritySystem(bool, host::TSecurityOptions)
{
    return m_security;
}

void TPluginManager::SetCurrentUser(const QString &login)
{
    m_user = std::make_shared<TUserContext>(m_db, login);
}

} // namespace hostkit
