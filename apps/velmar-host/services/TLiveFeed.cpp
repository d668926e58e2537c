#include "TLiveFeed.h"

#include "TCameraSettings.h"
#include "TMjpegStream.h"

#include <QCamera>
#include <QCameraDevice>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QMediaCaptureSession>
#include <QMediaPlayer>
#include <QMutex>
#include <QPointer>
#include <QThread>
#include <QVideoFrame>
#include <QVideoSink>
#include <vector>

namespace hostkit {

namespace {

/// How often the window checks a feed for silence.
constexpr int WatchMs = 200;

/// The threads of feeds that are stopping: a host waits for them before it goes.
std::vector<QPointer<QThread>> &StoppingThreads()
{
    static std::vector<QPointer<QThread>> threads;
    return threads;
}

/// The largest picture the camera gives, at its highest rate for that size:
/// a snapshot is taken at the camera's full resolution.
QCameraFormat LargestFormat(const QCameraDevice &device)
{
    QCameraFormat best;
    for (const QCameraFormat &format : device.videoFormats()) {
        const qint64 area = qint64(format.resolution().width()) * format.resolution().height();
        const qint64 bestArea = best.isNull() ? -1 : qint64(best.resolution().width()) * best.resolution().height();
        if (area > bestArea || (area == bestArea && format.maxFrameRate() > best.maxFrameRate()))
            best = format;
    }
    return best;
}

/// What the operator reads when the backend fails: the backend's own words
/// are often English and go to the log instead. The backend only tells
/// resource, format, network and access errors apart; within them its text
/// tells a refused connection from an address that is not there.
QString FailureReason(QMediaPlayer::Error error, const QString &text)
{
    const auto says = [&text](std::initializer_list<const char *> words) {
        for (const char *word : words)
            if (text.contains(QLatin1String(word), Qt::CaseInsensitive))
                return true;
        return false;
    };
    if (says({"refused", "could not establish connection", "could not connect"}))
        return QStringLiteral("камера не принимает подключение");
    if (says({"not found", "no such", "404", "resolve", "could not open"}))
        return QStringLiteral("адрес не найден");
    if (error == QMediaPlayer::FormatError || says({"plug-in", "plugin", "decoder", "demux"}))
        return QStringLiteral("по адресу нет видео");
    if (error == QMediaPlayer::AccessDeniedError)
        return QStringLiteral("нет доступа к камере");
    return QStringLiteral("ошибка видео");
}

} // namespace

struct TLiveFeed::TShared
{
    QMutex mutex;
    TLiveFeed *feed = nullptr; ///< cleared when the feed goes
    QImage frame;              ///< the newest, not yet taken
    bool framePosted = false;
    QString error;       ///< the reason the operator reads
    QString backendText; ///< what the backend said, for the log
};

/// Lives on the feed's own thread: the player (or the camera) and its sink.
class TFeedWorker : public QObject
{
public:
    TFeedWorker(std::shared_ptr<TLiveFeed::TShared> shared, TFeedSource source)
        : m_shared(std::move(shared)), m_source(std::move(source)) {}

    ~TFeedWorker() override
    {
        // Stopping may wait for the backend: this is the feed's thread, not the window's.
        delete m_mjpeg;
        if (m_player) {
            m_player->stop();
            delete m_player;
        }
        if (m_camera)
            m_camera->stop();
        delete m_session;
        delete m_camera;
        delete m_sink;
    }

