// The faults a SANE device reports, each as the standard's condition code
// with the acquisition ending cleanly, and the operator's cancel while SANE
// reads.
#include "SaneFixture.h"

#include "SaneStatus.h"    // the later condition codes
#include "ScanSettings.h" // CAP_FEEDERENABLED

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

using namespace sanetest;


TEST_F(SaneSourceTest, DeviceFaultsBecomeConditionCodesAndEndTheScanWithoutAPicture)
{
    struct Case
    {
        const char *status;
        int condition;
    };
    for (const Case c : {Case{"SANE_STATUS_JAMMED", TWCC_PAPERJAM}, Case{"SANE_STATUS_NO_DOCS", TWCC_NOMEDIA},
                         Case{"SANE_STATUS_COVER_OPEN", TWCC_INTERLOCK},
                         Case{"SANE_STATUS_IO_ERROR", TWCC_CHECKDEVICEONLINE},
                         Case{"SANE_STATUS_DEVICE_BUSY", TWCC_MAXCONNECTIONS},
                         Case{"SANE_STATUS_ACCESS_DENIED", TWCC_DENIED}, Case{"SANE_STATUS_NO_MEM", TWCC_LOWMEMORY},
                         Case{"SANE_STATUS_INVAL", TWCC_BUMMER}, Case{"SANE_STATUS_UNSUPPORTED", TWCC_BUMMER},
                         // the page ends before its first line: nothing to deliver
                         Case{"SANE_STATUS_EOF", TWCC_BUMMER}, Case{"SANE_STATUS_CANCELLED", TWCC_SUCCESS}}) {
        SCOPED_TRACE(c.status);
        configureBackend({QStringLiteral("read-status-code %1").arg(QLatin1String(c.status))});
        EXPECT_EQ(runSession([] {}), c.condition);
        EXPECT_EQ(TWAIN_GetNumDibs(), 0);
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
        // The whole acquisition ends the same way, without a warning of the layer.
        EXPECT_EQ(acquire(TWAIN_RGB), nullptr);
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    }
    EXPECT_TRUE(boxes.calls.empty()) << boxTexts().join(QLatin1Char('|')).toStdString();

    // The device works again once the fault is gone.
    configureBackend();
    EXPECT_NE(acquire(TWAIN_RGB), nullptr);
}

TEST_F(SaneSourceTest, AFaultInTheFeederKeepsThePagesReadBeforeIt)
{
    // A jam on the third sheet: the two sheets before it are delivered and
    // the condition code tells of the jam.
    qputenv("TWAINSANE_JAM_AFTER", "2");
    EXPECT_EQ(runSession([] { EXPECT_TRUE(TWAIN_SetCapOneValue(CAP_FEEDERENABLED, TWTY_BOOL, 1)); }),
              TWCC_PAPERJAM);
    EXPECT_EQ(TWAIN_GetNumDibs(), 2);
    EXPECT_EQ(Notices(), QStringList()); // without the source's window the caller tells
    qunsetenv("TWAINSANE_JAM_AFTER");

    // The feeder holds ten sheets; asking for more ends with the feeder
    // empty, which is the normal end, not a fault.
    EXPECT_EQ(runSession([] {
                  EXPECT_TRUE(TWAIN_SetCapOneValue(CAP_FEEDERENABLED, TWTY_BOOL, 1));
                  EXPECT_TRUE(TWAIN_NegotiateXferCount(12));
              }),
              TWCC_SUCCESS);
    EXPECT_EQ(TWAIN_GetNumDibs(), 10);

    // A jam on the first sheet leaves nothing and says so.
    configureBackend({QStringLiteral("read-status-code SANE_STATUS_JAMMED")});
    EXPECT_EQ(runSession([] { EXPECT_TRUE(TWAIN_SetCapOneValue(CAP_FEEDERENABLED, TWTY_BOOL, 1)); }),
              TWCC_PAPERJAM);
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
}

