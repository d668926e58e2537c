#pragma once
// The stand-in configuration manager: the cameras of the host database.

#include "TSecuritySystem.h"
#include "host/DVS9r32.h"

namespace hostkit {

class TConfigManager : public host::TQ70ConfigManager
{
public:
    TConfigManager(std::shared_ptr<TSecuritySystem> security, bool editMode)
        : m_security(std::move(security)), m_editMode(editMode) {}

    bool ContainsCamera(const QString &innerName) const override { return FindCamera(innerName) != nullptr; }
    /// The camera with this inner name, null when the configuration has none.
    std::shared_ptr<TSegregateObject> FindCamera(const QString &innerName) const;
    bool EditMode() const { return m_editMode; }

private:
    std::shared_ptr<TSecuritySystem> m_security;
    bool m_editMode;
};

} // namespace hostkit
