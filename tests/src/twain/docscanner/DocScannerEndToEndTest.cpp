// The document-picture window through the real TWAIN layer, the stand-in
// source manager beside the test and its specimen scanner, answered as an
// operator answers the scanner's own dialog.
#include "common/engCommon9r.h"
#include "support/OperatorInput.h"
#include "support/TestSupport.h"
#include "twain/engDocFromScanner9r_FM.h"
#include "ui/TPictureBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <gtest/gtest.h>

using namespace r9test;

namespace {

/// Presses a button of the specimen scanner's dialog whenever it shows; a
/// dialog still up after its answer (the scanner failed and waits) is closed
/// with its Cancel, as a person gives up.
class ScannerOperator : public QObject
{
public:
    explicit ScannerOperator(const char *button) : m_button(button)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (!w->isVisible() || w->objectName() != QLatin1String("SpecimenScanDialog"))
                    continue;
                const bool again = w == m_answered;
                if (again && ++m_waited < 20)
                    continue;
                if (auto *b = w->findChild<QPushButton *>(QLatin1String(again ? "bCancel" : m_button))) {
                    if (!again)
                        ++dialogs;
                    m_answered = w;
                    m_waited = 0;
                    b->click();
                }
            }
        });
        m_timer.start(10);
    }
    int dialogs = 0;

private:
    const char *m_button;
    QPointer<QWidget> m_answered;
    int m_waited = 0;
    QTimer m_timer;
};

class DocScannerEndToEndTest : public testing::Test
{
protected:
    void SetUp() override
    {
        gl_sRecognizeIniFileName = TestHome() + QStringLiteral("/Recognize.iniu");
        clearEnv();
        form = TDocFromScannerFM_Create(nullptr);
        form->show();
        form->cxShowScanerList->setChecked(false); // the default source: the specimen scanner
    }
    void TearDown() override
    {
        delete form;
        clearEnv();
        QFile::remove(rememberedSource());
    }
    /// The scanner the source manager takes for the default source.
    static QString rememberedSource()
    {
        return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source");
    }
    static void clearEnv()
    {
        for (const char *v : {"TWAINSPECIMEN_FAULTS", "TWAINSPECIMEN_PAGES", "TWAINSPECIMEN_PIXELTYPE"})
            qunsetenv(v);
    }
    QImage Scan(const char *button = "bScan")
    {
        ScannerOperator person(button);
        form->bScanTestClick();
        EXPECT_EQ(person.dialogs, 1) << "the scanner shows its own dialog";
        EXPECT_EQ(TWAIN_GetNumDibs(), 0) << "no page stays behind in the layer";
        return form->imgWorkTest->Picture();
    }
    static QSet<QRgb> colours(const QImage &image)
    {
        QSet<QRgb> set;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                set.insert(image.pixel(x, y) & 0xFFFFFFu);
        return set;
    }

    TDocFromScannerFM *form = nullptr;
    MessageBoxRecorder boxes;
};

