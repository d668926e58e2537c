// The SANE source never calls SANE on the application's thread: opening,
// the settings after opening, capability queries and changes, the dialog's
// settings, closing (and stopping SANE) all run where a slow device (a
// network round trip per option, a vanished device in USB timeouts) cannot
// stop the application's event loop. The calls are seen by standing in
// for SANE's entry points in this program, which the source finds before
// SANE's own library, and passing them on.
#include "support/SaneFixture.h"

#include "ScanSettings.h" // CAP_FEEDERENABLED

#include <QComboBox>
#include <QLabel>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <dlfcn.h>
#include <mutex>
#include <thread>

using namespace sanetest;

namespace {

std::atomic<bool> g_watching{false};
std::thread::id g_applicationThread;
std::mutex g_mutex;
QStringList g_onApplicationThread;
std::atomic<int> g_descriptorReads{0};

void note(const char *call)
{
    if (!g_watching)
        return;
    if (std::strcmp(call, "sane_get_option_descriptor") == 0)
        ++g_descriptorReads;
    if (std::this_thread::get_id() == g_applicationThread) {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!g_onApplicationThread.contains(QLatin1String(call)))
            g_onApplicationThread << QLatin1String(call);
    }
}

// The device's frame parameters hang on the call counted down to (none
// while -1), whatever cancels come, until released.
std::atomic<int> g_parametersBeforeHang{-1};
std::mutex g_hangMutex;
std::condition_variable g_hangChanged;
bool g_hanging = false;
bool g_released = false;
int g_closes = 0;

/// Lets the hung call return, and waits until the device given up with
/// it is closed; whether it was.
bool releaseAndAwaitClose()
{
    std::unique_lock<std::mutex> lock(g_hangMutex);
    const int closes = g_closes;
    g_released = true;
    g_hangChanged.notify_all();
    const bool closed =
        g_hangChanged.wait_for(lock, std::chrono::seconds(20), [&] { return g_closes > closes; });
    g_hanging = g_released = false;
    return closed;
}

bool hanging()
{
    std::lock_guard<std::mutex> lock(g_hangMutex);
    return g_hanging;
}

template<class Function>
Function sanes(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

/// Watches SANE's calls while it lives.
struct Watch
{
    Watch()
    {
        g_applicationThread = std::this_thread::get_id();
        g_onApplicationThread.clear();
        g_descriptorReads = 0;
        g_watching = true;
    }
    ~Watch() { g_watching = false; }
    QStringList onApplicationThread()
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        return g_onApplicationThread;
    }
};

} // namespace

extern "C" {

SANE_Status sane_init(SANE_Int *version, SANE_Auth_Callback authorize)
{
    note(__func__);
    static const auto call = sanes<decltype(&sane_init)>(__func__);
    return call(version, authorize);
}

void sane_exit(void)
{
    note(__func__);
    static const auto call = sanes<decltype(&sane_exit)>(__func__);
    call();
}

SANE_Status sane_get_devices(const SANE_Device ***list, SANE_Bool localOnly)
{
    note(__func__);
    static const auto call = sanes<decltype(&sane_get_devices)>(__func__);
    return call(list, localOnly);
}

SANE_Status sane_open(SANE_String_Const name, SANE_Handle *handle)
{
    note(__func__);
    static const auto call = sanes<decltype(&sane_open)>(__func__);
    return call(name, handle);
}

SANE_Status sane_get_parameters(SANE_Handle handle, SANE_Parameters *parameters)
{
    note(__func__);
    if (g_parametersBeforeHang >= 0 && g_parametersBeforeHang-- == 0) {
        std::unique_lock<std::mutex> lock(g_hangMutex);
        g_hanging = true;
        g_hangChanged.notify_all();
        g_hangChanged.wait_for(lock, std::chrono::seconds(60), [] { return g_released; });
    }
    static const auto call = sanes<decltype(&sane_get_parameters)>(__func__);
    return call(handle, parameters);
}

void sane_close(SANE_Handle handle)
{
    note(__func__);
    static const auto call = sanes<decltype(&sane_close)>(__func__);
    call(handle);
    std::lock_guard<std::mutex> lock(g_hangMutex);
    ++g_closes;
    g_hangChanged.notify_all();
}

void sane_cancel(SANE_Handle handle)
{
    note(__func__);
    static const auto call = sanes<decltype(&sane_cancel)>(__func__);
    call(handle);
}

const SANE_Option_Descriptor *sane_get_option_descriptor(SANE_Handle handle, SANE_Int option)
{
    note(__func__);
    static const auto call = sanes<decltype(&sane_get_option_descriptor)>(__func__);
    return call(handle, option);
}

SANE_Status sane_control_option(SANE_Handle handle, SANE_Int option, SANE_Action action, void *value, SANE_Int *info)
{
    note(__func__);
    static const auto call = sanes<decltype(&sane_control_option)>(__func__);
    return call(handle, option, action, value, info);
}

} // extern "C"

