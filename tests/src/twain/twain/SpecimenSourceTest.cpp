// The layer end to end: the stand-in source manager (libtwaindsm.so beside
// the test) with the specimen data source from its twain/ folder.
#include "support/DibBuilder.h"
#include "support/ManagerSupport.h"
#include "support/OperatorInput.h"
#include "TwainFixture.h"
#include "ui/TPictureBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTimer>

using namespace twaintest;

namespace {

constexpr const char *SpecimenName = "Specimen Scanner";

struct SelectLog
{
    static std::vector<std::string> names;
    static int32_t defaultIndex;
    static int32_t answer;
    static int32_t choose(const char *const *list, int32_t count, int32_t def)
    {
        names.assign(list, list + count);
        defaultIndex = def;
        if (answer == -2) {
            for (int32_t i = 0; i < count; ++i)
                if (names[std::size_t(i)] == SpecimenName)
                    return i;
            return -1;
        }
        return answer;
    }
};
std::vector<std::string> SelectLog::names;
int32_t SelectLog::defaultIndex = -1;
int32_t SelectLog::answer = -1;

/// Presses a button of the specimen scanner's dialog as soon as it shows.
class DialogPresser
{
public:
    explicit DialogPresser(const QString &button)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, button] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("SpecimenScanDialog") && w->isVisible())
                    if (auto *b = w->findChild<QPushButton *>(button)) {
                        seen = true;
                        m_timer.stop();
                        b->click();
                        return;
                    }
        });
        m_timer.start(1);
    }
    bool seen = false;

private:
    QTimer m_timer;
};

class SpecimenSourceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        twain::ResetSessionForTests();
        twain::SetSourceManagerOverride(QString());
        for (const char *v : {"TWAINSPECIMEN_FAULTS", "TWAINSPECIMEN_PAGES", "TWAINSPECIMEN_CONTAINER"})
            qunsetenv(v);
        // Other data sources may sit beside the specimen one: make it the default.
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm");
        QDir().mkpath(config);
        r9test::WriteFile(config + QStringLiteral("/default-source"), QByteArray(SpecimenName) + '\n');
        TWAIN_SetHideUI(1);
    }
    void TearDown() override
    {
        for (int i = 0; i < TWAIN_GetNumDibs(); ++i)
            if (TWAIN_GetDib(i) != kept)
                TWAIN_FreeNative(TWAIN_GetDib(i));
        TWAIN_FreeNative(kept);
        TWAIN_ClearDibList();
        for (const char *v : {"TWAINSPECIMEN_FAULTS", "TWAINSPECIMEN_PAGES", "TWAINSPECIMEN_CONTAINER"})
            qunsetenv(v);
        twain::ResetSessionForTests();
    }
    /// Acquires and keeps the returned DIB for freeing.
    TWAIN_HDIB acquire(int32_t mask = TWAIN_ANYTYPE)
    {
        kept = TWAIN_AcquireNative(0, mask);
        return kept;
    }
    QStringList boxTexts() const
    {
        QStringList t;
        for (const auto &c : boxes.calls)
            t << c.text;
        return t;
    }

    TWAIN_HDIB kept = nullptr;
    r9test::MessageBoxRecorder boxes;
};

TEST_F(SpecimenSourceTest, TheManagerIsFoundAndDeliversASpecimenPage)
{
    EXPECT_TRUE(TWAIN_IsAvailable());
    TWAIN_HDIB dib = acquire();
    ASSERT_NE(dib, nullptr) << boxTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(TWAIN_DibDepth(dib), 24);
    EXPECT_GT(TWAIN_DibWidth(dib), 100);
    EXPECT_GT(TWAIN_DibHeight(dib), 100);
    EXPECT_EQ(TWAIN_GetNumDibs(), 1);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_TRUE(boxes.calls.empty());
    // The page is a picture, not a blank: it draws with more than one colour.
    ui::TPictureBox box;
    CopyDIBIntoImage(dib, &box);
    const QImage page = box.Picture();
    QSet<QRgb> colours;
    for (int y = 0; y < page.height(); y += 7)
        for (int x = 0; x < page.width(); x += 7)
            colours.insert(page.pixel(x, y));
    EXPECT_GT(colours.size(), 10);
}

