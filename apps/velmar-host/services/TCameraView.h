#pragma once
// The host's live view: plays the cameras it was asked for (synthetic ones
// several frames a second, real ones as their frames come), drawn by each
// item's attributes, with a notice in place of a camera that gives no
// picture; its context menu lets the operator change the attributes.

#include "TConfigManager.h"
#include "TLiveFeed.h"
#include "TSyntheticCamera.h"
#include "host/DVS9r32.h"

#include <QTimer>
#include <memory>
#include <optional>

namespace hostkit {

class TCameraView : public host::TSimpleView
{
public:
    explicit TCameraView(QWidget *owner);

    void CreateView(const QStringList &innerNames, host::TViewAttributes attributes) override;
    void Clear() override;
    bool Snapshot(const QString &cameraInnerName, QIODevice *stream) override;

    /// Draws the next frame of every synthetic camera (the timer does this while live).
    void Tick();
    bool IsPlaying() const { return m_timer.isActive(); }
    /// The current frame of the camera at `index` of FLinks (null when it has
    /// none, or a real camera's frame is no longer current).
    QImage CurrentFrame(int index) const;
    /// The real camera's feed at `index` of FLinks; null for any other.
    TLiveFeed *Feed(int index) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QRect CellRect(int index) const;
    // One of each per FLinks item: a synthetic camera or a real camera's
    // feed, neither when the configuration has no such camera.
    std::vector<std::optional<TSyntheticCamera>> m_cameras;
    std::vector<std::unique_ptr<TLiveFeed>> m_feeds;
    QTimer m_timer;
};

} // namespace hostkit
