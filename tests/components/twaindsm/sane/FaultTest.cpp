// The faults a SANE device reports, each as the standard's condition code
// with the acquisition ending cleanly and a notice the operator reads
// whether or not the source shows its window, and the operator's cancel
// while SANE reads.
#include "support/SaneFixture.h"

#include "SaneStatus.h"    // the later condition codes
#include "ScanSettings.h" // CAP_FEEDERENABLED

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

using namespace sanetest;


TEST_F(SaneSourceTest, DeviceFaultsBecomeConditionCodesAndNoticesAndEndTheScanWithoutAPicture)
{
    struct Case
    {
        const char *status;
        int condition;
        const char *notice; // UTF-8; null: none
    };
    // The source's interface is hidden: the layer never asks for the
    // condition code after the source asked to be closed, so the operator
    // learns of the fault from the notice alone.
    for (const Case c :
         {Case{"SANE_STATUS_JAMMED", TWCC_PAPERJAM, "Бумага застряла в сканере."},
          // from the flatbed: the document is missing on the glass
          Case{"SANE_STATUS_NO_DOCS", TWCC_NOMEDIA, "На стекле сканера нет документа."},
          Case{"SANE_STATUS_COVER_OPEN", TWCC_INTERLOCK, "Крышка сканера открыта."},
          Case{"SANE_STATUS_IO_ERROR", TWCC_CHECKDEVICEONLINE,
               "Сканер не отвечает: проверьте, что он подключён и включён."},
          Case{"SANE_STATUS_DEVICE_BUSY", TWCC_MAXCONNECTIONS, "Сканер занят другой программой."},
          Case{"SANE_STATUS_ACCESS_DENIED", TWCC_DENIED, "Нет доступа к сканеру."},
          Case{"SANE_STATUS_NO_MEM", TWCC_LOWMEMORY, "Не хватает памяти для сканирования."},
          Case{"SANE_STATUS_INVAL", TWCC_BUMMER, "Сканер не принял настройки сканирования."},
          Case{"SANE_STATUS_UNSUPPORTED", TWCC_BUMMER, "Сканер не поддерживает эту операцию."},
          // the page ends before its first line: nothing to deliver
          Case{"SANE_STATUS_EOF", TWCC_BUMMER, "Сканер неожиданно прервал страницу."},
          Case{"SANE_STATUS_CANCELLED", TWCC_SUCCESS, nullptr}}) {
        SCOPED_TRACE(c.status);
        const QStringList notice = c.notice ? QStringList{QString::fromUtf8(c.notice)} : QStringList();
        configureBackend({QStringLiteral("read-status-code %1").arg(QLatin1String(c.status))});
        EXPECT_EQ(runSession([] {}), c.condition);
        EXPECT_EQ(TWAIN_GetNumDibs(), 0);
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
        EXPECT_EQ(Notices(), notice);
        // The whole acquisition ends the same way, without a warning of the layer.
        EXPECT_EQ(acquire(TWAIN_RGB), nullptr);
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
        EXPECT_EQ(Notices(), notice);
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
    EXPECT_EQ(Notices(), QStringList{QStringLiteral("Бумага застряла в сканере.")});
    qunsetenv("TWAINSANE_JAM_AFTER");

    // The feeder holds ten sheets; asking for more ends with the feeder
    // empty, which is the normal end, not a fault.
    EXPECT_EQ(runSession([] {
                  EXPECT_TRUE(TWAIN_SetCapOneValue(CAP_FEEDERENABLED, TWTY_BOOL, 1));
                  EXPECT_TRUE(TWAIN_NegotiateXferCount(12));
              }),
              TWCC_SUCCESS);
    EXPECT_EQ(TWAIN_GetNumDibs(), 10);
    EXPECT_EQ(Notices(), QStringList());

    // A jam on the first sheet leaves nothing and says so.
    configureBackend({QStringLiteral("read-status-code SANE_STATUS_JAMMED")});
    EXPECT_EQ(runSession([] { EXPECT_TRUE(TWAIN_SetCapOneValue(CAP_FEEDERENABLED, TWTY_BOOL, 1)); }),
              TWCC_PAPERJAM);
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
    EXPECT_EQ(Notices(), QStringList{QStringLiteral("Бумага застряла в сканере.")});

    // A feeder without documents says so.
    configureBackend({QStringLiteral("read-status-code SANE_STATUS_NO_DOCS")});
    EXPECT_EQ(runSession([] { EXPECT_TRUE(TWAIN_SetCapOneValue(CAP_FEEDERENABLED, TWTY_BOOL, 1)); }),
              TWCC_NOMEDIA);
    EXPECT_EQ(Notices(), QStringList{QStringLiteral("В автоподатчике нет документов.")});
}

TEST_F(SaneSourceTest, TheOperatorCancelsWhileSaneReadsAndClosesTheDialog)
{
    TWAIN_SetHideUI(0);
    // A page of many pieces held back, so the operator meets the scan
    // under way.
    setSourceOptions(BaseOptions() + SlowReads() + QStringList{QStringLiteral("br-x=60"), QStringLiteral("br-y=60")});
    int progressSeen = -1;
    QString status, statusStyle;
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
                            statusStyle = d->findChild<QLabel *>(QStringLiteral("laStatus"))->styleSheet();
                            Click(d, "bCancel"); // closes the source
                        }}});
    EXPECT_EQ(acquire(TWAIN_RGB), nullptr);
    EXPECT_EQ(op.stepsDone(), 3u);
    EXPECT_GT(progressSeen, 0);
    EXPECT_LT(progressSeen, 100);
    EXPECT_EQ(cancelling, QStringLiteral("Сканирование отменяется\u2026"));
    EXPECT_EQ(status, QStringLiteral("Сканирование отменено."));
    EXPECT_FALSE(statusStyle.contains(QStringLiteral("#b00000"))) << "the operator's own cancel is no fault";
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(ScanDialogShown(), nullptr);
}

