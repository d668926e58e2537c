// The SANE source's window and its notices to the operator take the mouse
// and the keys while the caller's window is modal, as the document-picture
// form is in the host: the input goes through the window system, where Qt
// keeps it from every window a modal window blocks.
#include "support/SaneFixture.h"

#include "components/twaindsm/source/OperatorNotice.h"
#include "support/OperatorInput.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

using namespace sanetest;

namespace {

/// Input the source's window did not take: worked by code instead, so that
/// the acquisition ends and the test can tell.
struct Input
{
    bool lost = false;
    void click(QWidget *dialog, const char *button)
    {
        if (!r9test::MouseClick(dialog->findChild<QPushButton *>(QLatin1String(button)))) {
            lost = true;
            Click(dialog, button);
        }
    }
    void key(QWidget *dialog, int key, const char *sameAs)
    {
        if (!r9test::KeyPress(dialog, key)) {
            lost = true;
            Click(dialog, sameAs);
        }
    }
};

QProgressBar *progress(QWidget *dialog)
{
    return dialog->findChild<QProgressBar *>(QStringLiteral("pbProgress"));
}

/// The notice on the screen, if one shows.
QMessageBox *noticeShown()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(twaindsm::NoticeName) && w->isVisible())
            return qobject_cast<QMessageBox *>(w);
    return nullptr;
}

} // namespace

TEST_F(SaneSourceTest, TheSourcesWindowTakesTheOperatorsInputWhileTheCallersWindowIsModal)
{
    TWAIN_SetHideUI(0);
    struct Case
    {
        const char *name;
        bool namesItsWindow;
        bool slow; ///< a page of many pieces held back: the operator meets it under way
        std::function<std::vector<DialogOperator::Step>(Input &)> steps;
        bool picture;
    };
    const auto always = [](QWidget *) { return true; };
    const auto reading = [](QWidget *d) { return progress(d)->isVisible() && progress(d)->value() > 0; };
    const auto idle = [](QWidget *d) { return !progress(d)->isVisible(); };
    const Case cases[] = {
        {"mouse on Scan", true, false, [&](Input &in) {
             return std::vector<DialogOperator::Step>{{always, [&in](QWidget *d) { in.click(d, "bScan"); }}};
         }, true},
        {"Return", true, false, [&](Input &in) {
             return std::vector<DialogOperator::Step>{
                 {always, [&in](QWidget *d) { in.key(d, Qt::Key_Return, "bScan"); }}};
         }, true},
        {"Escape", true, false, [&](Input &in) {
             return std::vector<DialogOperator::Step>{
                 {always, [&in](QWidget *d) { in.key(d, Qt::Key_Escape, "bCancel"); }}};
         }, false},
        {"mouse on Cancel while SANE reads, then Escape", true, true, [&](Input &in) {
             return std::vector<DialogOperator::Step>{
                 {always, [&in](QWidget *d) { in.click(d, "bScan"); }},
                 {reading, [&in](QWidget *d) { in.click(d, "bCancel"); }},
                 {idle, [&in](QWidget *d) { in.key(d, Qt::Key_Escape, "bCancel"); }}};
         }, false},
        {"mouse on Scan, no window named", false, false, [&](Input &in) {
             return std::vector<DialogOperator::Step>{{always, [&in](QWidget *d) { in.click(d, "bScan"); }}};
         }, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setSourceOptions(BaseOptions() + (c.slow ? SlowReads() : QStringList()));
        freePictures();
        Input input;
        std::vector<DialogOperator::Step> steps = c.steps(input);
        const std::size_t stepCount = steps.size();
        DialogOperator op(std::move(steps));
        QDialog caller;
        r9test::RunInModalWindow(caller, [&] {
            kept = TWAIN_AcquireNative(c.namesItsWindow ? TWAIN_HWND(caller.winId()) : 0, TWAIN_RGB);
        });
        EXPECT_EQ(op.stepsDone(), stepCount);
        EXPECT_FALSE(input.lost) << "the scanner's window was blocked by the caller's";
        EXPECT_EQ(kept != nullptr, c.picture);
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
        EXPECT_EQ(ScanDialogShown(), nullptr);
    }
}

TEST_F(SaneSourceTest, TheScannersNoticesTakeTheOperatorsInputWhileTheCallersWindowIsModal)
{
    struct Case
    {
        const char *name;
        std::function<void()> arrange;
        bool picture;
        bool byTheLayer = false; ///< told in the layer's one box, owned by the caller's window
    };
    const Case cases[] = {
        // A jam after two sheets of the feeder: the fault outlives the dialog.
        {"a fault after some pages", [this] {
             setSourceOptions(BaseOptions() + QStringList{QStringLiteral("source=Automatic Document Feeder")});
             qputenv("TWAINSANE_JAM_AFTER", "2");
         }, true},
        // The second device has gone when it is opened: no window is known yet.
        {"a device that would not open", [] {
             qunsetenv("TWAINSANE_JAM_AFTER");
             r9test::WriteFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source"),
                               QByteArray(SecondSource) + '\n');
         }, false, true},
    };
    // The list of sources is made while both devices are there.
    ASSERT_NE(acquire(TWAIN_GRAY), nullptr);
    configureBackend({QStringLiteral("number_of_devices 1")});
    TWAIN_SetHideUI(0);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        freePictures();
        Input input;
        DialogOperator op({{[](QWidget *) { return true; }, [&input](QWidget *d) { input.click(d, "bScan"); }}});
        QDialog caller;
        bool closedByTheOperator = false;
        boxes.calls.clear();
        r9test::RunInModalWindow(caller, [&] {
            kept = TWAIN_AcquireNative(TWAIN_HWND(caller.winId()), TWAIN_RGB);
            QMessageBox *notice = noticeShown();
            if (c.byTheLayer) {
                EXPECT_EQ(notice, nullptr);
                ASSERT_EQ(boxes.calls.size(), 1u);
                closedByTheOperator = boxes.calls[0].owner == &caller;
                return;
            }
            ASSERT_NE(notice, nullptr);
            closedByTheOperator = r9test::MouseClick(notice->button(QMessageBox::Ok));
            if (!closedByTheOperator)
                delete notice;
        });
        EXPECT_FALSE(input.lost) << "the scanner's window was blocked by the caller's";
        EXPECT_TRUE(closedByTheOperator) << "the notice was blocked by the caller's window";
        EXPECT_EQ(noticeShown(), nullptr);
        EXPECT_EQ(kept != nullptr, c.picture);
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    }
}
