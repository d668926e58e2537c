#include "HostKitFixture.h"

#include "host/VclVelmar9r32.h"
#include "services/TPluginManager.h"

namespace {

const QString kCameraPrefixes = QStringLiteral("EmbeddedCamera_;StandaloneCamera_");

QStringList InnerNames(const host::TSegregateObjectList &list)
{
    QStringList names;
    for (const auto &object : list)
        names << object->Get_InnerName();
    return names;
}

/// The camera at an inner path, found as a form finds its saved camera.
host::ISegregateObjectPtr Camera(const QString &innerPath)
{
    host::IPluginManager *manager = host::PluginManager();
    manager->PrepareSecuritySystem(true, 0, nullptr);
    return manager->GetSecuritySystem(true, 0)->FindObject(innerPath);
}

bool MayUse(const QString &innerPath)
{
    const host::ISegregateObjectPtr camera = Camera(innerPath);
    EXPECT_TRUE(camera) << innerPath.toStdString();
    return host::UserHasRightsOn(host::PluginManager()->GetUserContext().get(), camera.get());
}

} // namespace

using SecuritySystem = HostKitTest;

TEST_F(SecuritySystem, RightsRuleFullRightsPerObjectRightsAndNone)
{
    const QString entrance = QStringLiteral("/srv_main/cam_entrance");
    const QString parking = QStringLiteral("/srv_main/cam_parking");
    const QString archive = QStringLiteral("/srv_main/cam_archive");

    // Full rights: no per-object check at all.
    EXPECT_TRUE(host::PluginManager()->GetUserContext()->HasFullRights());
    EXPECT_TRUE(MayUse(entrance));
    EXPECT_TRUE(MayUse(parking));

    // Per-object rights: only the cameras granted to the user.
    kit->SetCurrentUser(QStringLiteral("operator"));
    EXPECT_FALSE(host::PluginManager()->GetUserContext()->HasFullRights());
    EXPECT_TRUE(MayUse(entrance));
    EXPECT_TRUE(MayUse(archive));
    EXPECT_FALSE(MayUse(parking));
    std::uint8_t flags = 0xff;
    EXPECT_FALSE(host::PluginManager()->GetUserContext()->GetRights()->HasObjectRight(Camera(parking)->Get_DbID(), flags));
    EXPECT_EQ(flags, 0);
    EXPECT_TRUE(host::PluginManager()->GetUserContext()->GetRights()->HasObjectRight(Camera(entrance)->Get_DbID(), flags));
    EXPECT_NE(flags, 0);

    // No rights at all.
    kit->SetCurrentUser(QStringLiteral("guest"));
    EXPECT_FALSE(MayUse(entrance));
    EXPECT_FALSE(MayUse(archive));

    // Nobody has rights on a camera that is not there.
    EXPECT_FALSE(host::UserHasRightsOn(host::PluginManager()->GetUserContext().get(), nullptr));
    EXPECT_FALSE(host::UserHasRightsOn(nullptr, Camera(entrance).get()));
    EXPECT_THROW(kit->SetCurrentUser(QStringLiteral("nobody")), std::runtime_error);
}

TEST_F(SecuritySystem, ObjectsEnumFiltersByClassPrefixes)
{
    host::ISecuritySystemPtr security = host::PluginManager()->GetSecuritySystem(true, 0);
    const host::ISegregateObjectPtr root = security->Get_ConfigRoot();
    ASSERT_TRUE(root);

    // As the camera form asks: both camera classes under the root, whole tree.
    host::TSegregateObjectList cameras;
    security->ObjectsEnum(root, kCameraPrefixes, 65, cameras, -1, 0, 0);
    EXPECT_EQ(InnerNames(cameras), (QStringList{"cam_entrance", "cam_parking", "cam_lobby", "cam_archive"}));
    // A class that merely starts like a camera class ("EmbeddedCameraGroup_1") is not one.
    EXPECT_FALSE(InnerNames(cameras).contains(QStringLiteral("grp_first")));

    host::TSegregateObjectList standalone;
    security->ObjectsEnum(root, QStringLiteral("StandaloneCamera_"), 65, standalone, -1, 0, 0);
    EXPECT_EQ(InnerNames(standalone), (QStringList{"cam_parking", "cam_archive"}));

    host::TSegregateObjectList doors;
    security->ObjectsEnum(root, QStringLiteral("AccessPoint_;CardReader_"), 65, doors, -1, 0, 0);
    EXPECT_EQ(InnerNames(doors), (QStringList{"door_main", "reader_main"}));

    // Without the subtree bit only direct children count: the cameras hang under a server.
    host::TSegregateObjectList direct;
    security->ObjectsEnum(root, kCameraPrefixes, 0, direct, -1, 0, 0);
    EXPECT_TRUE(direct.empty());
    security->ObjectsEnum(security->FindObject(QStringLiteral("/srv_main")), kCameraPrefixes, 0, direct, -1, 0, 0);
    EXPECT_EQ(direct.size(), 4u);

    // The list is filled, not replaced; a count limit and empty prefixes are honoured.
    security->ObjectsEnum(root, QStringLiteral("EmbeddedCamera_"), 65, direct, 1, 0, 0);
    EXPECT_EQ(InnerNames(direct).last(), QStringLiteral("cam_entrance"));
    EXPECT_EQ(direct.size(), 5u);
    host::TSegregateObjectList none;
    security->ObjectsEnum(root, QString(), 65, none, -1, 0, 0);
    EXPECT_TRUE(none.empty());
    EXPECT_THROW(security->ObjectsEnum(nullptr, kCameraPrefixes, 65, none, -1, 0, 0), std::invalid_argument);
}

TEST_F(SecuritySystem, ObjectsCarryTheirNamesPathsAndIds)
{
    host::ISecuritySystemPtr security = host::PluginManager()->GetSecuritySystem(true, 0);
    const host::ISegregateObjectPtr lobby = security->FindObject(QStringLiteral("/srv_main/cam_lobby"));
    ASSERT_TRUE(lobby);
    EXPECT_EQ(lobby->Get_InnerName(), QStringLiteral("cam_lobby"));
    EXPECT_EQ(lobby->Get_DisplayName(), QStringLiteral("Вестибюль"));
    EXPECT_EQ(lobby->Get_InnerPath(), QStringLiteral("/srv_main/cam_lobby"));
    EXPECT_EQ(lobby->Get_DbID(), 13);
    EXPECT_EQ(security->FindObject(QStringLiteral("/srv_main/cam_gone")), nullptr);
    EXPECT_EQ(security->FindObject(QString()), nullptr);
}
