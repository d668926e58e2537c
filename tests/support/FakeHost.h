#pragma once
// In-process fakes of the host services the camera window uses: the plug-in
// manager with its security system and user, and the video subsystem with a
// view that records what the window asks of it. Every call is recorded so
// tests can check arguments and order; answers are set by the test.

#include "host/DVS9r32.h"
#include "host/HostServices.h"
#include "host/Kr9rIntf.h"
#include "host/VclVelmar9r32.h"
#include "services/TJpegEncoder.h"

#include <QIODevice>
#include <QPointer>
#include <functional>
#include <set>
#include <stdexcept>

namespace r9test {

class FakeCamera : public host::ISegregateObject
{
public:
    FakeCamera(QString inner, QString display, QString path, int id)
        : inner(std::move(inner)), display(std::move(display)), path(std::move(path)), id(id) {}
    QString Get_InnerName() const override { return inner; }
    QString Get_DisplayName() const override { return display; }
    QString Get_InnerPath() const override { return path; }
    int Get_DbID() const override { return id; }
    QString inner, display, path;
    int id;
};

inline host::ISegregateObjectPtr MakeCamera(const QString &inner, const QString &display, int id)
{
    return std::make_shared<FakeCamera>(inner, display, QStringLiteral("/video/") + inner, id);
}

class FakeSecurity : public host::ISecuritySystem
{
public:
    struct EnumCall
    {
        host::ISegregateObjectPtr root;
        QString prefixes;
        std::uint8_t options;
        bool listWasEmpty;
        int maxCount, reserved1, reserved2;
    };

    host::ISegregateObjectPtr Get_ConfigRoot() override
    {
        ++rootCalls;
        return root;
    }
    host::ISegregateObjectPtr FindObject(const QString &innerPath) override
    {
        findCalls << innerPath;
        for (const auto &c : cameras)
            if (c->Get_InnerPath() == innerPath)
                return c;
        return nullptr;
    }
    void ObjectsEnum(const host::ISegregateObjectPtr &r, const QString &classPrefixes, std::uint8_t options,
                     host::TSegregateObjectList &list, int maxCount, int reserved1, int reserved2) override
    {
        enumCalls.push_back({r, classPrefixes, options, list.empty(), maxCount, reserved1, reserved2});
        list.insert(list.end(), cameras.begin(), cameras.end());
    }

    host::ISegregateObjectPtr root = std::make_shared<FakeCamera>("root", "Конфигурация", "/", 1);
    host::TSegregateObjectList cameras;
    int rootCalls = 0;
    QStringList findCalls;
    std::vector<EnumCall> enumCalls;
};

class FakeRights : public host::IObjectRights
{
public:
    explicit FakeRights(std::set<int> allowed) : allowed(std::move(allowed)) {}
    bool HasObjectRight(int objectId, std::uint8_t &rightFlags) override
    {
        rightFlags = allowed.count(objectId) ? 1 : 0;
        return rightFlags != 0;
    }
    std::set<int> allowed;
};

class FakeUser : public host::IUserContext
{
public:
    bool HasFullRights() override { return fullRights; }
    host::IObjectRightsPtr GetRights() override { return std::make_shared<FakeRights>(allowed); }
    bool fullRights = false;
    std::set<int> allowed; ///< database ids the user may use
};

class FakePlugins : public host::IPluginManager
{
public:
    host::IUserContextPtr GetUserContext() override
    {
        calls << QStringLiteral("GetUserContext");
        return user;
    }
    void PrepareSecuritySystem(bool load, host::TSecurityOptions options, const void *context) override
    {
        calls << QStringLiteral("Prepare(%1,%2,%3)").arg(load).arg(options).arg(context ? "ctx" : "null");
    }
    host::ISecuritySystemPtr GetSecuritySystem(bool load, host::TSecurityOptions options) override
    {
        calls << QStringLiteral("GetSecuritySystem(%1,%2)").arg(load).arg(options);
        return security;
    }
    std::shared_ptr<FakeUser> user = std::make_shared<FakeUser>();
    std::shared_ptr<FakeSecurity> security = std::make_shared<FakeSecurity>();
    QStringList calls;
};

class FakeVideo;

class FakeConfigManager : public host::TQ70ConfigManager
{
public:
    explicit FakeConfigManager(bool editMode) : editMode(editMode) {}
    bool ContainsCamera(const QString &) const override { return true; }
    bool editMode;
};

class FakeView : public host::TSimpleView
{
public:
    FakeView(QWidget *owner, FakeVideo *video) : host::TSimpleView(owner), video(video) {}
    ~FakeView() override;
    void CreateView(const QStringList &innerNames, host::TViewAttributes attributes) override;
    void Clear() override
    {
        ++clears;
        FLinks.Clear();
    }
    bool Snapshot(const QString &cameraInnerName, QIODevice *stream) override;