TEST_F(SaneSourceTest, TheOperatorCancelsWhileSaneReadsAndClosesTheDialog)
{
    TWAIN_SetHideUI(0);
    // A page of many pieces held back, so the operator meets the scan
    // under way.
    setSourceOptions(BaseOptions() + SlowReads() + QStringList{QStringLiteral("br-x=60"), QStringLiteral("br-y=60")});
    int progressSeen = -1;
    QString status;
    QString cancelling;
    auto progress = [](QWidget *d) { return d->findChild<QProgressBar *>(QStringLiteral("pbProgress")); };
    DialogOperator op({{[](QWidget *) { return true; }, [](QWidget *d) { Click(d, "bScan"); }},
                       {[&](QWidget *d) { return progress(d)->isVisible() && progress(d)->value() > 0; },
                        [&](QWidget *d) {
                            progressSeen = progress(d)->value();
                            Click(d, "bCancel"); // stops the scan
                            cancelling = d->findChild<QLabel *>(QStringLiteral("laPage"))->text();
                        }},
                       {[&](QWidget *d) { return !progress(d)->isVisible(); },
                        [&](QWidget *d) {
                            status = d->findChild<QLabel *>(QStringLiteral("laStatus"))->text();
                            Click(d, "bCancel"); // closes the source
                        }}});
    EXPECT_EQ(acquire(TWAIN_RGB), nullptr);
    EXPECT_EQ(op.stepsDone(), 3u);
    EXPECT_GT(progressSeen, 0);
    EXPECT_LT(progressSeen, 100);
    EXPECT_EQ(cancelling, QStringLiteral("Cancelling\u2026"));
    EXPECT_EQ(status, QStringLiteral("The scan was cancelled."));
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(ScanDialogShown(), nullptr);
}

TEST_F(SaneSourceTest, AFaultShowsInTheDialogWhichWaitsForTheOperator)
{
    TWAIN_SetHideUI(0);
    configureBackend({QStringLiteral("read-status-code SANE_STATUS_IO_ERROR")});
    QString status;
    DialogOperator op({{[](QWidget *) { return true; }, [](QWidget *d) { Click(d, "bScan"); }},
                       {[](QWidget *d) {
                            return d->findChild<QPushButton *>(QStringLiteral("bScan"))->isEnabled()
                                   && !d->findChild<QLabel *>(QStringLiteral("laStatus"))->text().isEmpty();
                        },
                        [&](QWidget *d) {
                            status = d->findChild<QLabel *>(QStringLiteral("laStatus"))->text();
                            Click(d, "bCancel");
                        }}});
    EXPECT_EQ(acquire(TWAIN_GRAY), nullptr);
    EXPECT_EQ(op.stepsDone(), 2u);
    EXPECT_EQ(status, QStringLiteral("The scanner does not answer: check that it is connected and switched on."));
}

TEST_F(SaneSourceTest, WithTheDialogAFaultAfterSomePagesIsToldToTheOperatorBeyondTheAcquisition)
{
    TWAIN_SetHideUI(0);
    setSourceOptions(BaseOptions() + QStringList{QStringLiteral("source=Automatic Document Feeder")});
    qputenv("TWAINSANE_JAM_AFTER", "2");
    DialogOperator op({{[](QWidget *) { return true; }, [](QWidget *d) { Click(d, "bScan"); }}});
    EXPECT_NE(acquire(TWAIN_RGB), nullptr);
    EXPECT_EQ(op.stepsDone(), 1u);
    EXPECT_EQ(TWAIN_GetNumDibs(), 2);
    // The dialog closed with the session; the fault is still on the screen.
    EXPECT_EQ(ScanDialogShown(), nullptr);
    EXPECT_EQ(Notices(), QStringList{twainsane::MessageFor(SANE_STATUS_JAMMED)});
    EXPECT_TRUE(boxes.calls.empty()) << boxTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(SaneSourceTest, SanesReasonWhyTheDeviceWouldNotOpenIsToldToTheOperator)
{
    // The list of sources is made while two devices are there; the second
    // has gone when it is opened.
    ASSERT_NE(acquire(TWAIN_GRAY), nullptr);
    configureBackend({QStringLiteral("number_of_devices 1")});
    r9test::WriteFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source"),
                      QByteArray(SecondSource) + '\n');
    TWAIN_SetHideUI(0);
    EXPECT_EQ(acquire(TWAIN_GRAY), nullptr);
    EXPECT_EQ(Notices(), QStringList{twainsane::MessageFor(SANE_STATUS_INVAL)});
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
}
