#pragma once
// The stand-in security system: configuration objects, users and their
// rights, all read from the host database at the moment of each call.

#include "THostDatabase.h"
#include "host/Kr9rIntf.h"

#include <functional>

namespace hostkit {

/// A configuration object as read from the database.
class TSegregateObject : public host::ISegregateObject
{
public:
    struct Row
    {
        int id = 0;
        QString className, innerName, displayName, innerPath;
        bool snapshotFails = false;
        QString sourceKind, source; ///< empty for a synthetic camera
    };
    explicit TSegregateObject(Row row) : m_row(std::move(row)) {}

    QString Get_InnerName() const override { return m_row.innerName; }
    QString Get_DisplayName() const override { return m_row.displayName; }
    QString Get_InnerPath() const override { return m_row.innerPath; }
    int Get_DbID() const override { return m_row.id; }

    QString ClassName() const { return m_row.className; }
    bool SnapshotFails() const { return m_row.snapshotFails; }
    /// "device" or "stream" for a real camera, empty otherwise.
    QString SourceKind() const { return m_row.sourceKind; }
    /// The video input's id or the stream's address.
    QString Source() const { return m_row.source; }

private:
    Row m_row;
};

class TSecuritySystem : public host::ISecuritySystem
{
public:
    /// Option of ObjectsEnum: search the whole subtree, not only direct children.
    static constexpr std::uint8_t oeRecursive = 0x01;

    explicit TSecuritySystem(std::shared_ptr<THostDatabase> db) : m_db(std::move(db)) {}

    host::ISegregateObjectPtr Get_ConfigRoot() override;
    host::ISegregateObjectPtr FindObject(const QString &innerPath) override;
    void ObjectsEnum(const host::ISegregateObjectPtr &root, const QString &classPrefixes,
                     std::uint8_t options, host::TSegregateObjectList &list, int maxCount,
                     int reserved1, int reserved2) override;

    /// The object with this inner name, null when there is none.
    std::shared_ptr<TSegregateObject> FindByInnerName(const QString &innerName);
    /// Every camera of the configuration, in id order.
    host::TSegregateObjectList Cameras();

    /// Called before cameras are enumerated (the host brings its list of
    /// video inputs up to date there).
    void SetBeforeCamerasListed(std::function<void()> hook) { m_beforeCamerasListed = std::move(hook); }

    /// The class prefixes of cameras, as the forms pass them.
    static QString CameraClassPrefixes() { return QStringLiteral("EmbeddedCamera_;StandaloneCamera_"); }

private:
    std::shared_ptr<TSegregateObject> FindWhere(const QString &column, const QVariant &value);
    std::shared_ptr<THostDatabase> m_db;
    std::function<void()> m_beforeCamerasListed;
};

class TObjectRights : public host::IObjectRights
{
public:
    TObjectRights(std::shared_ptr<THostDatabase> db, int userId) : m_db(std::move(db)), m_userId(userId) {}
    bool HasObjectRight(int objectId, std::uint8_t &rightFlags) override;

private:
    std::shared_ptr<THostDatabase> m_db;
    int m_userId;
};

class TUserContext : public host::IUserContext
{
public:
    /// The user with this login; throws std::runtime_error for an unknown login.
    TUserContext(std::shared_ptr<THostDatabase> db, const QString &login);
    bool HasFullRights() override;
    host::IObjectRightsPtr GetRights() override;
    QString Login() const { return m_login; }

private:
    std::shared_ptr<THostDatabase> m_db;
    QString m_login;
    int m_userId = 0;
};

} // namespace hostkit