TEST_F(SpecimenSourceTest, ThePackageFreesWhatTheSourceAllocated)
{
    // The source's copy of the memory module made the block; the package's
    // copy knows it as live, frees it, and then refuses it untouched.
    TWAIN_HDIB dib = acquire();
    ASSERT_NE(dib, nullptr);
    const int width = TWAIN_DibWidth(dib);
    ASSERT_GT(width, 0);
    EXPECT_GT(GlobalSize(dib), std::size_t(width));
    TWAIN_ClearDibList();
    kept = nullptr;
    TWAIN_FreeNative(dib);
    EXPECT_EQ(GlobalSize(dib), 0u);
    EXPECT_EQ(TWAIN_DibWidth(dib), 0);
    EXPECT_EQ(GlobalFree(dib), dib);
}

TEST_F(SpecimenSourceTest, ThePixelTypeMaskChoosesTheDibsDepth)
{
    struct Case
    {
        int32_t mask;
        int depth;
        int colours;
    };
    for (const Case c : {Case{TWAIN_BW, 1, 2}, Case{TWAIN_GRAY, 8, 256}, Case{TWAIN_RGB, 24, 0},
                         Case{TWAIN_PALETTE, 8, -1}, Case{TWAIN_GRAY | TWAIN_BW, 1, 2}}) {
        SCOPED_TRACE(c.mask);
        TWAIN_FreeNative(kept);
        TWAIN_HDIB dib = acquire(c.mask);
        ASSERT_NE(dib, nullptr);
        EXPECT_EQ(TWAIN_DibDepth(dib), c.depth);
        if (c.colours >= 0)
            EXPECT_EQ(TWAIN_DibNumColors(dib), c.colours);
        else
            EXPECT_GT(TWAIN_DibNumColors(dib), 1);
    }
}

TEST_F(SpecimenSourceTest, EveryContainerKindIsHandledOrRefused)
{
    struct Case
    {
        const char *container;
        bool delivers;
        int error;
    };
    for (const Case c : {Case{"enumeration", true, 0}, Case{"array", true, 0}, Case{"onevalue", false, 13},
                         Case{"wrong", false, 10}}) {
        SCOPED_TRACE(c.container);
        qputenv("TWAINSPECIMEN_CONTAINER", c.container);
        boxes.calls.clear();
        TWAIN_FreeNative(kept);
        EXPECT_EQ(acquire(TWAIN_GRAY) != nullptr, c.delivers);
        EXPECT_EQ(twain::session().errorCode, c.error);
        EXPECT_EQ(boxTexts().size(), c.delivers ? 0 : 1);
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    }
    // A one-value that names a type of the mask is accepted as it is.
    qputenv("TWAINSPECIMEN_CONTAINER", "onevalue");
    TWAIN_FreeNative(kept);
    EXPECT_NE(acquire(TWAIN_RGB), nullptr);
}

TEST_F(SpecimenSourceTest, SeveralPagesPerEnablingAreAllListed)
{
    qputenv("TWAINSPECIMEN_PAGES", "3");
    TWAIN_HDIB dib = acquire();
    ASSERT_NE(dib, nullptr);
    ASSERT_EQ(TWAIN_GetNumDibs(), 3);
    EXPECT_EQ(TWAIN_GetDib(2), dib);
    EXPECT_NE(FromBlock(TWAIN_GetDib(0)), FromBlock(TWAIN_GetDib(1)));
}

TEST_F(SpecimenSourceTest, FaultSwitchesInTheScanKeepThePagesThatArrivedAndTellAFailure)
{
    struct Case
    {
        const char *fault;
        int pages;
        int listed;
        bool picture; ///< the last page that arrived is the acquisition's picture
        bool told;    ///< a failed transfer with no page is reported once
    };
    for (const Case c : {Case{"closedsreq", 1, 0, false, false}, Case{"cancel", 2, 0, false, false},
                         Case{"failxfer", 1, 0, false, true}, Case{"shortpages", 2, 2, true, false}}) {
        SCOPED_TRACE(c.fault);
        qputenv("TWAINSPECIMEN_FAULTS", c.fault);
        qputenv("TWAINSPECIMEN_PAGES", QByteArray::number(c.pages));
        for (int i = 0; i < TWAIN_GetNumDibs(); ++i)
            TWAIN_FreeNative(TWAIN_GetDib(i));
        TWAIN_ClearDibList();
        boxes.calls.clear();
        const TWAIN_HDIB dib = acquire();
        EXPECT_EQ(TWAIN_GetNumDibs(), c.listed);
        if (c.picture) {
            EXPECT_EQ(dib, TWAIN_GetDib(c.listed - 1));
        } else {
            EXPECT_EQ(dib, nullptr);
        }
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
        EXPECT_EQ(boxTexts(), c.told ? QStringList{QStringLiteral("TWAIN_ReportLastError: an error occurred")}
                                     : QStringList());
    }
}

