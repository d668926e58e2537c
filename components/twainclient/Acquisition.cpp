// One page from a source: enabled with or without its window, served with
// event records in slices of the application's own loop until it has a
// page or asks to be closed, the page taken as a native transfer, and the
// source disabled and closed whatever happened.

#include "DibPicture.h"
#include "platform/GlobalMemory.h"
#include "ManagerSession.h"
#include "Messages.h"
#include "SourceCapabilities.h"
#include "TwainClient.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace twainclient {

namespace {

constexpr int SliceMs = 10;
constexpr std::chrono::minutes PatienceWithoutWindow{2};
constexpr std::chrono::minutes PatienceWithWindow{10};

/// What the source said in the loop.
enum class Heard { Nothing, TransferReady, CloseRequested };

/// A source with news posts this event to the application: its record then
/// comes at once rather than at the slice's end.
class WakeFilter : public QObject
{
public:
    explicit WakeFilter(std::function<void()> wake) : m_wake(std::move(wake)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::Type(TWEV_WAKEEVENTTYPE))
            m_wake();
        return false;
    }

private:
    std::function<void()> m_wake;
};

/// With no window of the source's own, the operator's input waits until the
/// page is in: the caller's window must not start another scan, or close,
/// under a scan that runs through its event loop.
Heard ServeUntilNews(ManagerSession &session, std::chrono::milliseconds patience, bool sourceWindow)
{
    Heard heard = Heard::Nothing;
    QEventLoop loop;
    auto serve = [&] {
        if (heard != Heard::Nothing)
            return;
        TW_PLATFORMEVENT record{0, TWEV_LOOPSLICE, 0, 0};
        TW_EVENT event{&record, MSG_NULL};
        session.toSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        if (event.TWMessage == MSG_XFERREADY)
            heard = Heard::TransferReady;
        else if (event.TWMessage == MSG_CLOSEDSREQ)
            heard = Heard::CloseRequested;
        if (heard != Heard::Nothing)
            loop.quit();
    };
    QTimer slice;
    slice.setInterval(SliceMs);
    QObject::connect(&slice, &QTimer::timeout, &loop, serve);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    WakeFilter wake(serve);
    QCoreApplication::instance()->installEventFilter(&wake);
    slice.start();
    giveUp.start(patience);
    serve();
    if (heard == Heard::Nothing)
        loop.exec(sourceWindow ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    QCoreApplication::instance()->removeEventFilter(&wake);
    return heard;
}

Result Fault(Outcome outcome, const QString &words, const QString &source)
{
    return {outcome, QImage(), words.isEmpty() ? MessageFor(outcome, source) : words, {}};
}

/// The source's fault (or the end it came to without a fault) as a result.
Result SourceFault(ManagerSession &session, const QString &source)
{
    QString words;
    const TW_UINT16 condition = session.sourceCondition(&words);
    return Fault(OutcomeForCondition(condition), condition == TWCC_SUCCESS ? QString() : words, source);
}

/// The transfer the source announced, then the end of its pending ones.
Result Transfer(ManagerSession &session, const QString &source, PictureMode mode)
{
    TW_HANDLE dib = nullptr;
    const TW_UINT16 rc = session.toSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib);
    Result result;
    if (rc == TWRC_XFERDONE && dib) {
        if (const void *bytes = GlobalLock(dib)) {
            result.page = DibPicture(bytes, GlobalSize(dib));
            // The DIB goes with the result: the page's file is the DIB
            // behind a file header, with nothing to encode.
            result.dib.size = GlobalSize(dib);
            result.dib.bytes = std::shared_ptr<const void>(bytes, [dib](const void *) {
                GlobalUnlock(dib);
                GlobalFree(dib);
            });
            dib = nullptr;
        }
        result.outcome = result.page.isNull() ? Outcome::Failed : Outcome::Scanned;
        if (result.page.isNull()) {
            result.message = QStringLiteral("Сканер «%1» передал страницу, которую не удалось прочитать.").arg(source);
        } else {
            const QImage asked = InMode(result.page, mode);
            if (asked.constBits() != result.page.constBits())
                result.dib = {}; // the page is no longer the DIB
            result.page = asked;
        }
        if (result.page.isNull())
            result.dib = {};
    } else if (rc == TWRC_CANCEL) {
        result = Fault(Outcome::Cancelled, QString(), source);
    } else {
        result = SourceFault(session, source);
        // A failed transfer is a fault even when the source names none.
        if (result.outcome == Outcome::Cancelled)
            result = Fault(Outcome::Failed, QString(), source);
    }
    if (dib)
        GlobalFree(dib);
    // One page is all the engines take; a failed transfer is not ended, so
    // its pages are reset.
    TW_PENDINGXFERS pending{};
    if (session.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending) != TWRC_SUCCESS || pending.Count != 0)
        session.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
    return result;
}

} // namespace

