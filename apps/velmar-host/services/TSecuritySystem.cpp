#include "TSecuritySystem.h"

#include <stdexcept>

namespace hostkit {

namespace {

const QString kSelectObjects = QStringLiteral(
    "SELECT id, class_name, inner_name, display_name, inner_path, snapshot_fails, source_kind, source "
    "FROM config_objects WHERE enabled = 1 ");

TSegregateObject::Row ReadRow(const QSqlQuery &q)
{
    TSegregateObject::Row row;
    row.id = q.value(0).toInt();
    row.className = q.value(1).toString();
    row.innerName = q.value(2).toString();
    row.displayName = q.value(3).toString();
    row.innerPath = q.value(4).toString();
    row.snapshotFails = q.value(5).toInt() != 0;
    row.sourceKind = q.value(6).toString();
    row.source = q.value(7).toString();
    return row;
}

bool MatchesPrefix(const QString &className, const QStringList &prefixes)
{
    for (const QString &prefix : prefixes)
        if (className.startsWith(prefix))
            return true;
    return false;
}

} // namespace

std::shared_ptr<TSegregateObject> TSecuritySystem::FindWhere(const QString &column, const QVariant &value)
{
    QSqlQuery q = m_db->Exec(kSelectObjects + QStringLiteral("AND ") + column + QStringLiteral(" = ?"), {value});
    if (!q.next())
        return nullptr;
    return std::make_shared<TSegregateObject>(ReadRow(q));
}

host::ISegregateObjectPtr TSecuritySystem::Get_ConfigRoot()
{
    QSqlQuery q = m_db->Exec(kSelectObjects + QStringLiteral("AND parent_id IS NULL ORDER BY id LIMIT 1"));
    if (!q.next())
        throw std::runtime_error("hostkit: the configuration has no root object");
    return std::make_shared<TSegregateObject>(ReadRow(q));
}

host::ISegregateObjectPtr TSecuritySystem::FindObject(const QString &innerPath)
{
    if (innerPath.isEmpty())
        return nullptr;
    return FindWhere(QStringLiteral("inner_path"), innerPath);
}

std::shared_ptr<TSegregateObject> TSecuritySystem::FindByInnerName(const QString &innerName)
{
    if (innerName.isEmpty())
        return nullptr;
    return FindWhere(QStringLiteral("inner_name"), innerName);
}

void TSecuritySystem::ObjectsEnum(const host::ISegregateObjectPtr &root, const QString &classPrefixes,
                                  std::uint8_t options, host::TSegregateObjectList &list, int maxCount,
                                  int, int)
{
    if (!root)
        throw std::invalid_argument("ObjectsEnum: no root object");
    const QStringList prefixes = classPrefixes.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (prefixes.isEmpty())
        return;
    if (m_beforeCamerasListed && MatchesPrefix(QStringLiteral("StandaloneCamera_"), prefixes))
        m_beforeCamerasListed();

    // Children of a node are found by id; a subtree by the inner path, which
    // holds the parent's path as its prefix.
    QSqlQuery q;
    if (options & oeRecursive) {
        QString base = root->Get_InnerPath();
        if (!base.endsWith(QLatin1Char('/')))
            base += QLatin1Char('/');
        q = m_db->Exec(kSelectObjects + QStringLiteral("AND substr(inner_path, 1, ?) = ? AND id <> ? ORDER BY id"),
                       {base.size(), base, root->Get_DbID()});
    } else {
        q = m_db->Exec(kSelectObjects + QStringLiteral("AND parent_id = ? ORDER BY id"), {root->Get_DbID()});
    }
    int added = 0;
    while (q.next() && (maxCount < 0 || added < maxCount)) {
        TSegregateObject::Row row = ReadRow(q);
        if (!MatchesPrefix(row.className, prefixes))
            continue;
        list.push_back(std::make_shared<TSegregateObject>(std::move(row)));
        ++added;
    }
}

host::TSegregateObjectList TSecuritySystem::Cameras()
{
    host::TSegregateObjectList cameras;
    ObjectsEnum(Get_ConfigRoot(), CameraClassPrefixes(), 0x41, cameras, -1, 0, 0);
    return cameras;
}

bool TObjectRights::HasObjectRight(int objectId, std::uint8_t &rightFlags)
{
    QSqlQuery q = m_db->Exec(QStringLiteral("SELECT rights FROM user_object_rights WHERE user_id = ? AND object_id = ?"),
                             {m_userId, objectId});
    rightFlags = q.next() ? static_cast<std::uint8_t>(q.value(0).toUInt()) : 0;
    return rightFlags != 0;
}

TUserContext::TUserContext(std::shared_ptr<THostDatabase> db, const QString &login)
    : m_db(std::move(db)), m_login(login)
{
    QSqlQuery q = m_db->Exec(QStringLiteral("SELECT id FROM users WHERE login = ?"), {login});
    if (!q.next())
        throw std::runtime_error(("hostkit: no user with the login " + login).toStdString());
    m_userId = q.value(0).toInt();
}

bool TUserContext::HasFullRights()
{
    QSqlQuery q = m_db->Exec(QStringLiteral("SELECT full_rights FROM users WHERE id = ?"), {m_userId});
    return q.next() && q.value(0).toInt() != 0;
}

host::IObjectRightsPtr TUserContext::GetRights()
{
    return std::make_shared<TObjectRights>(m_db, m_userId);
}

} // namespace hostkit