    void Start()
    {
        m_sink = new QVideoSink;
        // Frames come on the backend's threads: they are only noted there.
        connect(m_sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) { Note(frame); },
                Qt::DirectConnection);
        if (m_source.kind == TFeedSource::Device)
            StartDevice();
        else
            StartStream();
    }

private:
    void StartStream()
    {
        const QString scheme = m_source.url.scheme().toLower();
        if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
            StartPlayer();
            return;
        }
        // An IP camera's MJPEG is read here, picture by picture; what else an
        // HTTP address gives (a film, say) the player plays.
        m_mjpeg = new TMjpegStream(m_source.url);
        m_mjpeg->OnFrame = [this](QImage picture) { Deliver(std::move(picture)); };
        m_mjpeg->OnFailed = [this](const QString &reason, const QString &said) { Fail(reason, said); };
        m_mjpeg->OnNotMjpeg = [this] {
            QMetaObject::invokeMethod(this, [this] {
                delete std::exchange(m_mjpeg, nullptr);
                StartPlayer();
            }, Qt::QueuedConnection);
        };
        m_mjpeg->Start();
    }

    void StartPlayer()
    {
        m_player = new QMediaPlayer;
        m_player->setVideoSink(m_sink);
        const bool file = m_source.url.isLocalFile();
        connect(m_player, &QMediaPlayer::errorOccurred, this,
                [this](QMediaPlayer::Error error, const QString &text) { Fail(FailureReason(error, text), text); });
        connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this, file](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::InvalidMedia)
                Fail(QStringLiteral("поток не читается"), QStringLiteral("invalid media"));
            else if (status == QMediaPlayer::EndOfMedia && !file)
                Fail(QStringLiteral("трансляция прервалась"), QStringLiteral("end of stream"));
        });
        if (file && !QFileInfo::exists(m_source.url.toLocalFile())) {
            Fail(QStringLiteral("файл не найден"), QStringLiteral("no such file"));
            return;
        }
        // A video file stands for a camera: it plays on and on.
        if (file)
            m_player->setLoops(QMediaPlayer::Infinite);
        m_player->setSource(m_source.url);
        m_player->play();
    }

    void StartDevice()
    {
        const QCameraDevice &device = m_source.device;
        if (device.isNull()) {
            Fail(QStringLiteral("устройство отключено"), QStringLiteral("no such video input"));
            return;
        }
        m_camera = new QCamera(device);
        const QCameraFormat format = LargestFormat(device);
        if (!format.isNull())
            m_camera->setCameraFormat(format);
        connect(m_camera, &QCamera::errorOccurred, this, [this](QCamera::Error, const QString &text) {
            Fail(QStringLiteral("ошибка видео"), text);
        });
        m_session = new QMediaCaptureSession;
        m_session->setCamera(m_camera);
        m_session->setVideoSink(m_sink);
        m_camera->start();
    }

    void Note(const QVideoFrame &frame)
    {
        if (!frame.isValid())
            return;
        QMutexLocker lock(&m_pendingMutex);
        m_pending = frame;
        if (m_convertQueued)
            return;
        m_convertQueued = true;
        QMetaObject::invokeMethod(this, [this] { Convert(); }, Qt::QueuedConnection);
    }

    /// Only the newest frame noted is turned into a picture: a feed that
    /// cannot keep up drops frames instead of falling behind.
    void Convert()
    {
        QVideoFrame frame;
        {
            QMutexLocker lock(&m_pendingMutex);
            frame = std::exchange(m_pending, QVideoFrame());
            m_convertQueued = false;
        }
        Deliver(frame.toImage());
    }

    /// Hands the newest picture to the window's thread.
    void Deliver(QImage picture)
    {
        if (picture.isNull())
            return;
        QMutexLocker lock(&m_shared->mutex);
        m_shared->frame = std::move(picture);
        if (m_shared->feed && !m_shared->framePosted) {
            m_shared->framePosted = true;
            TLiveFeed *feed = m_shared->feed;
            QMetaObject::invokeMethod(feed, [feed] { feed->TakeFrame(); }, Qt::QueuedConnection);
        }
    }

    void Fail(const QString &reason, const QString &backendText)
    {
        QMutexLocker lock(&m_shared->mutex);
        if (!m_shared->error.isEmpty())
            return;
        m_shared->error = reason;
        // The backend may quote the address it was given, password and all.
        QString said = backendText;
        for (const QString &password : {m_source.url.password(QUrl::FullyDecoded), m_source.url.password(QUrl::FullyEncoded)})
            if (!password.isEmpty())
                said.replace(password, QStringLiteral("***"));
        m_shared->backendText = said;
        if (TLiveFeed *feed = m_shared->feed)
            QMetaObject::invokeMethod(feed, [feed] { feed->Check(); }, Qt::QueuedConnection);
    }

    std::shared_ptr<TLiveFeed::TShared> m_shared;
    TFeedSource m_source;
    QVideoSink *m_sink = nullptr;
    QMediaPlayer *m_player = nullptr;
    TMjpegStream *m_mjpeg = nullptr;
    QCamera *m_camera = nullptr;
    QMediaCaptureSession *m_session = nullptr;
    QMutex m_pendingMutex;
    QVideoFrame m_pending;
    bool m_convertQueued = false;
};

