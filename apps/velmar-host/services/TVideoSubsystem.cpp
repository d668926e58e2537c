#include "TVideoSubsystem.h"

#include "TCameraView.h"
#include "TConfigManager.h"
#include "TSelCamDialog.h"

#include <utility>

namespace hostkit {

host::TSimpleView *TVideoSubsystem::CreateSimpleView(QWidget *owner)
{
    return new TCameraView(owner);
}

host::TQ70ConfigManagerPtr TVideoSubsystem::CreateConfigManager(bool editMode)
{
    return std::make_shared<TConfigManager>(m_security, editMode, m_timeouts, m_streamFolder, m_feedLog);
}

int TVideoSubsystem::ViewAttributesAsInt(host::TViewAttributes attributes)
{
    int value = 0;
    for (int a = 0; a < host::TViewAttributeCount; ++a)
        if (attributes.Contains(static_cast<host::TViewAttribute>(a)))
            value |= 1 << a;
    return value;
}

host::TViewAttributes TVideoSubsystem::IntAsViewAttributes(int value)
{
    host::TViewAttributes attributes;
    for (int a = 0; a < host::TViewAttributeCount; ++a)
        if (value & (1 << a))
            attributes.Include(static_cast<host::TViewAttribute>(a));
    return attributes;
}

host::ISegregateObjectPtr TVideoSubsystem::SelectCamera(QWidget *owner, host::ISecuritySystem *securitySystem)
{
    host::TSegregateObjectList cameras;
    if (securitySystem)
        securitySystem->ObjectsEnum(securitySystem->Get_ConfigRoot(), TSecuritySystem::CameraClassPrefixes(), 0x41,
                                    cameras, -1, 0, 0);
    else
        cameras = m_security->Cameras();
    if (m_selectHook)
        return m_selectHook(cameras);
    TSelCamDialog dialog(owner, std::move(cameras));
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return dialog.Selected();
}

void TVideoSubsystem::SetFeedSettings(TFeedTimeouts timeouts, QString streamFolder,
                                      std::function<void(const QString &)> log)
{
    m_feedLog = std::move(log);
    m_timeouts = timeouts;
    m_streamFolder = std::move(streamFolder);
}

TVideoSubsystem::TSelectCameraHook TVideoSubsystem::SetSelectCameraHook(TSelectCameraHook hook)
{
    return std::exchange(m_selectHook, std::move(hook));
}

} // namespace hostkit
