#pragma once
#include "base/r9Export.h"
// The host's plug-in manager: the door to the current user and to the
// security system. PluginManager() returns the one the host installed
// (host/HostServices.h).

#include "host/Kr9rIntf.h"

namespace host {

class R9_EXPORT IPluginManager
{
public:
    virtual ~IPluginManager() = default;
    /// The user logged in to the host.
    virtual IUserContextPtr GetUserContext() = 0;
    /// Prepares the security system for GetSecuritySystem; the package passes
    /// (true, empty set, null) and makes this call first.
    virtual void PrepareSecuritySystem(bool load, TSecurityOptions options, const void *context) = 0;
    /// The security system; the package passes (true, empty set).
    virtual ISecuritySystemPtr GetSecuritySystem(bool load, TSecurityOptions options) = 0;
};

/// The host's plug-in manager. Throws std::runtime_error when no host has
/// installed one.
R9_EXPORT IPluginManager *PluginManager();

} // namespace host
