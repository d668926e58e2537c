// Choosing the source, one whole acquisition, the modal loop with its
// message hook, and the transfers.
#include "MultiTWAIN_p.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <memory>

namespace twain {

namespace {

/// Takes a source's wake-up event posted to the application object.
class WakeFilter : public QObject
{
public:
    explicit WakeFilter(std::function<void()> woken) : m_woken(std::move(woken)) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != QCoreApplication::instance() || event->type() != QEvent::Type(TWEV_WAKEEVENTTYPE))
            return false;
        m_woken();
        return true;
    }

private:
    std::function<void()> m_woken;
};

/// The proxy window of one call, destroyed when the call ends.
struct ProxyGuard
{
    std::unique_ptr<QWidget> window;
    TWAIN_HWND handle() const { return window ? static_cast<TWAIN_HWND>(window->winId()) : 0; }
};

/// The loop waits for pages only while the source is enabled and idle: a
/// source that asked to be closed, or that left a transfer it will not end
/// (state 6 or 7 between events), will deliver nothing more.
bool loopShouldRun()
{
    const Session &s = session();
    return s.state == TWAIN_SOURCE_ENABLED && s.lastNative == nullptr && !s.closeRequested;
}

/// The end of an acquisition: every step down is asked for in order, and one
/// the source or the manager refuses is taken anyway, so the session always
/// ends unloaded whatever they answer.
void walkDown(TWAIN_HWND hwnd)
{
    Session &s = session();
    if (s.state > TWAIN_SOURCE_ENABLED) {
        TWAIN_AbortAllPendingXfers();
        s.state = std::min(s.state, int32_t(TWAIN_SOURCE_ENABLED));
    }
    if (s.state == TWAIN_SOURCE_ENABLED) {
        TWAIN_DisableSource();
        s.state = std::min(s.state, int32_t(TWAIN_SOURCE_OPEN));
    }
    if (s.state == TWAIN_SOURCE_OPEN) {
        TWAIN_CloseSource();
        s.state = std::min(s.state, int32_t(TWAIN_SM_OPEN));
    }
    if (s.state == TWAIN_SM_OPEN) {
        TWAIN_CloseSourceManager(hwnd);
        s.state = std::min(s.state, int32_t(TWAIN_SM_LOADED));
    }
    TWAIN_UnloadSourceManager();
}

/// Stores a delivered page in the picture list and tells the callback.
void keepPicture(TWAIN_HDIB dib)
{
    Session &s = session();
    if (s.dibCount >= MaxDibs)
        return;
    const int32_t index = s.dibCount;
    s.dibs[static_cast<std::size_t>(index)] = dib;
    if (s.callbackMarker == CallbackMarker && s.callback)
        s.callback(dib, index);
    s.dibCount = index + 1;
}

/// MSG_ENDXFER in state 7: state 6 while transfers are pending (0xFFFF,
/// "unknown", counts as pending), else 5.
void endTransfer()
{
    Session &s = session();
    if (TWAIN_DS(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &s.pendingXfers))
        s.state = s.pendingXfers.Count != 0 ? TWAIN_TRANSFER_READY : TWAIN_SOURCE_ENABLED;
}

} // namespace

} // namespace twain

using twain::session;

