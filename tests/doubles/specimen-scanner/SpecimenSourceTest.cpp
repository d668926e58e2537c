// The specimen scanner end to end: the package's TWAIN layer, the source
// manager (libtwaindsm.so beside the test) and the specimen data source from
// the manager's twain/ folder.
#include "support/DibBuilder.h"
#include "support/OperatorInput.h"
#include "support/SpecimenSourceFixture.h"
#include "support/TestSupport.h"
#include "platform/GlobalMemory.h"
#include "twain/MultiTWAIN_p.h"
#include "ui/TPictureBox.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <gtest/gtest.h>

using namespace twaintest;

namespace {

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


} // namespace
