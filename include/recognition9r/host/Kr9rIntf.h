#pragma once
#include "base/r9Export.h"
// The host's security system as the package sees it: configuration objects,
// the security system that finds and enumerates them, and the current user
// with his rights. The host owns the implementations; the package holds them
// through shared pointers, so a reference is released when the variable that
// holds it is cleared.

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace host {

/// One object of the host's configuration (a server, a camera, a door...).
class R9_EXPORT ISegregateObject
{
public:
    virtual ~ISegregateObject() = default;
    /// Stable technical name, unique in the configuration.
    virtual QString Get_InnerName() const = 0;
    /// Name shown to the operator.
    virtual QString Get_DisplayName() const = 0;
    /// Path of the object in the configuration tree; FindObject accepts it.
    virtual QString Get_InnerPath() const = 0;
    /// Database id, the key of the user's per-object rights.
    virtual int Get_DbID() const = 0;
};
using ISegregateObjectPtr = std::shared_ptr<ISegregateObject>;
using TSegregateObjectList = std::vector<ISegregateObjectPtr>;

/// Options of GetSecuritySystem and of the preparatory call; the package
/// always passes the empty set.
using TSecurityOptions = std::uint32_t;

class R9_EXPORT ISecuritySystem
{
public:
    virtual ~ISecuritySystem() = default;
    /// Root object of the configuration tree.
    virtual ISegregateObjectPtr Get_ConfigRoot() = 0;
    /// The object at an inner path, null when there is none.
    virtual ISegregateObjectPtr FindObject(const QString &innerPath) = 0;
    /// Appends to `list` the objects under `root` whose class name begins with
    /// one of the ';'-separated `classPrefixes`. `options` bit 0x01 searches the
    /// whole subtree (otherwise only direct children); `maxCount` -1 means no
    /// limit; `reserved1` and `reserved2` are 0.
    virtual void ObjectsEnum(const ISegregateObjectPtr &root, const QString &classPrefixes,
                             std::uint8_t options, TSegregateObjectList &list, int maxCount,
                             int reserved1, int reserved2) = 0;
};
using ISecuritySystemPtr = std::shared_ptr<ISecuritySystem>;

/// The current user's per-object rights.
class R9_EXPORT IObjectRights
{
public:
    virtual ~IObjectRights() = default;
    /// True when the user may use the object with database id `objectId`;
    /// `rightFlags` receives the host's flags of that right (0 when none).
    virtual bool HasObjectRight(int objectId, std::uint8_t &rightFlags) = 0;
};
using IObjectRightsPtr = std::shared_ptr<IObjectRights>;

/// The user logged in to the host.
class R9_EXPORT IUserContext
{
public:
    virtual ~IUserContext() = default;
    /// True: the user may use every object, no per-object check is needed.
    virtual bool HasFullRights() = 0;
    virtual IObjectRightsPtr GetRights() = 0;
};
using IUserContextPtr = std::shared_ptr<IUserContext>;

/// The rule every form applies before it uses a configuration object: full
/// rights, or else a per-object right on the object's database id. A null user
/// or object has no rights.
R9_EXPORT bool UserHasRightsOn(IUserContext *user, const ISegregateObject *object);

} // namespace host