TEST_F(SaneSourceTest, AFaultShowsInTheDialogWhichWaitsForTheOperator)
{
    TWAIN_SetHideUI(0);
    configureBackend({QStringLiteral("read-status-code SANE_STATUS_IO_ERROR")});
    QString status, statusStyle;
    DialogOperator op({{[](QWidget *) { return true; }, [](QWidget *d) { Click(d, "bScan"); }},
                       {[](QWidget *d) {
                            return d->findChild<QPushButton *>(QStringLiteral("bScan"))->isEnabled()
                                   && !d->findChild<QLabel *>(QStringLiteral("laStatus"))->text().isEmpty();
                        },
                        [&](QWidget *d) {
                            status = d->findChild<QLabel *>(QStringLiteral("laStatus"))->text();
                            statusStyle = d->findChild<QLabel *>(QStringLiteral("laStatus"))->styleSheet();
                            Click(d, "bCancel");
                        }}});
    EXPECT_EQ(acquire(TWAIN_GRAY), nullptr);
    EXPECT_EQ(op.stepsDone(), 2u);
    EXPECT_EQ(status, QStringLiteral("Сканер не отвечает: проверьте, что он подключён и включён."));
    EXPECT_TRUE(statusStyle.contains(QStringLiteral("#b00000"))) << "a fault shows in red";
    // The dialog told it while it waited: no second box of the same.
    EXPECT_EQ(Notices(), QStringList());
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
    EXPECT_EQ(Notices(), QStringList{QStringLiteral("Бумага застряла в сканере.")});
    EXPECT_TRUE(boxes.calls.empty()) << boxTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(SaneSourceTest, ADeviceThatWouldNotOpenIsToldToTheOperatorAsNotAvailable)
{
    // The list of sources is made while two devices are there; the second
    // has gone when it is opened (SANE's answer, an invalid argument, is no
    // reason for the operator to look at the settings).
    ASSERT_NE(acquire(TWAIN_GRAY), nullptr);
    configureBackend({QStringLiteral("number_of_devices 1")});
    r9test::WriteFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source"),
                      QByteArray(SecondSource) + '\n');
    TWAIN_SetHideUI(0);
    EXPECT_EQ(acquire(TWAIN_GRAY), nullptr);
    // One box, the layer's, in the source's words.
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("Сканер недоступен: проверьте, что он подключён и включён.")});
    EXPECT_EQ(Notices(), QStringList());
    EXPECT_EQ(twain::session().errorCondition, TWCC_CHECKDEVICEONLINE);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
}
