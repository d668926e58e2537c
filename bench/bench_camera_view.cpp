// The live view of a real camera beside a plain Qt player. A 1920 x 1080
// MJPEG stream at 30 frames a second (made with GStreamer's tools, played
// over and over as a camera is) is shown by the host services' camera view,
// as the camera window shows it, and played by QMediaPlayer into a
// QVideoSink that does nothing with its frames. Rounds of each take turns;
// printed are the medians of frames per second received and shown, and of
// the process's processor time per second of playing (100 % is one core).
//
//     bench_camera_view [--seconds N] [--rounds R] [--stream FILE]
#include "services/HostKit.h"
#include "services/TCameraView.h"
#include "services/TVideoSubsystem.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaPlayer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <QVideoSink>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

double ProcessorSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Figures
{
    double received = 0; ///< frames per second
    double shown = 0;    ///< frames per second drawn (the plain player draws none)
    double processor = 0; ///< percent of one core
};

/// Plays until the counters have moved for a second, then measures
/// `seconds` of playing.
Figures Measure(const std::function<qint64()> &received, const std::function<qint64()> &shown, int seconds)
{
    if (!QTest::qWaitFor([&] { return received() > 0; }, 30000)) {
        std::fprintf(stderr, "bench_camera_view: the stream gave no frame\n");
        std::exit(1);
    }
    QTest::qWait(1000);
    const qint64 received0 = received(), shown0 = shown();
    const double cpu0 = ProcessorSeconds();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(seconds * 1000);
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    return {double(received() - received0) / elapsed, double(shown() - shown0) / elapsed,
            100.0 * (ProcessorSeconds() - cpu0) / elapsed};
}

Figures PlainPlayer(const QString &stream, int seconds)
{
    QMediaPlayer player;
    QVideoSink sink;
    qint64 frames = 0;
    QObject::connect(&sink, &QVideoSink::videoFrameChanged, &sink, [&frames](const QVideoFrame &frame) {
        if (frame.isValid())
            ++frames;
    });
    player.setVideoSink(&sink);
    player.setLoops(QMediaPlayer::Infinite);
    player.setSource(QUrl::fromLocalFile(stream));
    player.play();
    const Figures figures = Measure([&] { return frames; }, [] { return qint64(0); }, seconds);
    player.stop();
    return figures;
}

/// Counts the paints of the view that drew a frame it had not drawn before.
class ShownFrames : public QObject
{
public:
    explicit ShownFrames(hostkit::TCameraView *view) : m_view(view) { view->installEventFilter(this); }
    qint64 Count() const { return m_shown; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_view->Feed(0)) {
            const qint64 received = m_view->Feed(0)->FramesReceived();
            if (received != m_lastDrawn) {
                m_lastDrawn = received;
                ++m_shown;
            }
        }
        return false;
    }

private:
    hostkit::TCameraView *m_view;
    qint64 m_lastDrawn = 0;
    qint64 m_shown = 0;
};

Figures CameraView(const QString &stream, int seconds)
{
    QTemporaryDir data;
    QFile settings(data.filePath(QStringLiteral("hostkit.ini")));
    settings.open(QIODevice::WriteOnly);
    settings.write(QStringLiteral("[Cameras]\nSynthetic=false\nDevices=false\n\n[Stream.bench]\nName=1080p\nAddress=%1\n")
                       .arg(stream).toUtf8());
    settings.close();
    hostkit::THostKit kit(data.path());
    {
        // As the camera window shows it: a view in a window of the window's size.
        QWidget window;
        window.resize(720, 600);
        auto *layout = new QVBoxLayout(&window);
        auto *view = static_cast<hostkit::TCameraView *>(kit.Video().CreateSimpleView(&window));
        view->FConfigManager = kit.Video().CreateConfigManager(false);
        layout->addWidget(view);
        window.show();
        view->CreateView({QStringLiteral("stream_bench")}, {host::vaTouchInside});
        ShownFrames shown(view);
        const auto received = [view] { return view->Feed(0) ? view->Feed(0)->FramesReceived() : 0; };
        const Figures figures = Measure(received, [&shown] { return shown.Count(); }, seconds);
        view->Clear();
        return figures;
    }
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("Seconds measured per round."),
                                           QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption roundsOption(QStringLiteral("rounds"), QStringLiteral("Rounds of each."),
                                          QStringLiteral("R"), QStringLiteral("3"));
    const QCommandLineOption streamOption(QStringLiteral("stream"), QStringLiteral("A video file instead of the made one."),
                                          QStringLiteral("FILE"));
    parser.addOptions({secondsOption, roundsOption, streamOption});
    parser.addHelpOption();
    parser.process(app);
    const int seconds = std::max(1, parser.value(secondsOption).toInt());
    const int rounds = std::max(1, parser.value(roundsOption).toInt());

    QTemporaryDir folder;
    QString stream = parser.value(streamOption);
    if (stream.isEmpty()) {
        stream = folder.filePath(QStringLiteral("stream-1080p.avi"));
        const QString launch = QStandardPaths::findExecutable(QStringLiteral("gst-launch-1.0"));
        const int made = launch.isEmpty() ? -1 : QProcess::execute(launch, QStringList{
            QStringLiteral("-q"), QStringLiteral("videotestsrc"), QStringLiteral("num-buffers=150"),
            QStringLiteral("pattern=smpte"), QStringLiteral("horizontal-speed=8"), QStringLiteral("!"),
            QStringLiteral("video/x-raw,width=1920,height=1080,framerate=30/1"), QStringLiteral("!"),
            QStringLiteral("jpegenc"), QStringLiteral("!"), QStringLiteral("avimux"), QStringLiteral("!"),
            QStringLiteral("filesink"), QStringLiteral("location=") + stream});
        if (made != 0) {
            std::fprintf(stderr, "bench_camera_view: gst-launch-1.0 could not make the stream (scripts/setup.sh installs it)\n");
            return 1;
        }
    }

    std::vector<double> plainFps, plainCpu, viewFps, viewShown, viewCpu;
    for (int round = 0; round < rounds; ++round) {
        const Figures plain = PlainPlayer(stream, seconds);
        plainFps.push_back(plain.received);
        plainCpu.push_back(plain.processor);
        const Figures view = CameraView(stream, seconds);
        viewFps.push_back(view.received);
        viewShown.push_back(view.shown);
        viewCpu.push_back(view.processor);
        std::fprintf(stderr, "round %d: plain %.1f fps %.0f %%, view %.1f fps received %.1f shown %.0f %%\n", round + 1,
                     plain.received, plain.processor, view.received, view.shown, view.processor);
    }
    std::printf("| 1920 x 1080 MJPEG, 30 fps, %d s x %d rounds | frames/s received | frames/s shown | processor %% of one core |\n",
                seconds, rounds);
    std::printf("|---|---:|---:|---:|\n");
    std::printf("| QMediaPlayer into a QVideoSink doing nothing | %.1f | - | %.0f |\n", Median(plainFps), Median(plainCpu));
    std::printf("| the camera view (camera window's size, 720 x 600) | %.1f | %.1f | %.0f |\n", Median(viewFps),
                Median(viewShown), Median(viewCpu));
    return 0;
}
