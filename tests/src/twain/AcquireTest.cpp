// Choosing the source, one acquisition, the message hook and the transfers,
// against the fake source manager.
#include "support/DibBuilder.h"
#include "TwainFixture.h"
#include "support/LogRecorder.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <memory>

using namespace twaintest;

namespace {

using P = std::pair<TW_UINT16, TW_UINT16>;

QWidget *findTopLevel(const QString &title)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->windowTitle() == title && w->isVisible())
            return w;
    return nullptr;
}

struct CallbackLog
{
    static std::vector<std::pair<TWAIN_HDIB, int32_t>> calls;
    static void record(TWAIN_HDIB dib, int32_t index) { calls.emplace_back(dib, index); }
};
std::vector<std::pair<TWAIN_HDIB, int32_t>> CallbackLog::calls;

class AcquireTest : public FakeSessionTest
{
protected:
    void SetUp() override
    {
        FakeSessionTest::SetUp();
        CallbackLog::calls.clear();
        TWAIN_UnRegisterCallback();
    }
    void TearDown() override
    {
        TWAIN_UnRegisterCallback();
        freeList();
        FakeSessionTest::TearDown();
    }
    /// The acquisition's pages belong to the caller.
    void freeList()
    {
        for (int i = 0; i < TWAIN_GetNumDibs(); ++i)
            TWAIN_FreeNative(TWAIN_GetDib(i));
        TWAIN_ClearDibList();
    }
};

TEST_F(AcquireTest, ThreePagesInOneGoAreListedCalledBackAndTheLastIsReturned)
{
    ScriptSource(dsm, {MSG_XFERREADY}, {TWRC_XFERDONE, TWRC_XFERDONE, TWRC_XFERDONE}, {2, 0xFFFF, 0});
    TWAIN_RegisterCallback(&CallbackLog::record);
    EXPECT_EQ(twain::session().callbackMarker, 0xF0F0Fu);

    TWAIN_HDIB dib = TWAIN_AcquireNative(0, TWAIN_ANYTYPE);
    ASSERT_NE(dib, nullptr);
    ASSERT_EQ(TWAIN_GetNumDibs(), 3);
    EXPECT_EQ(TWAIN_GetDib(2), dib);
    ASSERT_EQ(CallbackLog::calls.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(CallbackLog::calls[std::size_t(i)].first, TWAIN_GetDib(i));
        EXPECT_EQ(CallbackLog::calls[std::size_t(i)].second, i);
    }
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(dsm.count(DAT_PENDINGXFERS, MSG_ENDXFER), 3);
    EXPECT_TRUE(boxes->calls.empty());
}

