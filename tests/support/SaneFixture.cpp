#include "support/SaneFixture.h"

#include "SaneDevice.h"
#include "support/ManagerSupport.h"
#include "twain/DibLayout.h"
#include "twain/LockedBlock.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <cstring>
#include <dlfcn.h>
#include <vector>

namespace sanetest {

namespace {

/// One sample of a raw SANE line scaled to 0..255 (SANE's one-bit grey: 1 is black).
int rawSample(const std::vector<uint8_t> &line, int index, int depth, bool grey)
{
    if (depth == 1) {
        const bool set = line[std::size_t(index / 8)] & (0x80 >> (index % 8));
        return grey ? (set ? 0 : 255) : (set ? 255 : 0);
    }
    if (depth == 16) {
        uint16_t v;
        std::memcpy(&v, line.data() + 2 * index, 2);
        return v >> 8;
    }
    return line[std::size_t(index)];
}

/// SANE unloads its backends at sane_exit; the test device stays mapped, so
/// what it leaves allocated is traced to it (and passed over, below) instead
/// of to an unknown module.
void keepTestDeviceLoaded()
{
    static const bool kept = [] {
        // SANE's own library, not this program (which stands in for its
        // entry points, see SaneOffThreadTest).
        void *sane = dlopen("libsane.so.1", RTLD_NOW | RTLD_NOLOAD);
        void *init = sane ? dlsym(sane, "sane_init") : nullptr;
        Dl_info info{};
        if (!init || !dladdr(init, &info) || !info.dli_fname)
            return false;
        const QByteArray backend =
            QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath().toLocal8Bit() + "/sane/libsane-test.so.1";
        return dlopen(backend.constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE) != nullptr;
    }();
    (void)kept;
}

} // namespace

// SANE's test device does not free every buffer it allocates; the sanitizer
// build reports our leaks, not its.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libsane-test.so\n";
}

QStringList BaseOptions()
{
    return r9test::SmallPageOptions();
}

QStringList SlowReads()
{
    return {QStringLiteral("read-delay=yes"), QStringLiteral("read-delay-duration=100000")};
}

QImage DibPicture(TWAIN_HDIB dib, QImage::Format format)
{
    twain::LockedBlock block(dib);
    if (!block)
        return QImage();
    return twain::DibToImage(block.data(), block.size()).convertToFormat(format);
}

QImage ReferenceScan(const QStringList &options)
{
    twainsane::Failure failure;
    std::unique_ptr<twainsane::SaneDevice> device = twainsane::SaneDevice::Open("test:0", failure);
    if (!device || !device->apply(options))
        return QImage();
    QImage picture;
    for (bool last = false; !last;) {
        if (sane_start(device->handle()) != SANE_STATUS_GOOD)
            return QImage();
        SANE_Parameters p{};
        sane_get_parameters(device->handle(), &p);
        // The whole frame first (a hand scanner does not know its length).
        std::vector<uint8_t> data;
        std::vector<uint8_t> chunk(65536);
        SANE_Int length = 0;
        SANE_Status status;
        while ((status = sane_read(device->handle(), chunk.data(), SANE_Int(chunk.size()), &length))
               == SANE_STATUS_GOOD)
            data.insert(data.end(), chunk.begin(), chunk.begin() + length);
        if (status != SANE_STATUS_EOF)
            return QImage();
        const int lines = int(data.size() / std::size_t(p.bytes_per_line));
        const bool grey = p.format == SANE_FRAME_GRAY;
        if (picture.isNull()) {
            picture = QImage(p.pixels_per_line, lines, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
            picture.fill(0);
        }
        for (int y = 0; y < lines && y < picture.height(); ++y) {
            const std::vector<uint8_t> line(data.begin() + std::ptrdiff_t(y) * p.bytes_per_line,
                                            data.begin() + std::ptrdiff_t(y + 1) * p.bytes_per_line);
            uint8_t *out = picture.scanLine(y);
            for (int x = 0; x < p.pixels_per_line; ++x) {
                switch (p.format) {
                case SANE_FRAME_GRAY: out[x] = uint8_t(rawSample(line, x, p.depth, true)); break;
                case SANE_FRAME_RGB:
                    for (int c = 0; c < 3; ++c)
                        out[3 * x + c] = uint8_t(rawSample(line, 3 * x + c, p.depth, false));
                    break;
                default: {
                    const int c = p.format == SANE_FRAME_RED ? 0 : p.format == SANE_FRAME_GREEN ? 1 : 2;
                    out[3 * x + c] = uint8_t(rawSample(line, x, p.depth, false));
                }
                }
            }
        }
        last = p.last_frame;
    }
    sane_cancel(device->handle());
    return picture;
}

QWidget *ScanDialogShown()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("SaneScanDialog") && w->isVisible())
            return w;
    return nullptr;
}

