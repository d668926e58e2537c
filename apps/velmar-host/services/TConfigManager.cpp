#include "TConfigManager.h"

#include "TCameraCatalogue.h"
#include "TCameraSettings.h"

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

TFeedSource TConfigManager::FeedSource(const TSegregateObject &camera) const
{
    TFeedSource source;
    if (camera.SourceKind() == QLatin1String("device")) {
        source.kind = TFeedSource::Device;
        source.deviceId = camera.Source().toUtf8();
        source.device = TCameraCatalogue::SystemVideoInput(source.deviceId);
    } else {
        source.kind = TFeedSource::Stream;
        source.url = StreamUrl(camera.Source(), m_streamFolder);
    }
    return source;
}

} // namespace hostkit