TEST_F(AcquireTest, AfterUnregisteringNoCallbackIsCalled)
{
    ScriptSource(dsm, {MSG_XFERREADY}, {TWRC_XFERDONE}, {0});
    TWAIN_RegisterCallback(&CallbackLog::record);
    TWAIN_UnRegisterCallback();
    EXPECT_NE(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    EXPECT_TRUE(CallbackLog::calls.empty());
    EXPECT_EQ(twain::session().callbackMarker, 0u);
}

TEST_F(AcquireTest, TheStepsRunInOrderAndTheSessionEndsInStateOne)
{
    ScriptSource(dsm, {MSG_NULL, MSG_XFERREADY}, {TWRC_XFERDONE}, {0});
    ASSERT_NE(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    std::vector<P> seq = dsm.sequence();
    // Two event slices (the first one not the source's), then the transfer;
    // the source's condition once the loop ends (a fault goes to the log).
    const std::vector<P> expected{{DAT_PARENT, MSG_OPENDSM},         {DAT_IDENTITY, MSG_OPENDS},
                                  {DAT_USERINTERFACE, MSG_ENABLEDS}, {DAT_EVENT, MSG_PROCESSEVENT},
                                  {DAT_EVENT, MSG_PROCESSEVENT},     {DAT_IMAGENATIVEXFER, MSG_GET},
                                  {DAT_PENDINGXFERS, MSG_ENDXFER},   {DAT_STATUS, MSG_GET},
                                  {DAT_USERINTERFACE, MSG_DISABLEDS},
                                  {DAT_IDENTITY, MSG_CLOSEDS},       {DAT_PARENT, MSG_CLOSEDSM}};
    EXPECT_EQ(seq, expected);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
}

TEST_F(AcquireTest, ANullWindowGetsTheProxyWindowForTheTimeOfTheCall)
{
    bool proxySeen = false;
    TWAIN_HWND parent = 0;
    dsm.answer(DAT_PARENT, MSG_OPENDSM, [&](TW_MEMREF data) {
        std::memcpy(&parent, data, sizeof parent);
        QWidget *proxy = findTopLevel(QStringLiteral("Acquire Proxy"));
        proxySeen = proxy && static_cast<TWAIN_HWND>(proxy->winId()) == parent;
        return TW_UINT16(TWRC_SUCCESS);
    });
    ScriptSource(dsm, {MSG_CLOSEDSREQ}, {}, {});
    QSize proxySize;
    dsm.answer(DAT_USERINTERFACE, MSG_ENABLEDS, [&](TW_MEMREF) {
        if (QWidget *proxy = findTopLevel(QStringLiteral("Acquire Proxy")))
            proxySize = proxy->size();
        return TW_UINT16(TWRC_SUCCESS);
    });
    EXPECT_EQ(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    EXPECT_TRUE(proxySeen);
    EXPECT_EQ(proxySize, QSize(1, 1)); // never meant to be seen
    EXPECT_EQ(findTopLevel(QStringLiteral("Acquire Proxy")), nullptr);
}

TEST_F(AcquireTest, TheCallersWindowTakesNoInputOnlyWhileTheLoopRuns)
{
    QWidget window;
    window.show();
    const auto hwnd = static_cast<TWAIN_HWND>(window.winId());
    bool enabledDuringLoop = true;
    bool enabledBeforeLoop = false;
    dsm.answer(DAT_USERINTERFACE, MSG_ENABLEDS, [&](TW_MEMREF) {
        enabledBeforeLoop = window.isEnabled();
        return TW_UINT16(TWRC_SUCCESS);
    });
    dsm.answer(DAT_EVENT, MSG_PROCESSEVENT, [&](TW_MEMREF data) {
        enabledDuringLoop = window.isEnabled();
        static_cast<pTW_EVENT>(data)->TWMessage = MSG_CLOSEDSREQ;
        return TW_UINT16(TWRC_DSEVENT);
    });
    EXPECT_EQ(TWAIN_AcquireNative(hwnd, TWAIN_ANYTYPE), nullptr);
    EXPECT_TRUE(enabledBeforeLoop);
    EXPECT_FALSE(enabledDuringLoop);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(findTopLevel(QStringLiteral("Acquire Proxy")), nullptr);
}

TEST_F(AcquireTest, AStaleWindowHandleIsReplacedByTheProxy)
{
    TWAIN_HWND stale;
    {
        QWidget gone;
        gone.show();
        stale = static_cast<TWAIN_HWND>(gone.winId());
    }
    TWAIN_HWND parent = 0;
    dsm.answer(DAT_PARENT, MSG_OPENDSM, [&](TW_MEMREF data) {
        std::memcpy(&parent, data, sizeof parent);
        return TW_UINT16(TWRC_SUCCESS);
    });
    ScriptSource(dsm, {MSG_CLOSEDSREQ}, {}, {});
    TWAIN_AcquireNative(stale, TWAIN_ANYTYPE);
    EXPECT_NE(parent, 0u);
    EXPECT_NE(parent, stale);
}

TEST_F(AcquireTest, ClosingTheSourcesDialogWithoutScanningGivesNothing)
{
    ScriptSource(dsm, {MSG_CLOSEDSREQ}, {}, {});
    EXPECT_EQ(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(dsm.count(DAT_IMAGENATIVEXFER, MSG_GET), 0);
}

TEST_F(AcquireTest, ASourceThatWakesTheLoopHasItsRecordBeforeTheEventsPostedAfterTheWake)
{
    // The first record finds the source busy; it then has news, wakes the
    // loop and something else is posted after the wake. Its record comes
    // before that (at the slice's end it would come after).
    QObject context;
    int records = 0;
    bool laterEventRan = false;
    bool wokenFirst = false;
    dsm.answer(DAT_EVENT, MSG_PROCESSEVENT, [&](TW_MEMREF data) -> TW_UINT16 {
        auto *event = static_cast<pTW_EVENT>(data);
        if (++records == 1) {
            QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Type(TWEV_WAKEEVENTTYPE)));
            QMetaObject::invokeMethod(&context, [&laterEventRan] { laterEventRan = true; }, Qt::QueuedConnection);
            event->TWMessage = MSG_NULL;
            return TWRC_NOTDSEVENT;
        }
        wokenFirst = !laterEventRan;
        event->TWMessage = MSG_CLOSEDSREQ;
        return TWRC_DSEVENT;
    });
    EXPECT_EQ(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    EXPECT_EQ(records, 2);
    EXPECT_TRUE(wokenFirst);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);

    // Outside the loop the wake is nobody's and does no harm.
    QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Type(TWEV_WAKEEVENTTYPE)));
    QCoreApplication::processEvents();
    EXPECT_EQ(records, 2);
}