QStringList Notices()
{
    return twaintest::ScannerNotices();
}

void Click(QWidget *dialog, const char *button)
{
    dialog->findChild<QPushButton *>(QLatin1String(button))->click();
}

DialogOperator::DialogOperator(std::vector<Step> steps) : m_steps(std::move(steps))
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        QWidget *dialog = ScanDialogShown();
        if (dialog && m_next < m_steps.size() && m_steps[m_next].when(dialog))
            m_steps[m_next++].act(dialog);
    });
    m_timer.start(1);
}

void SaneSourceTest::SetUp()
{
    keepTestDeviceLoaded();
    twain::ResetSessionForTests();
    twain::SetSourceManagerOverride(QString());
    r9test::UseSaneTestDevices();
    setSourceOptions(BaseOptions());
    qunsetenv("TWAINSANE_SLICE_BYTES");
    // The device list as SANE has it at every asking (tests reconfigure the
    // backend between calls).
    qputenv("TWAINSANE_LIST_FRESH_MS", "0");
    const QString manager = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm");
    QDir().mkpath(manager);
    r9test::WriteFile(manager + QStringLiteral("/default-source"), QByteArray(FirstSource) + '\n');
    TWAIN_SetHideUI(1);
    // The source keeps its device list for the program's life: each test
    // starts with the devices of its own configuration.
    SearchScannersAgain();
}

namespace {
int g_searches = 0;
int32_t searchThenCancel(const char *const *, int32_t, int32_t)
{
    return g_searches++ == 0 ? TWAINDSM_SELECT_SEARCH_AGAIN : -1;
}
} // namespace

void SaneSourceTest::SearchScannersAgain()
{
    g_searches = 0;
    const TwainDsmSelectHook previous = twaintest::SetSelectHook(&searchThenCancel);
    TWAIN_SelectImageSource(0);
    twaintest::SetSelectHook(previous);
}

void SaneSourceTest::TearDown()
{
    freePictures();
    Notices();
    for (const char *v : {"TWAINSANE_OPTIONS", "TWAINSANE_SLICE_BYTES", "TWAINSANE_JAM_AFTER", "TWAINSANE_LIST_FRESH_MS"})
        qunsetenv(v);
    TWAIN_UnRegisterCallback();
    twain::ResetSessionForTests();
    // The scanners open as the next test sets them.
    QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/sane-choices.ini"));
}

void SaneSourceTest::configureBackend(const QStringList &lines)
{
    r9test::ConfigureSaneTestDevices(lines);
}

void SaneSourceTest::setSourceOptions(const QStringList &options)
{
    qputenv("TWAINSANE_OPTIONS", options.join(QLatin1Char(';')).toLocal8Bit());
}

void SaneSourceTest::freePictures()
{
    for (int i = 0; i < TWAIN_GetNumDibs(); ++i)
        if (TWAIN_GetDib(i) != kept)
            TWAIN_FreeNative(TWAIN_GetDib(i));
    TWAIN_FreeNative(kept);
    kept = nullptr;
    TWAIN_ClearDibList();
}

TWAIN_HDIB SaneSourceTest::acquire(int32_t mask)
{
    freePictures();
    kept = TWAIN_AcquireNative(0, mask);
    return kept;
}

int SaneSourceTest::runSession(const std::function<void()> &inState4)
{
    freePictures();
    twain::ClearError();
    int condition = -1;
    if (TWAIN_LoadSourceManager() && TWAIN_OpenSourceManager(0) && TWAIN_OpenDefaultSource()) {
        inState4();
        if (TWAIN_EnableSource(0)) {
            TWAIN_ModalEventLoop();
            if (TWAIN_State() > TWAIN_SOURCE_ENABLED)
                TWAIN_AbortAllPendingXfers();
            TWAIN_DisableSource();
        }
        condition = TWAIN_GetConditionCode();
    }
    TWAIN_CloseSource();
    TWAIN_CloseSourceManager(0);
    TWAIN_UnloadSourceManager();
    return condition;
}

QStringList SaneSourceTest::boxTexts() const
{
    QStringList t;
    for (const auto &c : boxes.calls)
        t << c.text;
    return t;
}

} // namespace sanetest
