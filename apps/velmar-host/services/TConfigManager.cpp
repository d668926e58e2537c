#include "TConfigManager.h"

namespace hostkit {

std::shared_ptr<TSegregateObject> TConfigManager::FindCamera(const QString &innerName) const
{
    std::shared_ptr<TSegregateObject> object = m_security->FindByInnerName(innerName);
    if (!object)
        return nullptr;
    for (const QString &prefix : TSecuritySystem::CameraClassPrefixes().split(QLatin1Char(';')))
        if (object->ClassName().startsWith(prefix))
            return object;
    return nullptr;
}

} // namespace hostkit