TEST_F(AcquireTest, EveryFailingStepShowsItsWarningAndTheSessionStillWalksDown)
{
    struct Case
    {
        P failing;
        QString warning;
        int error;
        const char *cause; ///< what the log says beside the box's text
    };
    const Case cases[] = {
        {{DAT_PARENT, MSG_OPENDSM}, QStringLiteral("Unable to open Source Manager (libtwaindsm.so)"), 0, ""},
        {{DAT_IDENTITY, MSG_OPENDS}, QStringLiteral("TWAIN_ReportLastError: an error occurred"), 4,
         "ошибка 4 (Source Manager operation failed), результат TWRC_FAILURE (1), условие TWCC_BADVALUE"},
        {{DAT_USERINTERFACE, MSG_ENABLEDS}, QStringLiteral("TWAIN_ReportLastError: an error occurred"), 5,
         "ошибка 5 (DataSource operation failed), результат TWRC_FAILURE (1), условие TWCC_BADVALUE"},
        {{DAT_CAPABILITY, MSG_GET}, QStringLiteral("TWAIN_ReportLastError: an error occurred"), 2,
         "ошибка 2 (DAT_CAPABILITY/MSG_GET failed), результат TWRC_FAILURE (1), условие TWCC_BADVALUE"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.warning.toStdString() + " " + std::to_string(c.failing.second));
        r9test::LogRecorder log;
        twain::ResetSessionForTests();
        dsm.reset();
        dsm.condition = TWCC_BADVALUE;
        boxes->calls.clear();
        dsm.answer(DAT_CAPABILITY, MSG_GET, [](TW_MEMREF data) {
            auto *cap = static_cast<pTW_CAPABILITY>(data);
            cap->ConType = TWON_ONEVALUE;
            cap->hContainer = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
            auto *one = static_cast<TW_ONEVALUE *>(GlobalLock(cap->hContainer));
            one->ItemType = TWTY_UINT16;
            one->Item = TWPT_GRAY;
            GlobalUnlock(cap->hContainer);
            return TW_UINT16(TWRC_SUCCESS);
        });
        dsm.answerRc(c.failing.first, c.failing.second, TWRC_FAILURE);
        EXPECT_EQ(TWAIN_AcquireNative(0, TWAIN_GRAY), nullptr);
        ASSERT_EQ(boxes->calls.size(), 1u);
        EXPECT_EQ(boxes->calls[0].text, c.warning);
        EXPECT_EQ(boxes->calls[0].caption, QStringLiteral("TWAIN Error"));
        EXPECT_EQ(boxes->calls[0].icon, QMessageBox::Warning);
        EXPECT_EQ(boxes->calls[0].owner, nullptr);
        const QStringList shown = log.lines.filter(c.warning);
        ASSERT_EQ(shown.size(), 1) << log.lines.join('\n').toStdString();
        EXPECT_TRUE(shown[0].contains(QString::fromUtf8(c.cause))) << shown[0].toStdString();
        EXPECT_EQ(twain::session().errorCode, c.error);
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
        EXPECT_EQ(dsm.count(DAT_EVENT, MSG_PROCESSEVENT), 0);
    }
}