TEST_F(SpecimenSourceTest, ASourceThatFailsBeforeScanningIsReported)
{
    struct Case
    {
        const char *fault;
        int error;
        TW_UINT16 condition;
    };
    for (const Case c : {Case{"openfails", 4, TWCC_OPERATIONERROR}, Case{"capsfail", 2, TWCC_BUMMER},
                         Case{"enablefails", 5, TWCC_OPERATIONERROR}}) {
        SCOPED_TRACE(c.fault);
        qputenv("TWAINSPECIMEN_FAULTS", c.fault);
        boxes.calls.clear();
        EXPECT_EQ(acquire(TWAIN_GRAY), nullptr);
        EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("TWAIN_ReportLastError: an error occurred")});
        EXPECT_EQ(twain::session().errorCode, c.error);
        EXPECT_EQ(twain::session().errorResult, TWRC_FAILURE);
        EXPECT_EQ(twain::session().errorCondition, c.condition);
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    }
}

TEST_F(SpecimenSourceTest, WithItsDialogTheSourceScansWhenTheOperatorSaysSo)
{
    TWAIN_SetHideUI(0);
    {
        DialogPresser press(QStringLiteral("bScan"));
        EXPECT_NE(acquire(), nullptr);
        EXPECT_TRUE(press.seen);
    }
    TWAIN_FreeNative(kept);
    kept = nullptr;
    {
        DialogPresser press(QStringLiteral("bCancel"));
        EXPECT_EQ(acquire(), nullptr);
        EXPECT_TRUE(press.seen);
    }
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->objectName() == QLatin1String("SpecimenScanDialog") && w->isVisible());
}

TEST_F(SpecimenSourceTest, CapabilitiesAreNegotiatedInStateFour)
{
    ASSERT_NE(acquire(), nullptr);
    const int fullWidth = TWAIN_DibWidth(kept);
    TWAIN_FreeNative(kept);
    kept = nullptr;
    TWAIN_ClearDibList();

    ASSERT_TRUE(TWAIN_OpenSourceManager(0));
    ASSERT_TRUE(TWAIN_OpenDefaultSource());
    EXPECT_STREQ(twain::session().sourceId.ProductName, SpecimenName);
    EXPECT_EQ(TWAIN_GetPixelType(), TWPT_RGB);
    EXPECT_EQ(TWAIN_GetBitDepth(), 24);
    EXPECT_EQ(TWAIN_GetCurrentUnits(), TWUN_INCHES);
    EXPECT_DOUBLE_EQ(TWAIN_GetCurrentResolution(), 300.0);

    EXPECT_TRUE(TWAIN_SetCurrentPixelType(TWPT_GRAY));
    EXPECT_EQ(TWAIN_GetPixelType(), TWPT_GRAY);
    EXPECT_EQ(TWAIN_GetBitDepth(), 8);
    EXPECT_FALSE(TWAIN_SetBitDepth(24));
    EXPECT_EQ(TWAIN_GetConditionCode(), TWCC_BADVALUE);
    EXPECT_TRUE(TWAIN_SetCurrentUnits(TWUN_CENTIMETERS));
    EXPECT_EQ(TWAIN_GetCurrentUnits(), TWUN_CENTIMETERS);
    EXPECT_TRUE(TWAIN_SetCurrentResolution(150.0));
    EXPECT_DOUBLE_EQ(TWAIN_GetCurrentResolution(), 150.0);
    EXPECT_TRUE(TWAIN_NegotiateXferCount(2));

    // The current value in an enumeration is read too.
    qputenv("TWAINSPECIMEN_CONTAINER", "enumeration");
    EXPECT_EQ(TWAIN_GetCurrentUnits(), TWUN_CENTIMETERS);

    qputenv("TWAINSPECIMEN_PAGES", "5");
    ASSERT_TRUE(TWAIN_EnableSource(0));
    EXPECT_FALSE(TWAIN_SetCurrentUnits(TWUN_INCHES));
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("Attempt to set capability outside State 4.")});
    TWAIN_ModalEventLoop();
    kept = twain::session().lastNative;
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(TWAIN_GetNumDibs(), 2); // the transfer count limits the pages
    EXPECT_EQ(TWAIN_DibDepth(kept), 8);
    EXPECT_NEAR(TWAIN_DibWidth(kept), fullWidth / 2, 1); // 150 dpi instead of 300
    EXPECT_TRUE(TWAIN_CloseSourceManager(0));
    EXPECT_TRUE(TWAIN_UnloadSourceManager());
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
}

