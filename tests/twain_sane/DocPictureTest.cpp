// The document-picture window end to end on a SANE device: "Сканировать"
// opens the SANE source's own window, the operator presses "Scan", and the
// window shows the page the device scanned.
#include "SaneFixture.h"

#include "twain/engDocFromScanner9r_FM.h"
#include "ui/TPictureBox.h"

#include <QAction>
#include <QCheckBox>

using namespace sanetest;

TEST_F(SaneSourceTest, TheDocumentPictureWindowScansFromTheSaneDevice)
{
    const QImage reference = ReferenceScan(BaseOptions() + QStringList{QStringLiteral("mode=Color"),
                                                                       QStringLiteral("depth=8")});
    ASSERT_FALSE(reference.isNull());
    TDocFromScannerFM form;
    form.show();
    form.cxShowScanerList->setChecked(false); // straight to the default source: the SANE device
    DialogOperator op({{[](QWidget *) { return true; }, [](QWidget *d) { Click(d, "bScan"); }}});
    form.bScanTestClick();
    EXPECT_EQ(op.stepsDone(), 1u);
    const QImage shown = form.imgWorkTest->Picture();
    ASSERT_EQ(shown.size(), reference.size());
    EXPECT_TRUE(shown.convertToFormat(QImage::Format_RGB888) == reference);
    form.ActionListUpdate();
    EXPECT_TRUE(form.acSave->isEnabled());
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(ScanDialogShown(), nullptr);
    form.done(2);
}