TEST_F(AcquireTest, WithoutASourceManagerTheAcquisitionWarnsAndGivesNothing)
{
    twain::SetSourceManagerOverride(QStringLiteral("libno-such-manager.so"));
    r9test::LogRecorder log;
    EXPECT_FALSE(TWAIN_IsAvailable());
    EXPECT_EQ(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("Unable to load Source Manager (libtwaindsm.so)")});
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(QStringLiteral("libno-such-manager.so"))) << "the loader's own words";
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
}

TEST_F(AcquireTest, ACancelledTransferEndsItAndTheLoopWaitsForTheSource)
{
    ScriptSource(dsm, {MSG_XFERREADY, MSG_CLOSEDSREQ}, {TWRC_CANCEL}, {0});
    EXPECT_EQ(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    EXPECT_EQ(dsm.count(DAT_PENDINGXFERS, MSG_ENDXFER), 1);
    EXPECT_EQ(dsm.count(DAT_PENDINGXFERS, MSG_RESET), 0);
    EXPECT_EQ(dsm.count(DAT_EVENT, MSG_PROCESSEVENT), 2);
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
}

TEST_F(AcquireTest, AFailedTransferIsNotRepeatedAndThePageBeforeItIsThePicture)
{
    ScriptSource(dsm, {MSG_XFERREADY, MSG_CLOSEDSREQ}, {TWRC_XFERDONE, TWRC_FAILURE}, {1});
    const TWAIN_HDIB dib = TWAIN_AcquireNative(0, TWAIN_ANYTYPE);
    ASSERT_EQ(TWAIN_GetNumDibs(), 1);
    EXPECT_EQ(dib, TWAIN_GetDib(0)) << "the page scanned before the failure is not lost";
    EXPECT_EQ(dsm.count(DAT_IMAGENATIVEXFER, MSG_GET), 2);
    EXPECT_EQ(dsm.count(DAT_PENDINGXFERS, MSG_RESET), 1);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_TRUE(boxes->calls.empty()) << "a picture came: nothing to report";
    EXPECT_EQ(twain::session().errorCode, 5);
}

TEST_F(AcquireTest, AFailedTransferWithoutAPageIsReportedOnceTheSourceIsClosed)
{
    ScriptSource(dsm, {MSG_XFERREADY, MSG_CLOSEDSREQ}, {TWRC_FAILURE}, {});
    EXPECT_EQ(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    ASSERT_EQ(boxTexts(), QStringList{QStringLiteral("TWAIN_ReportLastError: an error occurred")});
    EXPECT_EQ(twain::session().errorCode, 5);
    EXPECT_EQ(twain::session().errorResult, TWRC_FAILURE);
}

TEST_F(AcquireTest, AFailedTransferGoesToTheLogWithTheScannersCondition)
{
    struct Case
    {
        std::vector<TW_UINT16> results;
        std::vector<TW_UINT16> pages;
        TW_UINT16 condition;
        const char *named;
        TW_UINT16 statusRc = TWRC_SUCCESS;
    };
    // The failed transfer, or the source's condition once its window closed
    // (the pages before a jam came through): one line each, none without a
    // fault, none from a source that does not answer the status call.
    for (const Case &c : {Case{{TWRC_XFERDONE, TWRC_FAILURE}, {1}, 20, "TWRC_FAILURE), условие TWCC_PAPERJAM (20)"},
                          Case{{TWRC_FAILURE}, {}, TWCC_BUMMER, "TWRC_FAILURE), условие TWCC_BUMMER"},
                          Case{{TWRC_XFERDONE}, {0}, 29, "условие TWCC_NOMEDIA (29)"},
                          Case{{TWRC_XFERDONE}, {0}, TWCC_SUCCESS, nullptr},
                          Case{{TWRC_XFERDONE}, {0}, 20, nullptr, TWRC_FAILURE}}) {
        SCOPED_TRACE(c.named ? c.named : "no fault");
        r9test::LogRecorder log;
        ScriptSource(dsm, {MSG_XFERREADY, MSG_CLOSEDSREQ}, c.results, c.pages);
        dsm.condition = c.condition;
        if (c.statusRc != TWRC_SUCCESS)
            dsm.answerRc(DAT_STATUS, MSG_GET, c.statusRc);
        TWAIN_AcquireNative(0, TWAIN_ANYTYPE);
        freeList();
        const QStringList faults = log.lines.filter(QStringLiteral("Сбой сканера"));
        ASSERT_EQ(faults.size(), c.named ? 1 : 0) << log.lines.join(QLatin1Char('\n')).toStdString();
        if (c.named) {
            EXPECT_TRUE(faults[0].contains(QString::fromUtf8(c.named))) << faults[0].toStdString();
        }
    }
}

TEST_F(AcquireTest, ACancelledTransferAfterAPageLeavesNoPicture)
{
    ScriptSource(dsm, {MSG_XFERREADY, MSG_CLOSEDSREQ}, {TWRC_XFERDONE, TWRC_CANCEL}, {1, 0});
    EXPECT_EQ(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    EXPECT_EQ(TWAIN_GetNumDibs(), 1);
    EXPECT_TRUE(boxes->calls.empty());
}

TEST_F(AcquireTest, ASourceRefusingTheResetAfterAFailedTransferIsNotAskedForever)
{
    walkTo(5);
    twain::session().state = TWAIN_TRANSFER_READY;
    dsm.answerRc(DAT_IMAGENATIVEXFER, MSG_GET, TWRC_FAILURE);
    dsm.answerRc(DAT_PENDINGXFERS, MSG_RESET, TWRC_FAILURE);
    TWAIN_NativeXferGetAll(nullptr);
    EXPECT_EQ(dsm.count(DAT_IMAGENATIVEXFER, MSG_GET), 1);
    EXPECT_EQ(TWAIN_State(), TWAIN_TRANSFER_READY);
}

TEST_F(AcquireTest, TheListStopsAt999PagesAndTheRestAreReset)
{
    std::vector<TW_UINT16> results(1200, TWRC_XFERDONE);
    std::vector<TW_UINT16> pending(1200, 0xFFFF);
    ScriptSource(dsm, {MSG_XFERREADY}, results, pending);
    TWAIN_HDIB last = TWAIN_AcquireNative(0, TWAIN_ANYTYPE);
    EXPECT_EQ(TWAIN_GetNumDibs(), 999);
    EXPECT_EQ(last, TWAIN_GetDib(998));
    EXPECT_EQ(dsm.count(DAT_IMAGENATIVEXFER, MSG_GET), 999);
    EXPECT_EQ(dsm.count(DAT_PENDINGXFERS, MSG_RESET), 1);

    // A host that drives the session and enables the source again without
    // clearing the full list: no page is fetched that could not be listed.
    freeList();
    dsm.reset();
    walkTo(5);
    twain::session().dibCount = 999;
    ScriptSource(dsm, {MSG_XFERREADY}, {TWRC_XFERDONE}, {0});
    TW_PLATFORMEVENT event{0, TWEV_LOOPSLICE, 0, 0};
    TWAIN_MessageHook(&event);
    EXPECT_EQ(dsm.count(DAT_IMAGENATIVEXFER, MSG_GET), 0);
    EXPECT_EQ(dsm.count(DAT_PENDINGXFERS, MSG_RESET), 1);
    EXPECT_EQ(TWAIN_State(), TWAIN_SOURCE_ENABLED);
    TWAIN_ClearDibList();
}

TEST_F(AcquireTest, TheHookPassesTheEventRecordAndTellsWhetherItWasTheSources)
{
    EXPECT_FALSE(TWAIN_MessageHook(nullptr)); // below state 5: not asked
    EXPECT_TRUE(dsm.calls.empty());

    walkTo(5);
    TW_PLATFORMEVENT event{1, TWEV_APPEVENT, 2, 3};
    TW_MEMREF passed = nullptr;
    TW_UINT16 messageField = 0xFFFF;
    TW_UINT16 rc = TWRC_NOTDSEVENT;
    dsm.answer(DAT_EVENT, MSG_PROCESSEVENT, [&](TW_MEMREF data) {
        passed = static_cast<pTW_EVENT>(data)->pEvent;
        messageField = static_cast<pTW_EVENT>(data)->TWMessage;
        return rc;
    });
    EXPECT_FALSE(TWAIN_MessageHook(&event));
    EXPECT_EQ(passed, &event);
    EXPECT_EQ(messageField, MSG_NULL);
    rc = TWRC_DSEVENT;
    EXPECT_TRUE(TWAIN_MessageHook(&event));
    EXPECT_EQ(TWAIN_State(), TWAIN_SOURCE_ENABLED);
}

TEST_F(AcquireTest, TransfersEnteredOutsideStateSixFailTheConsistencyCheck)
{
    walkTo(5);
    dsm.answerRc(DAT_IMAGENATIVEXFER, MSG_GET, TWRC_CANCEL);
    TWAIN_NativeXferGetAll(nullptr);
    EXPECT_TRUE(boxTexts().contains(QStringLiteral("Assertion failed")));
}

TEST_F(AcquireTest, OutsideStateSixTheTransferAsksNothingAndKeepsTheState)
{
    // A host calling it at the wrong moment gets the box and a session it
    // can still walk down (and, from state 1, load again).
    for (int state : {1, 2, 3, 4, 5, 7}) {
        SCOPED_TRACE(state);
        twain::ResetSessionForTests();
        walkTo(std::min(state, 5));
        if (state == 7)
            twain::session().state = TWAIN_TRANSFERRING;
        dsm.reset();
        boxes->calls.clear();
        TWAIN_NativeXferGetAll(nullptr);
        EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("Assertion failed")});
        EXPECT_TRUE(dsm.calls.empty());
        EXPECT_EQ(TWAIN_State(), state);
    }
    twain::ResetSessionForTests();
    TWAIN_NativeXferGetAll(nullptr);
    EXPECT_TRUE(TWAIN_LoadSourceManager());
    EXPECT_EQ(TWAIN_State(), TWAIN_SM_LOADED);
}

TEST_F(AcquireTest, AbortingEndsTheTransferThenResetsThePendingOnes)
{
    walkTo(5);
    twain::session().state = TWAIN_TRANSFERRING;
    ScriptSource(dsm, {}, {}, {3});
    EXPECT_TRUE(TWAIN_AbortAllPendingXfers());
    const std::vector<P> seq = dsm.sequence();
    EXPECT_EQ((std::vector<P>{seq.end() - 2, seq.end()}),
              (std::vector<P>{{DAT_PENDINGXFERS, MSG_ENDXFER}, {DAT_PENDINGXFERS, MSG_RESET}}));
    EXPECT_EQ(TWAIN_State(), TWAIN_SOURCE_ENABLED);

    twain::session().state = TWAIN_TRANSFER_READY;
    dsm.answerRc(DAT_PENDINGXFERS, MSG_RESET, TWRC_FAILURE);
    EXPECT_FALSE(TWAIN_AbortAllPendingXfers());
    EXPECT_EQ(TWAIN_State(), TWAIN_TRANSFER_READY);
    twain::session().state = TWAIN_SOURCE_ENABLED;
}

TEST_F(AcquireTest, TheApplicationsQuitEndsTheModalLoop)
{
    int slices = 0;
    dsm.answer(DAT_EVENT, MSG_PROCESSEVENT, [&](TW_MEMREF data) {
        ++slices;
        static_cast<pTW_EVENT>(data)->TWMessage = MSG_NULL;
        QCoreApplication::exit(0);
        return TW_UINT16(TWRC_NOTDSEVENT);
    });
    EXPECT_EQ(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    EXPECT_EQ(slices, 1);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);

    // No application loop took that quit: the next acquisition still
    // serves its source and gets its page.
    ScriptSource(dsm, {MSG_NULL, MSG_XFERREADY}, {TWRC_XFERDONE}, {0});
    TWAIN_HDIB page = TWAIN_AcquireNative(0, TWAIN_ANYTYPE);
    EXPECT_NE(page, nullptr);
    EXPECT_EQ(TWAIN_GetNumDibs(), 1);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    // The test program goes on: a run of the application's loop forgets the quit.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

/// Scripts the source's events, and ends a loop that would otherwise run on
/// for ever (the application's quit) after far more events than the
/// acquisition needs; the count of events tells the test.
int *CappedEvents(FakeDsm &dsm, std::vector<TW_UINT16> events)
{
    static int served;
    served = 0;
    auto queue = std::make_shared<std::vector<TW_UINT16>>(std::move(events));
    dsm.answer(DAT_EVENT, MSG_PROCESSEVENT, [queue](TW_MEMREF data) -> TW_UINT16 {
        if (++served == 50)
            QCoreApplication::exit(0);
        auto *event = static_cast<pTW_EVENT>(data);
        event->TWMessage = MSG_NULL;
        if (queue->empty())
            return TWRC_NOTDSEVENT;
        event->TWMessage = queue->front();
        queue->erase(queue->begin());
        return TWRC_DSEVENT;
    });
    return &served;
}

TEST_F(AcquireTest, ASourceThatWillNotEndItsTransfersStillEndsTheAcquisition)
{
    // MSG_ENDXFER refused after a page: the page is returned, and the
    // session is walked down all the same.
    ScriptSource(dsm, {MSG_XFERREADY}, {TWRC_XFERDONE}, {0});
    dsm.answerRc(DAT_PENDINGXFERS, MSG_ENDXFER, TWRC_FAILURE);
    EXPECT_NE(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(dsm.count(DAT_USERINTERFACE, MSG_DISABLEDS), 1);
    EXPECT_EQ(dsm.count(DAT_IDENTITY, MSG_CLOSEDS), 1);
    EXPECT_EQ(dsm.count(DAT_PARENT, MSG_CLOSEDSM), 1);
    freeList();

    // A failed transfer whose reset is refused: no page will come, so the
    // loop ends at once instead of waiting for a close request.
    dsm.reset();
    ScriptSource(dsm, {}, {TWRC_FAILURE}, {});
    int *events = CappedEvents(dsm, {MSG_XFERREADY, MSG_CLOSEDSREQ});
    dsm.answerRc(DAT_PENDINGXFERS, MSG_RESET, TWRC_FAILURE);
    EXPECT_EQ(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    EXPECT_EQ(*events, 1);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(dsm.count(DAT_PARENT, MSG_CLOSEDSM), 1);

    // A close request the source then refuses to carry out (MSG_DISABLEDS
    // fails) still ends the loop, and the session.
    dsm.reset();
    events = CappedEvents(dsm, {MSG_CLOSEDSREQ});
    dsm.answerRc(DAT_USERINTERFACE, MSG_DISABLEDS, TWRC_FAILURE);
    EXPECT_EQ(TWAIN_AcquireNative(0, TWAIN_ANYTYPE), nullptr);
    EXPECT_EQ(*events, 1);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(dsm.count(DAT_IDENTITY, MSG_CLOSEDS), 1);
}

TEST_F(AcquireTest, ACloseRequestDuringATransferEndsTheTransfersFirst)
{
    walkTo(5);
    twain::session().state = TWAIN_TRANSFER_READY;
    CappedEvents(dsm, {MSG_CLOSEDSREQ});
    TW_PLATFORMEVENT event{0, TWEV_LOOPSLICE, 0, 0};
    EXPECT_TRUE(TWAIN_MessageHook(&event));
    const std::vector<P> seq = dsm.sequence();
    EXPECT_EQ((std::vector<P>{seq.end() - 2, seq.end()}),
              (std::vector<P>{{DAT_PENDINGXFERS, MSG_RESET}, {DAT_USERINTERFACE, MSG_DISABLEDS}}));
    EXPECT_EQ(TWAIN_State(), TWAIN_SOURCE_OPEN);
}

TEST_F(AcquireTest, SelectingASourceReportsTheManagersAnswer)
{
    dsm.answerRc(DAT_IDENTITY, MSG_USERSELECT, TWRC_SUCCESS);
    EXPECT_TRUE(TWAIN_SelectImageSource(0));
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(dsm.sequence(), (std::vector<P>{{DAT_PARENT, MSG_OPENDSM},
                                              {DAT_IDENTITY, MSG_USERSELECT},
                                              {DAT_PARENT, MSG_CLOSEDSM}}));
    EXPECT_EQ(findTopLevel(QStringLiteral("Acquire Proxy")), nullptr);

    dsm.answerRc(DAT_IDENTITY, MSG_USERSELECT, TWRC_CANCEL);
    EXPECT_FALSE(TWAIN_SelectImageSource(0));
    EXPECT_TRUE(boxes->calls.empty());
}

TEST_F(AcquireTest, SelectingWithABadWindowOrWithoutAManagerWarns)
{
    EXPECT_FALSE(TWAIN_SelectImageSource(0xDEAD));
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("TWAIN_SelectImageSource: window handle is invalid")});
    EXPECT_TRUE(dsm.calls.empty());

    boxes->calls.clear();
    dsm.answerRc(DAT_PARENT, MSG_OPENDSM, TWRC_FAILURE);
    QWidget window;
    window.show();
    EXPECT_FALSE(TWAIN_SelectImageSource(static_cast<TWAIN_HWND>(window.winId())));
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("Unable to open Source Manager (libtwaindsm.so)")});
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);

    boxes->calls.clear();
    twain::SetSourceManagerOverride(QStringLiteral("libno-such-manager.so"));
    EXPECT_FALSE(TWAIN_SelectImageSource(0));
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("Unable to load Source Manager (libtwaindsm.so)")});
}