    FakeVideo *video;
    int clears = 0;
};

class FakeVideo : public host::IVideoSubsystem
{
public:
    struct CreateViewCall
    {
        FakeView *view;
        QStringList names;
        host::TViewAttributes attributes;
        bool hadConfigManager;
        QWidget *parent;
        bool visible; ///< shown (not hidden) at the time of the call
    };

    host::TSimpleView *CreateSimpleView(QWidget *owner) override
    {
        owners.push_back(owner);
        auto *view = new FakeView(owner, this);
        views.emplace_back(view);
        ++liveViews;
        return view;
    }
    host::TQ70ConfigManagerPtr CreateConfigManager(bool editMode) override
    {
        managerModes.push_back(editMode);
        return std::make_shared<FakeConfigManager>(editMode);
    }
    /// Not the hostkit packing: the window must store and hand back whatever the host gives.
    int ViewAttributesAsInt(host::TViewAttributes attributes) override
    {
        int bits = 0;
        for (int a = 0; a < host::TViewAttributeCount; ++a)
            if (attributes.Contains(static_cast<host::TViewAttribute>(a)))
                bits |= 1 << a;
        return 7000 + bits * 3;
    }
    host::TViewAttributes IntAsViewAttributes(int value) override
    {
        host::TViewAttributes attributes;
        const int bits = (value - 7000) / 3;
        for (int a = 0; a < host::TViewAttributeCount; ++a)
            if (bits & (1 << a))
                attributes.Include(static_cast<host::TViewAttribute>(a));
        return attributes;
    }
    host::ISegregateObjectPtr SelectCamera(QWidget *owner, host::ISecuritySystem *securitySystem) override
    {
        selectCalls.push_back({owner, securitySystem});
        return selectAnswer;
    }

    FakeView *LastView() const { return views.empty() ? nullptr : static_cast<FakeView *>(views.back().data()); }

    // answers
    QImage frame;          ///< what a snapshot delivers (as a JPEG)
    bool snapshotFails = false;
    QByteArray snapshotBytes; ///< delivered as is instead of the JPEG when set
    host::ISegregateObjectPtr selectAnswer;
    std::function<void(const CreateViewCall &)> onCreateView;

    // records
    std::vector<QWidget *> owners;
    std::vector<QPointer<QWidget>> views;
    std::vector<bool> managerModes;
    std::vector<CreateViewCall> createViewCalls;
    QStringList snapshotCameras;
    struct SelectCall { QWidget *owner; host::ISecuritySystem *security; };
    std::vector<SelectCall> selectCalls;
    int liveViews = 0;
};

inline FakeView::~FakeView()
{
    --video->liveViews;
}

inline void FakeView::CreateView(const QStringList &innerNames, host::TViewAttributes attributes)
{
    const FakeVideo::CreateViewCall call{this, innerNames, attributes, FConfigManager != nullptr, parentWidget(),
                                         !isHidden()};
    video->createViewCalls.push_back(call);
    if (!FConfigManager)
        throw std::runtime_error("no configuration manager");
    FLinks.Clear();
    for (const QString &name : innerNames)
        FLinks.Add({name, attributes});
    if (video->onCreateView)
        video->onCreateView(call);
}

inline bool FakeView::Snapshot(const QString &cameraInnerName, QIODevice *stream)
{
    video->snapshotCameras << cameraInnerName;
    if (video->snapshotFails)
        return false;
    const QByteArray bytes = video->snapshotBytes.isEmpty() ? hostkit::EncodeJpeg(video->frame) : video->snapshotBytes;
    return stream->write(bytes) == bytes.size();
}

/// The fakes as one host: install() hands them to the package.
struct FakeHost
{
    FakeHost()
    {
        services.PluginManager = &plugins;
        services.Video = &video;
    }
    void Install() { InstallHostServices(&services); }
    FakeSecurity &Security() { return *plugins.security; }
    FakeUser &User() { return *plugins.user; }

    FakePlugins plugins;
    FakeVideo video;
    host::THostServices services;
};

} // namespace r9test