TEST_F(SpecimenSourceTest, TheChosenSourceBecomesTheRememberedDefault)
{
    const QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source");
    QFile::remove(file);
    const TwainDsmSelectHook previous = SetSelectHook(&SelectLog::choose);
    SelectLog::answer = -1;
    EXPECT_FALSE(TWAIN_SelectImageSource(0));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_NE(std::find(SelectLog::names.begin(), SelectLog::names.end(), SpecimenName), SelectLog::names.end());

    SelectLog::answer = -2; // choose the specimen scanner
    EXPECT_TRUE(TWAIN_SelectImageSource(0));
    EXPECT_EQ(r9test::ReadFile(file).trimmed(), QByteArray(SpecimenName));
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);

    EXPECT_TRUE(TWAIN_SelectImageSource(0));
    EXPECT_EQ(SelectLog::names[std::size_t(SelectLog::defaultIndex)], SpecimenName);
    SetSelectHook(previous);
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(SpecimenSourceTest, ASourceThatRefusedTheFreshListingKeepsNoConditionFromIt)
{
    // Listing asks every source library for its list of devices, and opening
    // the source list asks it to list afresh; the specimen source knows
    // neither request and refuses both. Its condition code must not stand
    // for the next operation, which succeeds.
    const TwainDsmSelectHook previous = SetSelectHook(&SelectLog::choose);
    SelectLog::answer = -2; // choose the specimen scanner
    ASSERT_TRUE(TWAIN_SelectImageSource(0));
    SetSelectHook(previous);
    ASSERT_TRUE(TWAIN_OpenSourceManager(0));
    ASSERT_TRUE(TWAIN_OpenDefaultSource());
    EXPECT_EQ(TWAIN_GetPixelType(), TWPT_RGB);
    TW_STATUS status{};
    status.ConditionCode = 0xFFFF;
    ASSERT_TRUE(TWAIN_DS(DG_CONTROL, DAT_STATUS, MSG_GET, &status));
    EXPECT_EQ(status.ConditionCode, TWCC_SUCCESS);
    EXPECT_TRUE(TWAIN_CloseSourceManager(0));
    EXPECT_TRUE(TWAIN_UnloadSourceManager());
}

TEST_F(SpecimenSourceTest, ARememberedSourceThatIsMissingIsNotReplacedByAnother)
{
    // The operator's scanner is switched off: no other source, least of all
    // the specimen scanner, delivers the document in its place.
    const QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source");
    r9test::WriteFile(file, "SANE: Canon LiDE 110\n");
    EXPECT_EQ(acquire(), nullptr);
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(twain::session().errorCode, 4);
    EXPECT_EQ(twain::session().errorCondition, TWCC_NODS);
    // One box, the layer's, in the words the manager has for it: they name the scanner.
    EXPECT_EQ(boxTexts(),
              QStringList{QStringLiteral("Сканер «SANE: Canon LiDE 110» не найден. Проверьте, что он подключён "
                                         "и включён, или выберите другой сканер в списке источников.")});
    EXPECT_EQ(ScannerNotices(), QStringList());

    ASSERT_TRUE(TWAIN_OpenSourceManager(0));
    TW_IDENTITY id{};
    EXPECT_FALSE(TWAIN_Mgr(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &id));
    EXPECT_EQ(TWAIN_GetConditionCode(), TWCC_NODS);
    // Without a remembered source the first one found is the default.
    QFile::remove(file);
    EXPECT_TRUE(TWAIN_Mgr(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &id));
    TW_IDENTITY first{};
    EXPECT_TRUE(TWAIN_Mgr(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &first));
    EXPECT_STREQ(id.ProductName, first.ProductName);
    ASSERT_TRUE(TWAIN_OpenDefaultSource());
    EXPECT_STREQ(twain::session().sourceId.ProductName, first.ProductName);
    EXPECT_TRUE(TWAIN_CloseSourceManager(0));
    EXPECT_TRUE(TWAIN_UnloadSourceManager());
    EXPECT_EQ(ScannerNotices(), QStringList());
}