TEST_F(AcquireTest, AcquiringToTheClipboardLeavesAPictureThereAndFreesTheDib)
{
    QGuiApplication::clipboard()->clear();
    ScriptSource(dsm, {MSG_CLOSEDSREQ}, {}, {});
    EXPECT_FALSE(TWAIN_AcquireToClipboard(0, TWAIN_ANYTYPE));
    const QMimeData *before = QGuiApplication::clipboard()->mimeData();
    EXPECT_FALSE(before && before->hasImage());

    twain::ResetSessionForTests();
    ScriptSource(dsm, {MSG_XFERREADY}, {TWRC_XFERDONE}, {0});
    EXPECT_TRUE(TWAIN_AcquireToClipboard(0, TWAIN_ANYTYPE));
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(mime && mime->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(mime->imageData()).size(), QSize(2, 2));
    EXPECT_TRUE(mime->data(QStringLiteral("image/bmp")).startsWith("BM"));
    TWAIN_ClearDibList(); // the clipboard took the picture; nothing left to free
}

TEST_F(AcquireTest, AcquiringToAFileWritesThePictureOrAnswersMinusOne)
{
    int dialogs = 0;
    const twain::FileDialogHook previous = twain::SetFileDialogHook([&](bool, const QString &) {
        ++dialogs;
        return QDir(r9test::TestHome()).filePath(QStringLiteral("asked"));
    });
    ScriptSource(dsm, {MSG_CLOSEDSREQ}, {}, {});
    EXPECT_EQ(TWAIN_AcquireToFilename(0, nullptr), -1);
    EXPECT_EQ(dialogs, 0);

    twain::ResetSessionForTests();
    ScriptSource(dsm, {MSG_XFERREADY}, {TWRC_XFERDONE}, {0});
    EXPECT_EQ(TWAIN_AcquireToFilename(0, ""), 0);
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(QFileInfo::exists(QDir(r9test::TestHome()).filePath(QStringLiteral("asked.bmp"))));
    TWAIN_ClearDibList();
    twain::SetFileDialogHook(previous);
}

} // namespace