TEST_F(SaneSourceTest, TheSourceCallsSaneOnlyOffTheApplicationsThread)
{
    {
        // The source's own session: listed, opened with its options set,
        // negotiated, scanned and closed.
        Watch watch;
        ASSERT_TRUE(TWAIN_LoadSourceManager());
        ASSERT_TRUE(TWAIN_OpenSourceManager(0));
        ASSERT_TRUE(TWAIN_OpenDefaultSource());
        EXPECT_EQ(TWAIN_GetPixelType(), TWPT_RGB);
        EXPECT_TRUE(TWAIN_SetCurrentPixelType(TWPT_GRAY));
        EXPECT_TRUE(TWAIN_SetCurrentResolution(150.0));
        EXPECT_DOUBLE_EQ(TWAIN_GetCurrentResolution(), 150.0);
        EXPECT_TRUE(TWAIN_SetCapOneValue(CAP_FEEDERENABLED, TWTY_BOOL, 0));
        EXPECT_TRUE(TWAIN_NegotiatePixelTypes(TWAIN_GRAY | TWAIN_RGB));
        ASSERT_TRUE(TWAIN_EnableSource(0));
        TWAIN_ModalEventLoop();
        EXPECT_EQ(TWAIN_GetNumDibs(), 1);
        EXPECT_TRUE(TWAIN_CloseSource());
        EXPECT_TRUE(TWAIN_CloseSourceManager(0));
        EXPECT_TRUE(TWAIN_UnloadSourceManager());
        EXPECT_EQ(watch.onApplicationThread(), QStringList());
        EXPECT_GT(g_descriptorReads.load(), 0); // the calls were seen
    }
    freePictures();
    {
        // The dialog's settings when the operator presses "Сканировать".
        TWAIN_SetHideUI(0);
        Watch watch;
        DialogOperator op({{[](QWidget *) { return true; }, [](QWidget *d) {
                                auto *mode = d->findChild<QComboBox *>(QStringLiteral("cbPixelType"));
                                mode->setCurrentIndex(mode->findData(int(TWPT_BW)));
                                Click(d, "bScan");
                            }}});
        TWAIN_HDIB dib = acquire();
        ASSERT_NE(dib, nullptr);
        EXPECT_EQ(TWAIN_DibDepth(dib), 1);
        EXPECT_EQ(watch.onApplicationThread(), QStringList());
    }
}