extern "C" {

TWAIN_BOOL TWAIN_SelectImageSource(TWAIN_HWND hwnd)
{
    twain::ProxyGuard proxy;
    if (!twain::WindowOf(hwnd)) {
        if (hwnd != 0) {
            twain::Warning(QStringLiteral("TWAIN_SelectImageSource: window handle is invalid"));
            return 0;
        }
        proxy.window.reset(twain::CreateProxyWindow());
        if (!proxy.window) {
            twain::Warning(QStringLiteral("TWAIN_SelectImageSource: Unable to create proxy window"));
            return 0;
        }
        hwnd = proxy.handle();
    }

    TWAIN_BOOL result = 0;
    if (!TWAIN_LoadSourceManager()) {
        twain::Warning(twain::LoadFailedText(), session().loadFailure);
        return result;
    }
    if (!TWAIN_OpenSourceManager(hwnd)) {
        twain::Warning(twain::OpenFailedText());
    } else {
        TW_IDENTITY chosen{};
        result = TWAIN_Mgr(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &chosen);
        TWAIN_CloseSourceManager(hwnd);
    }
    TWAIN_UnloadSourceManager();
    return result;
}

TWAIN_HDIB TWAIN_AcquireNative(TWAIN_HWND hwnd, int32_t nPixTypes)
{
    twain::Session &s = session();
    s.lastNative = nullptr;
    twain::ClearError();
    TWAIN_ClearDibList();

    const TWAIN_HWND callerWindow = hwnd;
    twain::ProxyGuard proxy;
    if (!twain::WindowOf(hwnd)) {
        proxy.window.reset(twain::CreateProxyWindow());
        hwnd = proxy.handle();
    }

    bool failedWithoutPage = false;
    if (!twain::WindowOf(hwnd)) {
        twain::Warning(QStringLiteral("Unable to create proxy window"));
    } else if (!TWAIN_LoadSourceManager()) {
        twain::Warning(twain::LoadFailedText(), session().loadFailure);
    } else if (!TWAIN_OpenSourceManager(hwnd)) {
        twain::Warning(twain::OpenFailedText());
    } else if (!TWAIN_OpenDefaultSource() || !TWAIN_NegotiatePixelTypes(nPixTypes) || !TWAIN_EnableSource(hwnd)) {
        twain::ReportStartFailure(callerWindow);
    } else {
        // The caller's window takes no input while the source works; it
        // gets back the state it had.
        QPointer<QWidget> window = twain::WindowOf(hwnd);
        const bool wasEnabled = window->isEnabled();
        window->setEnabled(false);
        TWAIN_ModalEventLoop();
        if (window)
            window->setEnabled(wasEnabled);
        // A scan that failed in the transfer and brought no page would end
        // without a word: the operator is told, once the source is closed.
        failedWithoutPage = s.lastNative == nullptr && s.errorCode != 0;
        // A fault the source showed in its own window (a jam after the pages
        // before it, an empty feeder) reaches the caller only as the source's
        // condition: it goes to the log for support.
        // Asked of the source alone, and only a condition it gives counts: a
        // source that does not answer the status call is no fault.
        if (s.errorCode == 0 && s.state >= TWAIN_SOURCE_OPEN) {
            TW_STATUS status{};
            if (TWAIN_DS(DG_CONTROL, DAT_STATUS, MSG_GET, &status) && status.ConditionCode != TWCC_SUCCESS)
                twain::LogScannerFault(QStringLiteral("источник сообщил о сбое"), status.ConditionCode);
        }
    }

    // A loop left by the application's quit, or by a source that would not
    // end a transfer, may leave transfers half done: they are ended first.
    twain::walkDown(hwnd);
    proxy.window.reset();
    if (failedWithoutPage)
        TWAIN_ReportLastError();
    return s.lastNative;
}

void TWAIN_ModalEventLoop(void)
{
    if (!twain::loopShouldRun())
        return;
    // Enabling the source made the application object for a host without
    // one (a C program); asked again only as a guard.
    twain::EnsureApplication();
    if (!QCoreApplication::instance())
        return;
    // Qt's own loop runs in short slices; after each slice the source gets
    // an event record, as a Windows source gets every queued message.
    QEventLoop loop;
    QTimer slice;
    slice.setInterval(twain::LoopSliceMs);
    auto endSlice = [&loop] {
        TW_PLATFORMEVENT event{0, TWEV_LOOPSLICE, 0, 0};
        TWAIN_MessageHook(&event);
        if (!twain::loopShouldRun())
            loop.quit();
    };
    QObject::connect(&slice, &QTimer::timeout, &loop, endSlice);
    // A source that wakes the loop has its record at once; the next slice
    // then runs whole.
    twain::WakeFilter wake([&slice, &endSlice] {
        slice.start();
        endSlice();
    });
    QCoreApplication::instance()->installEventFilter(&wake);
    bool started = false;
    QTimer::singleShot(0, &loop, [&started] { started = true; });
    slice.start();
    loop.exec();
    QCoreApplication::instance()->removeEventFilter(&wake);
    // An application quit during the loop ends it. Qt keeps a quit that no
    // application loop took, and every event loop started later returns at
    // once: such a quit came before this acquisition and is not its own, so
    // the source is served without an event loop of its own.
    if (!started) {
        while (twain::loopShouldRun())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

TWAIN_BOOL TWAIN_MessageHook(TW_PLATFORMEVENT *lpmsg)
{
    twain::Session &s = session();
    if (s.state < TWAIN_SOURCE_ENABLED)
        return 0;
    TW_EVENT event{lpmsg, MSG_NULL};
    TWAIN_DS(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    const bool sourceEvent = s.resultCode == TWRC_DSEVENT;
    switch (event.TWMessage) {
    case MSG_XFERREADY:
        s.state = TWAIN_TRANSFER_READY;
        TWAIN_NativeXferGetAll(lpmsg);
        break;
    case MSG_CLOSEDSREQ:
        // Transfers the source left half done are ended first, or it could
        // not be disabled; the loop ends even if it refuses.
        s.closeRequested = true;
        if (s.state > TWAIN_SOURCE_ENABLED)
            TWAIN_AbortAllPendingXfers();
        TWAIN_DisableSource();
        break;
    default:
        break;
    }
    return sourceEvent ? 1 : 0;
}

void TWAIN_NativeXferGetAll(TW_PLATFORMEVENT *)
{
    twain::Session &s = session();
    // Only a source that announced a transfer has one to give: asked at any
    // other moment it would be driven out of step, and a failed fetch would
    // leave the session in a state no public call walks down.
    if (s.state != TWAIN_TRANSFER_READY) {
        twain::AssertionFailed();
        return;
    }
    do {
        // The picture list is full: the rest of the pages are not fetched,
        // so none of them is left without an owner.
        if (s.dibCount >= twain::MaxDibs) {
            TWAIN_AbortAllPendingXfers();
            return;
        }
        TW_HANDLE dib = nullptr;
        TWAIN_DS(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib);
        if (s.state < TWAIN_TRANSFER_READY)
            twain::AssertionFailed();
        switch (s.resultCode) {
        case TWRC_XFERDONE:
            s.lastNative = dib;
            s.state = TWAIN_TRANSFERRING;
            twain::keepPicture(dib);
            break;
        case TWRC_CANCEL:
            s.lastNative = nullptr; // the operator stopped the scan: no picture
            s.state = TWAIN_TRANSFERRING;
            break;
        default:
            // A failed transfer is not repeated: the pending ones are reset
            // and the acquisition ends with the pages that arrived before it,
            // the last of them as its picture (a feeder that jams at the
            // fourth sheet has still scanned three).
            twain::RecordError(5);
            twain::LogScannerFault(QStringLiteral("страница не передана (%1)").arg(twain::ResultCodeDescription(s.errorResult)),
                                   s.errorCondition);
            s.state = TWAIN_TRANSFER_READY;
            if (!TWAIN_AbortAllPendingXfers())
                return; // a source that refuses the reset is not asked again
            break;
        }
        if (s.state == TWAIN_TRANSFERRING)
            twain::endTransfer();
    } while (s.state == TWAIN_TRANSFER_READY);
}

TWAIN_BOOL TWAIN_AbortAllPendingXfers(void)
{
    twain::Session &s = session();
    if (s.state == TWAIN_TRANSFERRING)
        twain::endTransfer();
    if (s.state == TWAIN_TRANSFER_READY && TWAIN_DS(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &s.pendingXfers))
        s.state = TWAIN_SOURCE_ENABLED;
    return s.state <= TWAIN_SOURCE_ENABLED;
}

} // extern "C"
