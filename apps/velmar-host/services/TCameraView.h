#pragma once
// The stand-in live view: plays the synthetic cameras it was asked for,
// several frames a second, drawn by each item's attributes; its context menu
// lets the operator change those attributes.

#include "TConfigManager.h"
#include "TSyntheticCamera.h"
#include "host/DVS9r32.h"

#include <QTimer>
#include <optional>

namespace hostkit {

class TCameraView : public host::TSimpleView
{
public:
    explicit TCameraView(QWidget *owner);

    void CreateView(const QStringList &innerNames, host::TViewAttributes attributes) override;
    void Clear() override;
    bool Snapshot(const QString &cameraInnerName, QIODevice *stream) override;

    /// Draws the next frame of every camera (the timer does this while live).
    void Tick();
    bool IsPlaying() const { return m_timer.isActive(); }
    /// The current frame of the camera at `index` of FLinks (null when it has none).
    QImage CurrentFrame(int index) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QRect CellRect(int index) const;
    // One per FLinks item; empty when the configuration has no such camera.
    std::vector<std::optional<TSyntheticCamera>> m_cameras;
    QTimer m_timer;
};

} // namespace hostkit