TEST_F(DocScannerEndToEndTest, EveryPixelTypeBecomesAnOrdinaryPicture)
{
    struct Case { const char *type; int maxColours; };
    QSize size;
    for (const Case c : {Case{"rgb", 1 << 24}, Case{"gray", 256}, Case{"palette", 256}, Case{"bw", 2}}) {
        qputenv("TWAINSPECIMEN_PIXELTYPE", c.type);
        const QImage picture = Scan();
        ASSERT_FALSE(picture.isNull()) << c.type;
        EXPECT_EQ(picture.format(), QImage::Format_RGB32) << c.type;
        if (size.isValid()) {
            EXPECT_EQ(picture.size(), size) << "each scan starts with the same specimen page: " << c.type;
        }
        size = picture.size();
        const QSet<QRgb> seen = colours(picture);
        EXPECT_GT(seen.size(), 1) << c.type << ": not a blank page";
        EXPECT_LE(seen.size(), c.maxColours) << c.type;
        if (QByteArray(c.type) == "gray") {
            for (QRgb rgb : seen) {
                EXPECT_TRUE(qRed(rgb) == qGreen(rgb) && qGreen(rgb) == qBlue(rgb)) << c.type;
            }
        }
    }
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(DocScannerEndToEndTest, SeveralPagesLeaveTheLastOne)
{
    qputenv("TWAINSPECIMEN_PAGES", "3");
    const QImage three = Scan();
    ASSERT_FALSE(three.isNull());
    // Every acquisition starts the feeder again: one page is the first page,
    // which the three-page run must not have kept.
    qputenv("TWAINSPECIMEN_PAGES", "1");
    const QImage first = Scan();
    ASSERT_FALSE(first.isNull());
    EXPECT_NE(three, first);
}

TEST_F(DocScannerEndToEndTest, CancelAndFailedTransferKeepThePreviousPicture)
{
    const QImage first = Scan();
    ASSERT_FALSE(first.isNull());
    form->sbTurnRightClick();
    const QImage turned = form->imgWorkTest->Picture();

    Scan("bCancel");
    EXPECT_EQ(form->imgWorkTest->Picture(), turned);
    EXPECT_EQ(form->imgTempTest->Picture(), first);
    EXPECT_EQ(form->imgTempTest->Tag(), 1);

    EXPECT_TRUE(boxes.calls.empty()) << "a cancel is the operator's own";

    qputenv("TWAINSPECIMEN_FAULTS", "failxfer");
    Scan();
    EXPECT_EQ(form->imgWorkTest->Picture(), turned);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(boxes.calls.size(), 1u) << "the failed scan is reported once";
    EXPECT_EQ(boxes.calls[0].text, QStringLiteral("TWAIN_ReportLastError: an error occurred"));
}

TEST_F(DocScannerEndToEndTest, AMissingRememberedScannerIsOneModalBoxOfTheWindow)
{
    QDir().mkpath(QFileInfo(rememberedSource()).path());
    WriteFile(rememberedSource(), "SANE: Canon LiDE 110\n");
    // The boxes as the operator meets them: each is answered with Enter,
    // the window behind first.
    const ui::MessageBoxHook recorder = ui::SetMessageBoxHook({});
    QStringList seen;
    bool ownedAndFocused = false, windowTookAKey = false;
    QPointer<QWidget> last;
    int waited = 0;
    QTimer person;
    QObject::connect(&person, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box == last)
            return;
        // The window system gives a new window the focus in its own time.
        if (!box->isActiveWindow() && ++waited < 100)
            return;
        last = box;
        waited = 0;
        seen << box->text();
        ownedAndFocused = box->parentWidget() == form && box->isActiveWindow();
        windowTookAKey = windowTookAKey || KeyPress(form, Qt::Key_Return);
        KeyPress(box, Qt::Key_Return);
    });
    person.start(10);
    form->bScanTestClick();
    ui::SetMessageBoxHook(recorder);
    EXPECT_EQ(seen, QStringList{QStringLiteral("Сканер «SANE: Canon LiDE 110» не найден. Проверьте, что он подключён "
                                               "и включён, или выберите другой сканер в списке источников.")});
    EXPECT_TRUE(ownedAndFocused);
    EXPECT_FALSE(windowTookAKey);
    for (QWidget *w : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(qobject_cast<QMessageBox *>(w) && w->isVisible()) << "a box left behind the window";
    }
    EXPECT_TRUE(form->imgWorkTest->Picture().isNull());
}

TEST_F(DocScannerEndToEndTest, ATransferFailingAfterTheFeederPagesKeepsTheLastPage)
{
    qputenv("TWAINSPECIMEN_PAGES", "2");
    const QImage two = Scan();
    ASSERT_FALSE(two.isNull());
    form->sbTurnRightClick();

    // The scanner announces a third sheet and fails on it: the two it scanned are kept.
    qputenv("TWAINSPECIMEN_FAULTS", "shortpages");
    const QImage kept = Scan();
    EXPECT_EQ(kept, two);
    EXPECT_EQ(form->imgTempTest->Tag(), 0) << "a new picture, as scanned";
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(DocScannerEndToEndTest, TheScannersWindowTakesTheOperatorsInputWhileTheFormIsModal)
{
    // The host runs the form with exec(); the operator scans with the mouse
    // on the scanner's "Scan", then cancels a second scan with Escape.
    int answered = 0;
    bool lost = false;
    r9test::WindowOperator person("SpecimenScanDialog", [&](QWidget *dialog) {
        const bool scan = answered++ == 0;
        auto *button = dialog->findChild<QPushButton *>(QLatin1String(scan ? "bScan" : "bCancel"));
        if (!(scan ? r9test::MouseClick(button) : r9test::KeyPress(dialog, Qt::Key_Escape))) {
            lost = true; // blocked by the form: worked by code, so the scan ends
            button->click();
        }
    });
    QImage scanned;
    QImage afterCancel;
    r9test::RunInModalWindow(*form, [&] {
        EXPECT_TRUE(r9test::MouseClick(form->bScanTest));
        scanned = form->imgWorkTest->Picture();
        EXPECT_TRUE(r9test::MouseClick(form->bScanTest));
        afterCancel = form->imgWorkTest->Picture();
    });
    EXPECT_EQ(person.seen(), 2);
    EXPECT_FALSE(lost) << "the scanner's window was blocked by the form";
    EXPECT_FALSE(scanned.isNull());
    EXPECT_EQ(afterCancel, scanned);
    EXPECT_TRUE(boxes.calls.empty());
}

} // namespace