QStringList ListSources(QString *failure, bool afresh)
{
    ManagerSession session;
    if (!session.isOpen()) {
        if (failure)
            *failure = session.failure();
        return {};
    }
    if (afresh)
        session.relist();
    return session.sources();
}

std::optional<Offers> SourceOffers(const QString &source)
{
    ManagerSession session;
    TW_UINT16 condition = TWCC_SUCCESS;
    QString words;
    if (!session.isOpen() || !session.openSource(source, &condition, &words))
        return std::nullopt;
    return OffersOf(session);
}

Result AcquirePage(const QString &source, const Settings &settings)
{
    if (!QCoreApplication::instance())
        return {Outcome::Failed, QImage(), QStringLiteral("Сканирование невозможно: программа не запустила обработку событий."), {}};
    ManagerSession session;
    if (!session.isOpen())
        return {Outcome::NoScanner, QImage(), session.failure(), {}};
    TW_UINT16 condition = TWCC_SUCCESS;
    QString words;
    if (!session.openSource(source, &condition, &words))
        return Fault(condition == TWCC_NODS ? Outcome::NoScanner : Outcome::SourceRefused, words, source);
    ApplySettings(session, settings);
    // A setting the source refused leaves its condition code behind, which
    // would be taken for the reason of a later close request.
    session.sourceCondition(nullptr);

    TW_USERINTERFACE ui{};
    ui.ShowUI = settings.showSourceWindow ? 1 : 0;
    ui.ModalUI = 0;
    ui.hParent = reinterpret_cast<TW_HANDLE>(CallerWindow());
    if (session.toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) == TWRC_FAILURE) {
        // A device fault (the cover, no paper) says more than "refused".
        const TW_UINT16 why = session.sourceCondition(&words);
        const Outcome outcome = OutcomeForCondition(why);
        const bool device = outcome != Outcome::Cancelled && outcome != Outcome::Failed && outcome != Outcome::NoScanner;
        return Fault(device ? outcome : Outcome::SourceRefused, words, source);
    }
    const auto patience = settings.patience.count() > 0
                              ? settings.patience
                              : std::chrono::milliseconds(settings.showSourceWindow ? PatienceWithWindow
                                                                                    : PatienceWithoutWindow);
    Result result;
    switch (ServeUntilNews(session, patience, settings.showSourceWindow)) {
    case Heard::TransferReady: result = Transfer(session, source, settings.mode); break;
    case Heard::CloseRequested:
        // The source's own window told the operator of its fault before the
        // operator closed it: what the caller makes of it is a cancel, not a
        // second message of the same.
        result = settings.showSourceWindow ? Fault(Outcome::Cancelled, QString(), source) : SourceFault(session, source);
        break;
    case Heard::Nothing: {
        // Whatever the source is doing, it is told to stop.
        TW_PENDINGXFERS pending{};
        session.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
        result = Fault(Outcome::NoAnswer, QString(), source);
        break;
    }
    }
    session.toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    return result;
}

} // namespace twainclient