TEST_F(SaneSourceTest, TheOptionsAreLookedUpOnceAfterOpening)
{
    ASSERT_TRUE(TWAIN_LoadSourceManager());
    ASSERT_TRUE(TWAIN_OpenSourceManager(0));
    ASSERT_TRUE(TWAIN_OpenDefaultSource());
    {
        Watch watch;
        // Queries are answered from the settings as read; a change reads
        // the options it touches, not every option's descriptor each time.
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(TWAIN_GetPixelType(), TWPT_RGB);
        EXPECT_TRUE(TWAIN_SetCurrentResolution(150.0));
        EXPECT_TRUE(TWAIN_SetCurrentResolution(200.0));
        EXPECT_EQ(g_descriptorReads.load(), 0);
    }
    {
        // A new mode changes which options there are: they are read again,
        // once.
        Watch watch;
        EXPECT_TRUE(TWAIN_SetCurrentPixelType(TWPT_GRAY));
        EXPECT_GT(g_descriptorReads.load(), 0);
        EXPECT_LT(g_descriptorReads.load(), 200);
    }
    TWAIN_CloseSourceManager(0);
    TWAIN_UnloadSourceManager();
}

TEST_F(SaneSourceTest, AScannerThatHangsDeafToTheCancelIsGivenUpAndOpenedAfreshNextTime)
{
    qputenv("TWAINSANE_ABANDON_MS", "300");
    TWAIN_SetHideUI(0);
    setSourceOptions(BaseOptions() + QStringList{QStringLiteral("source=Automatic Document Feeder")});
    g_parametersBeforeHang = 1; // the second sheet's
    QString cancelling;
    DialogOperator op({{[](QWidget *) { return true; }, [](QWidget *d) { Click(d, "bScan"); }},
                       {[](QWidget *) { return hanging(); },
                        [&](QWidget *d) {
                            Click(d, "bCancel");
                            cancelling = d->findChild<QLabel *>(QStringLiteral("laPage"))->text();
                        }}});
    // The sheet read before the hang is delivered; the transfer ends with
    // the scanner not answering, told in a box of its own.
    EXPECT_EQ(runSession([] {}), TWCC_CHECKDEVICEONLINE);
    EXPECT_EQ(op.stepsDone(), 2u);
    EXPECT_EQ(cancelling, QStringLiteral("Сканирование отменяется\u2026"));
    EXPECT_EQ(TWAIN_GetNumDibs(), 1);
    EXPECT_EQ(Notices(), QStringList{QStringLiteral("Сканер не отвечает: проверьте, что он подключён и включён.")});
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(ScanDialogShown(), nullptr);
    qunsetenv("TWAINSANE_ABANDON_MS");

    // The device given up is closed only once its call returns.
    EXPECT_TRUE(releaseAndAwaitClose());
    // The next session opens the scanner afresh and scans.
    TWAIN_SetHideUI(1);
    setSourceOptions(BaseOptions());
    EXPECT_NE(acquire(TWAIN_RGB), nullptr);
    EXPECT_EQ(TWAIN_GetNumDibs(), 1);
}

TEST_F(SaneSourceTest, DisablingTheSourceWhileTheScannerHangsDeafToTheCancelReturns)
{
    // The application gives up on a scan that does not move (the window
    // hidden): disabling the source comes back once the scan is given up,
    // and the source closes.
    qputenv("TWAINSANE_ABANDON_MS", "300");
    g_parametersBeforeHang = 0;
    bool disabled = false;
    QTimer giveUp;
    QObject::connect(&giveUp, &QTimer::timeout, [&] {
        if (!disabled && hanging()) {
            disabled = true;
            EXPECT_TRUE(TWAIN_DisableSource());
        }
    });
    giveUp.start(1);
    EXPECT_EQ(runSession([] {}), TWCC_CHECKDEVICEONLINE);
    giveUp.stop();
    EXPECT_TRUE(disabled);
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
    // The window is hidden, not the fault.
    EXPECT_EQ(Notices(), QStringList{QStringLiteral("Сканер не отвечает: проверьте, что он подключён и включён.")});
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    qunsetenv("TWAINSANE_ABANDON_MS");
    EXPECT_TRUE(releaseAndAwaitClose());
    EXPECT_NE(acquire(TWAIN_RGB), nullptr);
}
