#pragma once
// A synthetic live camera: a moving test picture with the camera's name and
// a clock, so that a frozen frame can be told from the live one.

#include <QDateTime>
#include <QImage>
#include <QString>

namespace hostkit {

class TSyntheticCamera
{
public:
    static constexpr int FrameWidth = 640;
    static constexpr int FrameHeight = 480;
    static constexpr int FramesPerSecond = 8;

    explicit TSyntheticCamera(QString displayName, bool snapshotFails = false)
        : m_displayName(std::move(displayName)), m_snapshotFails(snapshotFails) {}

    /// Draws the next frame (RGB32, FrameWidth x FrameHeight) at `time`.
    const QImage &NextFrame(const QDateTime &time);
    /// The last frame drawn; null before the first.
    const QImage &CurrentFrame() const { return m_frame; }
    bool SnapshotFails() const { return m_snapshotFails; }
    QString DisplayName() const { return m_displayName; }

    /// The picture of frame number `index` of a camera called `displayName`.
    static QImage Render(const QString &displayName, qint64 index, const QDateTime &time);

private:
    QString m_displayName;
    bool m_snapshotFails;
    qint64 m_index = 0;
    QImage m_frame;
};

} // namespace hostkit
