// Instances with their last error, options and configuration context.

#include "EngineState.h"
#include "ServerConfig.h"

#include <QFileInfo>

namespace scproxy::engine {

namespace {
constexpr std::uint32_t ApiVersion = 0x00030002;
} // namespace

std::uint32_t GetScanifyAPIVersion()
{
    return ApiVersion;
}

std::int32_t GetErrorCode(ScInstanceHandle instance)
{
    Lock lock(S().lock);
    if (instance == 0)
        return S().startError.isEmpty() ? NoError : StartError;
    Instance *inst = Find(S().instances, instance);
    return inst ? inst->errorCode : BadHandle;
}

const char *GetErrorMessage(ScInstanceHandle instance)
{
    Lock lock(S().lock);
    if (instance == 0)
        return S().startError.constData();
    Instance *inst = Find(S().instances, instance);
    return inst ? inst->errorMessage.constData() : "The engine instance handle is not valid";
}

ScInstanceHandle Initialize(const TScInitializeOption *option)
{
    Lock lock(S().lock);
    if (FaultActive(fault::Init)) {
        S().startError = FaultMessage(fault::Init, QStringLiteral("The recognition modules could not be started: "
                                                                  "the licence key was not found"))
                             .toLocal8Bit();
        return 0;
    }
    if (option && option->nEnabledSubsystems != 0 && (option->nEnabledSubsystems & SC_SUBSYSTEM_SCAN) == 0) {
        S().startError = QByteArrayLiteral("The scanning subsystem is required by this engine");
        return 0;
    }
    S().startError.clear();
    const ScInstanceHandle handle = NewHandle();
    S().instances.emplace(handle, Instance{});
    return handle;
}

ScBool Terminate(ScInstanceHandle instance)
{
    Lock lock(S().lock);
    State &s = S();
    if (!s.instances.erase(instance))
        return 0;
    // Everything the instance opened goes with it; the package folders stay on disk.
    std::erase_if(s.devices, [&](const auto &d) { return d.second.instance == instance; });
    for (auto it = s.packages.begin(); it != s.packages.end();) {
        if (it->second.instance == instance) {
            const ScPackageHandle p = it->first;
            std::erase_if(s.images, [&](const auto &i) { return i.second.package == p; });
            std::erase_if(s.documents, [&](const auto &d) { return d.second.package == p; });
            it = s.packages.erase(it);
        } else {
            ++it;
        }
    }
    return 1;
}

ScBool SetOption(ScInstanceHandle instance, std::int32_t option, const char *value)
{
    Lock lock(S().lock);
    Instance *inst = LiveInstance(instance);
    if (!inst)
        return 0;
    inst->options[option] = value ? QByteArray(value) : QByteArray();
    return 1;
}

const char *GetOption(ScInstanceHandle instance, std::int32_t option)
{
    Lock lock(S().lock);
    Instance *inst = Find(S().instances, instance);
    if (!inst)
        return nullptr;
    const auto it = inst->options.find(option);
    return Returned(*inst, it == inst->options.end() ? QByteArray() : it->second);
}

ScBool SetupContext(ScInstanceHandle instance, const char *configFile)
{
    Lock lock(S().lock);
    Instance *inst = LiveInstance(instance);
    if (!inst)
        return 0;
    const QString path = Text(configFile);
    if (FaultActive(fault::Context)) {
        Fail(inst, ContextError, FaultMessage(fault::Context, QStringLiteral("The configuration %1 could not be taken").arg(path)));
        return 0;
    }
    if (path.isEmpty()) {
        Fail(inst, BadArgument, QStringLiteral("No configuration file was given"));
        return 0;
    }
    ProfileFile file;
    QString why;
    if (!QFileInfo(path).isFile() || !file.Load(path, &why)) {
        Fail(inst, ContextError,
             QStringLiteral("The configuration file %1 cannot be read%2").arg(path, why.isEmpty() ? QString() : QStringLiteral(": ") + why));
        return 0;
    }
    if (file.SectionCount() == 0) {
        Fail(inst, ContextError, QStringLiteral("The configuration file %1 holds no section").arg(path));
        return 0;
    }
    inst->hasContext = true;
    inst->contextPath = path;
    inst->context = file;
    return 1;
}

const char *GetContext(ScInstanceHandle instance)
{
    Lock lock(S().lock);
    Instance *inst = Find(S().instances, instance);
    return inst ? Returned(*inst, inst->contextPath.toLocal8Bit()) : nullptr;
}
} // namespace scproxy::engine
