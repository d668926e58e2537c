#pragma once
// The live pictures of one real camera: a video input of this computer, or
// a stream (RTSP or HTTP address, or a video file played over and over).
// Qt Multimedia plays it on a thread of its own, so a camera that is slow
// to connect, stops sending or hangs in its backend never holds up the
// window; frames are turned into pictures there too, and only the newest
// is kept. A camera that gives no frame within the first-frame time does
// not answer; one whose frames stop for the silence time is lost; both come
// back as soon as frames come again. An error of the backend ends the feed.

#include <QByteArray>
#include <QCameraDevice>
#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>

namespace hostkit {

class TFeedWorker;

struct TFeedSource
{
    enum TKind { Device, Stream };
    TKind kind = Stream;
    QByteArray deviceId; ///< a video input's id (Device)
    /// The video input, found on the window's thread; null when it is not
    /// plugged in (Device).
    QCameraDevice device;
    QUrl url;            ///< the stream or the file (Stream)
};

struct TFeedTimeouts
{
    int firstFrameMs = 10000;
    int silenceMs = 5000;
};

class TLiveFeed : public QObject
{
public:
    enum class TState { Connecting, Live, NotResponding, Lost, Failed };

    TLiveFeed(QString displayName, TFeedSource source, TFeedTimeouts timeouts);
    /// Returns at once; the player stops on its own thread.
    ~TLiveFeed() override;

    /// Called on the window's thread after a new frame or a change of state.
    std::function<void()> OnChanged;
    /// Hears, on the window's thread, what the backend said when the feed
    /// failed, with the camera's address (no password): for the host's log,
    /// while the operator reads a reason of ours.
    std::function<void(const QString &)> OnBackendError;

    TState State() const { return m_state; }
    /// The newest frame at the camera's full resolution while the camera is
    /// live; null otherwise (a stale frame is no picture of now).
    QImage NewestFrame() const { return m_state == TState::Live ? m_frame : QImage(); }
    /// The last frame received, however old.
    QImage LastFrame() const { return m_frame; }
    qint64 FramesReceived() const { return m_frames; }
    /// What the view shows instead of a picture; empty while live.
    QString Notice() const;

    /// Waits up to `ms` for the players of feeds already destroyed to stop
    /// (a host does this before it goes); false when one is still running.
    static bool WaitForStoppedFeeds(int ms);

    struct TShared; ///< what the player's thread hands over

private:
    friend class TFeedWorker;
    void TakeFrame();
    void Check();
    void SetState(TState state);

    QString m_displayName;
    QString m_address; ///< as it may be logged
    TFeedTimeouts m_timeouts;
    std::shared_ptr<TShared> m_shared;
    QObject *m_worker = nullptr;
    TState m_state = TState::Connecting;
    QString m_error;
    QString m_backendError;
    QImage m_frame;
    qint64 m_frames = 0;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceFrame;
    QTimer m_watch;
};

} // namespace hostkit