TLiveFeed::TLiveFeed(QString displayName, TFeedSource source, TFeedTimeouts timeouts)
    : m_displayName(std::move(displayName))
    , m_address(source.kind == TFeedSource::Device ? QString::fromUtf8(source.deviceId)
                                                   : PrintableAddress(source.url.toString()))
    , m_timeouts(timeouts)
    , m_shared(std::make_shared<TShared>())
{
    m_shared->feed = this;
    auto *thread = new QThread;
    thread->setObjectName(QStringLiteral("camera feed"));
    auto *worker = new TFeedWorker(m_shared, std::move(source));
    worker->moveToThread(thread);
    m_worker = worker;
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    QMetaObject::invokeMethod(worker, [worker] { worker->Start(); }, Qt::QueuedConnection);

    m_sinceStart.start();
    m_watch.setInterval(WatchMs);
    connect(&m_watch, &QTimer::timeout, this, [this] { Check(); });
    m_watch.start();
}

TLiveFeed::~TLiveFeed()
{
    {
        QMutexLocker lock(&m_shared->mutex);
        m_shared->feed = nullptr;
    }
    QObject *worker = m_worker;
    QThread *thread = worker->thread();
    StoppingThreads().emplace_back(thread);
    QMetaObject::invokeMethod(worker, [worker, thread] {
        delete worker;
        thread->quit();
    }, Qt::QueuedConnection);
}

bool TLiveFeed::WaitForStoppedFeeds(int ms)
{
    const QDeadlineTimer deadline(ms);
    bool stopped = true;
    for (const QPointer<QThread> &thread : StoppingThreads())
        if (thread && !thread->wait(deadline))
            stopped = false;
    auto &threads = StoppingThreads();
    std::erase_if(threads, [](const QPointer<QThread> &t) { return !t || t->isFinished(); });
    return stopped;
}

void TLiveFeed::TakeFrame()
{
    QImage frame;
    {
        QMutexLocker lock(&m_shared->mutex);
        frame = std::move(m_shared->frame);
        m_shared->frame = QImage();
        m_shared->framePosted = false;
    }
    if (frame.isNull() || m_state == TState::Failed)
        return;
    m_frame = std::move(frame);
    ++m_frames;
    m_sinceFrame.start();
    SetState(TState::Live);
    if (OnChanged)
        OnChanged();
}

void TLiveFeed::Check()
{
    if (m_state == TState::Failed)
        return;
    {
        QMutexLocker lock(&m_shared->mutex);
        m_error = m_shared->error;
        m_backendError = m_shared->backendText;
    }
    if (!m_error.isEmpty()) {
        m_watch.stop();
        if (OnBackendError)
            OnBackendError(QStringLiteral("camera feed %1: %2").arg(m_address, m_backendError));
        SetState(TState::Failed);
    } else if (m_frames == 0 && m_sinceStart.elapsed() >= m_timeouts.firstFrameMs) {
        SetState(TState::NotResponding);
    } else if (m_frames > 0 && m_sinceFrame.elapsed() >= m_timeouts.silenceMs) {
        SetState(TState::Lost);
    }
}

void TLiveFeed::SetState(TState state)
{
    if (state == m_state)
        return;
    m_state = state;
    if (OnChanged)
        OnChanged();
}

QString TLiveFeed::Notice() const
{
    const auto seconds = [](int ms) { return QString::number(ms / 1000.0, 'g', 3); };
    switch (m_state) {
    case TState::Live:
        return {};
    case TState::Connecting:
        return QStringLiteral("Камера «%1»: подключение…").arg(m_displayName);
    case TState::NotResponding:
        return QStringLiteral("Камера «%1» не отвечает: ни одного кадра за %2 с")
            .arg(m_displayName, seconds(m_timeouts.firstFrameMs));
    case TState::Lost:
        return QStringLiteral("Камера «%1» пропала: нет новых кадров %2 с")
            .arg(m_displayName, seconds(m_timeouts.silenceMs));
    case TState::Failed:
        return QStringLiteral("Камера «%1» недоступна: %2").arg(m_displayName, m_error);
    }
    return {};
}

} // namespace hostkit