TEST_F(SpecimenSourceTest, TheSelectionDialogListsTheSourcesAndCanBeCancelled)
{
    const TwainDsmSelectHook previous = SetSelectHook(nullptr);
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept);
        QStringList listed;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *dialog = qobject_cast<QDialog *>(w);
                if (!dialog || dialog->objectName() != QLatin1String("SelectSourceDialog") || !dialog->isVisible())
                    continue;
                timer.stop();
                auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lbSources"));
                // The operator searches again: the list is filled afresh, not doubled.
                const int before = list ? list->count() : 0;
                if (auto *search = dialog->findChild<QPushButton *>(QStringLiteral("bSearchAgain")))
                    EXPECT_TRUE(r9test::MouseClick(search));
                else
                    ADD_FAILURE() << "no search";
                EXPECT_EQ(list ? list->count() : 0, before);
                for (int i = 0; list && i < list->count(); ++i)
                    listed << list->item(i)->text();
                if (accept)
                    dialog->accept();
                else
                    dialog->reject();
            }
        });
        timer.start(1);
        EXPECT_EQ(TWAIN_SelectImageSource(0) != 0, accept);
        EXPECT_TRUE(listed.contains(QLatin1String(SpecimenName)));
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    }
    SetSelectHook(previous);
}

TEST_F(SpecimenSourceTest, ALibraryThatIsNoDataSourceIsSkipped)
{
    // The folder the environment names holds something that is no library.
    const QString extra = r9test::TestHome() + QStringLiteral("/sources");
    QDir().mkpath(extra);
    r9test::WriteFile(extra + QStringLiteral("/libbroken.so"), "not a library");
    qputenv(TWAINDSM_SOURCES_ENV, extra.toLocal8Bit());
    const TwainDsmSelectHook previous = SetSelectHook(&SelectLog::choose);
    SelectLog::answer = -1;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(TWAIN_SelectImageSource(0));
    EXPECT_FALSE(TWAIN_SelectImageSource(0));
    const QStringList log = QString::fromStdString(testing::internal::GetCapturedStderr()).split(QLatin1Char('\n'));
    EXPECT_NE(std::find(SelectLog::names.begin(), SelectLog::names.end(), SpecimenName), SelectLog::names.end());
    SetSelectHook(previous);
    qunsetenv(TWAINDSM_SOURCES_ENV);
    // Why it was skipped is logged, naming the library and the loader's
    // reason, once for the two lists of sources made.
    const QStringList lines = log.filter(QStringLiteral("libbroken.so"));
    ASSERT_EQ(lines.size(), 1) << log.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("twaindsm: cannot load the source ") + extra + QStringLiteral("/libbroken.so: ")))
        << lines[0].toStdString();
    EXPECT_GT(lines[0].size(), lines[0].indexOf(QStringLiteral(".so: ")) + 5) << "the loader's reason follows";
}

