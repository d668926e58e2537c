// The document-picture window end to end on a SANE device: "Сканировать"
// opens the SANE source's own window, the operator presses its
// "Сканировать", and the window shows the page the device scanned. The
// window's busy cursor does not cover the source's window while it waits
// for the operator.
#include "support/SaneFixture.h"

#include "twain/engDocFromScanner9r_FM.h"
#include "ui/TPictureBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <vector>

using namespace sanetest;

TEST_F(SaneSourceTest, TheDocumentPictureWindowScansFromTheSaneDevice)
{
    const QImage reference = ReferenceScan(BaseOptions() + QStringList{QStringLiteral("mode=Color"),
                                                                       QStringLiteral("depth=8")});
    ASSERT_FALSE(reference.isNull());
    TDocFromScannerFM form;
    form.show();
    form.cxShowScanerList->setChecked(false); // straight to the default source: the SANE device
    std::vector<Qt::CursorShape> cursors;
    auto noteCursor = [&cursors] {
        cursors.push_back(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::BlankCursor);
    };
    DialogOperator op({{[](QWidget *) { return true; },
                        [&](QWidget *d) {
                            noteCursor();
                            Click(d, "bScan");
                            noteCursor();
                        }}});
    form.bScanTestClick();
    EXPECT_EQ(op.stepsDone(), 1u);
    // The arrow while the operator is asked, the hourglass while the scanner
    // works, and nothing of either once the scan is over.
    EXPECT_EQ(cursors, (std::vector<Qt::CursorShape>{Qt::ArrowCursor, Qt::WaitCursor}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const QImage shown = form.imgWorkTest->Picture();
    ASSERT_EQ(shown.size(), reference.size());
    EXPECT_TRUE(shown.convertToFormat(QImage::Format_RGB888) == reference);
    form.ActionListUpdate();
    EXPECT_TRUE(form.acSave->isEnabled());
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(ScanDialogShown(), nullptr);
    form.done(2);
}