TEST_F(SpecimenSourceTest, TheSourcesWindowTakesTheOperatorsInputWhileTheCallersWindowIsModal)
{
    // A host shows its form modally and the form acquires with its own
    // window (or, as a C host does, with none): the scanner's window must
    // take the operator's mouse and keys all the same.
    TWAIN_SetHideUI(0);
    enum class Named {
        Own,     ///< the caller's modal window
        None,    ///< no window: the layer's proxy window, blocked like the rest
        Foreign, ///< a window that is no widget of this process
    };
    struct Case
    {
        const char *name;
        Named window;
        const char *button; ///< clicked with the mouse; null: the key is pressed
        int key;
        bool picture;
    };
    for (const Case c : {Case{"mouse on Scan", Named::Own, "bScan", 0, true},
                         Case{"mouse on Cancel", Named::Own, "bCancel", 0, false},
                         Case{"Return", Named::Own, nullptr, Qt::Key_Return, true},
                         Case{"Escape", Named::Own, nullptr, Qt::Key_Escape, false},
                         Case{"mouse on Scan, no window", Named::None, "bScan", 0, true},
                         Case{"Escape, no window", Named::None, nullptr, Qt::Key_Escape, false},
                         Case{"Return, foreign window", Named::Foreign, nullptr, Qt::Key_Return, true}}) {
        SCOPED_TRACE(c.name);
        TWAIN_FreeNative(kept);
        kept = nullptr;
        bool tookInput = false;
        r9test::WindowOperator op("SpecimenScanDialog", [&](QWidget *dialog) {
            tookInput = c.button ? r9test::MouseClick(dialog->findChild<QPushButton *>(QLatin1String(c.button)))
                                 : r9test::KeyPress(dialog, c.key);
            if (!tookInput) // a blocked window: end the acquisition as the test can
                dialog->findChild<QPushButton *>(QLatin1String(c.picture ? "bScan" : "bCancel"))->click();
        });
        QDialog caller;
        r9test::RunInModalWindow(caller, [&] {
            if (c.window != Named::Foreign) {
                kept = TWAIN_AcquireNative(c.window == Named::Own ? TWAIN_HWND(caller.winId()) : 0, TWAIN_ANYTYPE);
                return;
            }
            // A host without Qt widgets drives the session itself with a
            // window of its own.
            if (TWAIN_OpenSourceManager(0) && TWAIN_OpenDefaultSource() && TWAIN_EnableSource(0x7F00001)) {
                TWAIN_ModalEventLoop();
                kept = twain::session().lastNative;
            }
            TWAIN_CloseSourceManager(0);
            TWAIN_UnloadSourceManager();
        });
        EXPECT_EQ(op.seen(), 1);
        EXPECT_TRUE(tookInput) << "the scanner's window was blocked by the caller's";
        EXPECT_EQ(kept != nullptr, c.picture);
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
        EXPECT_TRUE(boxes.calls.empty());
    }
}

TEST_F(SpecimenSourceTest, TheBoxOfAMissingScannerTakesTheOperatorsInputWhileTheCallersWindowIsModal)
{
    // The remembered scanner is missing: the one box that says so, owned by
    // the window the caller acquired with, is closed with the mouse.
    r9test::WriteFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source"),
                      "SANE: Canon LiDE 110\n");
    const ui::MessageBoxHook recorder = ui::SetMessageBoxHook({});
    QDialog caller;
    QWidget *owner = nullptr;
    bool closedByTheOperator = false;
    QTimer person;
    QObject::connect(&person, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); box && !owner) {
            owner = box->parentWidget();
            closedByTheOperator = r9test::MouseClick(box->button(QMessageBox::Ok));
            if (!closedByTheOperator)
                box->reject();
        }
    });
    person.start(10);
    r9test::RunInModalWindow(caller, [&] { kept = TWAIN_AcquireNative(TWAIN_HWND(caller.winId()), TWAIN_ANYTYPE); });
    ui::SetMessageBoxHook(recorder);
    EXPECT_EQ(kept, nullptr);
    EXPECT_EQ(owner, &caller);
    EXPECT_TRUE(closedByTheOperator) << "the box was blocked by the caller's window";
    EXPECT_EQ(ScannerNotices(), QStringList());
}

TEST_F(SpecimenSourceTest, TheSelectionDialogTakesTheOperatorsInputWhileTheCallersWindowIsModal)
{
    const TwainDsmSelectHook previous = SetSelectHook(nullptr);
    QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source"));
    bool tookInput = false;
    r9test::WindowOperator op("SelectSourceDialog", [&](QWidget *w) {
        auto *dialog = static_cast<QDialog *>(w);
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lbSources"));
        const QList<QListWidgetItem *> found = list->findItems(QLatin1String(SpecimenName), Qt::MatchExactly);
        if (!found.isEmpty()) {
            list->scrollToItem(found.first());
            r9test::MouseClick(list->viewport(), list->visualItemRect(found.first()).center());
        }
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        tookInput = !found.isEmpty() && list->currentItem() == found.first()
                    && r9test::MouseClick(buttons->button(QDialogButtonBox::Ok));
        if (!tookInput)
            dialog->reject();
    });
    QDialog caller;
    TWAIN_BOOL chosen = 0;
    r9test::RunInModalWindow(caller, [&] { chosen = TWAIN_SelectImageSource(TWAIN_HWND(caller.winId())); });
    SetSelectHook(previous);
    EXPECT_EQ(op.seen(), 1);
    EXPECT_TRUE(tookInput) << "the selection dialog was blocked by the caller's window";
    EXPECT_TRUE(chosen);
    EXPECT_EQ(r9test::ReadFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source")).trimmed(),
              QByteArray(SpecimenName));
}

} // namespace
