// The document-picture window: scanning through a fake of the layer's
// acquisition calls, turning, the save action and the window's settings.
#include "support/DibBuilder.h"
#include "support/FakeDocScannerCalls.h"
#include "common/Recognition9r.h"
#include "common/TSettingsFile.h"
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "support/TestSupport.h"
#include "twain/engDocFromScanner9r_FM.h"
#include "ui/TPictureBox.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <vector>

using namespace r9test;
using twaintest::BuildDib;
using twaintest::DibKind;
using twaintest::ToBlock;

namespace {

class DocFromScannerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        gl_sRecognizeIniFileName = TestHome() + QStringLiteral("/Recognize.iniu");
        g_fake = &fake;
        form = TDocFromScannerFM_Create(nullptr);
        fake.form = form;
        form->Calls.SelectImageSource = fakeSelect;
        form->Calls.SetHideUI = fakeSetHideUI;
        form->Calls.AcquireNative = fakeAcquire;
        form->Calls.FreeNative = fakeFree;
        form->Calls.GetNumDibs = fakeNumDibs;
        form->Calls.GetDib = fakeGetDib;
        form->Calls.ClearDibList = fakeClearList;
        form->Calls.DibWidth = fakeWidth;
        form->Calls.DrawDibToDC = fakeDraw;
        g_drawThrows = false;
    }
    void TearDown() override
    {
        delete form;
        for (TWAIN_HDIB dib : fake.pages)
            GlobalFree(dib);
        g_fake = nullptr;
    }

    /// A page whose pixel colours follow its position.
    static TWAIN_HDIB page(int w, int h, uint16_t bits = 24) { return ToBlock(BuildDib(DibKind{w, h, bits})); }

    void Scan(std::vector<TWAIN_HDIB> pages)
    {
        fake.pages = std::move(pages);
        form->bScanTestClick();
    }

    TSettingsFile Settings() const { return TSettingsFile(gl_sRecognizeIniFileName); }

    FakeLayer fake;
    TDocFromScannerFM *form = nullptr;
    MessageBoxRecorder boxes;
};

TEST_F(DocFromScannerTest, LayoutNamesCaptionsAndTheFormVariable)
{
    EXPECT_EQ(DocFromScannerFM, form);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Сканирование документа"));
    EXPECT_EQ(form->minimumSize(), QSize(500, 600));
    EXPECT_EQ(form->property("HelpContext").toInt(), 480);
    EXPECT_EQ(form->bScanTest->text(), QStringLiteral("Сканировать"));
    EXPECT_EQ(form->sbTurnLeft->toolTip(), QStringLiteral("Поворот против часовой на 90 градусов"));
    EXPECT_EQ(form->sbTurnRight->toolTip(), QStringLiteral("Поворот по часовой на 90 градусов"));
    EXPECT_TRUE(form->cxShowScanerList->text().isEmpty());
    EXPECT_EQ(form->laShowScanerList->text(), QStringLiteral("Выбрать сканер из списка"));
    EXPECT_EQ(form->bSave->text(), QStringLiteral("Сохранить"));
    EXPECT_EQ(form->bCancel->text(), QStringLiteral("Отмена"));
    for (const char *name : {"bScanTest", "sbTurnLeft", "sbTurnRight", "cxShowScanerList", "laShowScanerList",
                             "sbScanTest", "imgTempTest", "imgWorkTest", "pnlButtons", "bSave", "bCancel"})
        EXPECT_NE(form->findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    EXPECT_TRUE(form->imgTempTest->isHidden());
    delete form;
    form = nullptr;
    EXPECT_EQ(DocFromScannerFM, nullptr);
}

TEST_F(DocFromScannerTest, SettingsDefaultsWithoutAFileAndWrittenAlsoOnCancel)
{
    form->show();
    EXPECT_TRUE(form->cxShowScanerList->isChecked());
    form->cxShowScanerList->setChecked(false);
    form->resize(700, 760); // within the test's 800 x 800 screen
    form->bCancel->click();
    EXPECT_EQ(form->result(), 2);
    TSettingsFile ini = Settings();
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("SCAN_DOC_INFO"), QStringLiteral("ShowScanerList"), true));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("SCAN_DOC_FORM"), QStringLiteral("ScanFormWidth"), 0), 700);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("SCAN_DOC_FORM"), QStringLiteral("ScanFormHeight"), 0), 760);
    for (const char *key : {"ScanFormTop", "ScanFormLeft"})
        EXPECT_NE(ini.ReadInteger(QStringLiteral("SCAN_DOC_FORM"), QLatin1String(key), -99999), -99999) << key;

    // The next window opens as this one closed.
    delete form;
    form = TDocFromScannerFM_Create(nullptr);
    form->show();
    EXPECT_FALSE(form->cxShowScanerList->isChecked());
    EXPECT_EQ(form->size(), QSize(700, 760));
}

TEST_F(DocFromScannerTest, AStoredSizeLargerThanTheScreenIsFittedAndThePlaceComesBackAtEveryOpening)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        TSettingsFile ini(gl_sRecognizeIniFileName);
        ini.WriteInteger(QStringLiteral("SCAN_DOC_FORM"), QStringLiteral("ScanFormLeft"), screen.x() + 30);
        ini.WriteInteger(QStringLiteral("SCAN_DOC_FORM"), QStringLiteral("ScanFormTop"), screen.y() + 20);
        ini.WriteInteger(QStringLiteral("SCAN_DOC_FORM"), QStringLiteral("ScanFormWidth"), 99999999);
        ini.WriteInteger(QStringLiteral("SCAN_DOC_FORM"), QStringLiteral("ScanFormHeight"), 99999999);
        ini.UpdateFile();
    }
    // The window fills the screen: its frame goes to the screen's corner,
    // and it opens there every time.
    QPoint first;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        form->show();
        EXPECT_TRUE(screen.contains(form->frameGeometry()));
        if (round == 0)
            first = form->geometry().topLeft();
        EXPECT_EQ(form->geometry().topLeft(), first);
        const QSize shown = form->size();
        form->bCancel->click();
        EXPECT_EQ(Settings().ReadInteger(QStringLiteral("SCAN_DOC_FORM"), QStringLiteral("ScanFormWidth"), -1), shown.width());
        EXPECT_EQ(Settings().ReadInteger(QStringLiteral("SCAN_DOC_FORM"), QStringLiteral("ScanFormHeight"), -1), shown.height());
        delete form;
        form = TDocFromScannerFM_Create(nullptr);
    }
}

TEST_F(DocFromScannerTest, ClosingTheWindowOrEscapeIsCancelAndWritesTheSettings)
{
    for (int way = 0; way < 2; ++way) {
        form->show();
        form->resize(650 + way, 720);
        if (way == 0)
            form->close();
        else
            QTest::keyClick(form, Qt::Key_Escape);
        EXPECT_FALSE(form->isVisible()) << way;
        EXPECT_EQ(form->result(), 2) << way;
        EXPECT_EQ(Settings().ReadInteger(QStringLiteral("SCAN_DOC_FORM"), QStringLiteral("ScanFormWidth"), 0), 650 + way);
    }
}

TEST_F(DocFromScannerTest, WithoutStoredKeysTheWindowIsPlacedAsDesigned)
{
    form->show();
    EXPECT_FALSE(form->testAttribute(Qt::WA_Moved)) << "no stored position: the window system places the window";
    form->bCancel->click();
    delete form;
    form = TDocFromScannerFM_Create(nullptr);
    form->show();
    EXPECT_TRUE(form->testAttribute(Qt::WA_Moved)) << "a stored position is applied";
}

TEST_F(DocFromScannerTest, AnUnreadablePageIsReportedAndKeepsThePreviousPicture)
{
    form->show();
    form->cxShowScanerList->setChecked(false);
    Scan({page(6, 4)});
    const QImage before = form->imgWorkTest->Picture();
    // A header that promises 400 x 300 pixels in a block that ends after it.
    TWAIN_HDIB cut = ToBlock(BuildDib(DibKind{400, 300, 24}).left(60));
    Scan({cut});
    EXPECT_EQ(form->imgWorkTest->Picture(), before);
    EXPECT_EQ(fake.freed.count(cut), 1u);
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_ERROR));
    EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Critical);
}

TEST_F(DocFromScannerTest, APageIsFreedAlsoWhenDrawingItFails)
{
    form->show();
    form->cxShowScanerList->setChecked(false);
    g_drawThrows = true;
    TWAIN_HDIB p = page(5, 5);
    Scan({p});
    EXPECT_EQ(fake.freed.count(p), 1u);
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, QStringLiteral("рисование не удалось"));
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DocFromScannerTest, CancelledSourceListChangesNothing)
{
    form->show();
    form->cxShowScanerList->setChecked(false);
    Scan({page(6, 4)});
    form->imgTempTest->SetTag(2);
    const QImage before = form->imgWorkTest->Picture();

    form->cxShowScanerList->setChecked(true);
    fake.selectResult = false;
    Scan({page(8, 8)});
    EXPECT_EQ(fake.selectCalls, 1);
    EXPECT_EQ(fake.acquireCalls, 1) << "no acquisition after a cancelled list";
    EXPECT_EQ(form->imgTempTest->Tag(), 2);
    EXPECT_EQ(form->imgWorkTest->Picture(), before);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(form->isEnabled());
}

TEST_F(DocFromScannerTest, ScanGoesStraightToTheSourceWithItsDialogAndAnyPixelType)
{
    form->show();
    form->cxShowScanerList->setChecked(false);
    Scan({page(5, 3)});
    EXPECT_EQ(fake.selectCalls, 0);
    EXPECT_EQ(fake.hideUI, std::vector<int32_t>{0});
    EXPECT_EQ(fake.pixTypes, std::vector<int32_t>{TWAIN_ANYTYPE});
    EXPECT_TRUE(fake.cursorOverriddenDuringAcquire);
    EXPECT_FALSE(fake.formEnabledDuringAcquire);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(form->imgWorkTest->Picture().size(), QSize(5, 3));
    EXPECT_EQ(form->imgTempTest->Picture(), form->imgWorkTest->Picture());

    // With the list ticked the operator chooses first.
    form->cxShowScanerList->setChecked(true);
    Scan({page(5, 3)});
    EXPECT_EQ(fake.selectCalls, 1);
    EXPECT_EQ(fake.acquireCalls, 2);
}

TEST_F(DocFromScannerTest, OnlyTheLastPageStaysAndEveryPageIsReleasedOnce)
{
    form->show();
    form->cxShowScanerList->setChecked(false);
    TWAIN_HDIB p1 = page(3, 3), p2 = page(4, 4), p3 = page(7, 2);
    Scan({p1, p2, p3});
    EXPECT_EQ(form->imgWorkTest->Picture().size(), QSize(7, 2));
    EXPECT_EQ(fake.freed.count(p1), 1u);
    EXPECT_EQ(fake.freed.count(p2), 1u);
    EXPECT_EQ(fake.freed.count(p3), 1u);
    EXPECT_TRUE(fake.list.empty()) << "the layer's list must not keep freed pages";
}

TEST_F(DocFromScannerTest, PalettePagesBecomeOrdinaryColourPictures)
{
    form->show();
    form->cxShowScanerList->setChecked(false);
    for (uint16_t bits : {1, 4, 8, 24}) {
        const QByteArray bytes = BuildDib(DibKind{9, -5, bits});
        Scan({ToBlock(bytes)});
        const QImage picture = form->imgWorkTest->Picture();
        ASSERT_EQ(picture.size(), QSize(9, 5)) << bits;
        EXPECT_TRUE(picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32) << bits;
        // The drawn pixels are the DIB's own colours, not a blank page.
        TWAIN_HDIB reference = ToBlock(bytes);
        QImage expected(9, 5, QImage::Format_RGB32);
        {
            QPainter p(&expected);
            TWAIN_DrawDibToDC(&p, 0, 0, 9, 5, reference, 0, 0);
        }
        GlobalFree(reference);
        EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), expected) << bits;
        EXPECT_GT(expected.convertToFormat(QImage::Format_Indexed8).colorCount(), 1) << bits;
    }
}

/// What TWAIN_DrawDibToDC paints of a DIB into a bitmap of w x h.
QImage drawnAlone(const QByteArray &dib, int w, int h)
{
    QImage expected(w, h, QImage::Format_RGB32);
    expected.fill(Qt::white);
    TWAIN_HDIB block = ToBlock(dib);
    {
        QPainter p(&expected);
        TWAIN_DrawDibToDC(&p, 0, 0, w, h, block, 0, 0);
    }
    GlobalFree(block);
    return expected;
}

TEST_F(DocFromScannerTest, PagesOfOneSizeShowTheirOwnPixelsAndCopiesTakenEarlierKeepTheirs)
{
    form->show();
    form->cxShowScanerList->setChecked(false);
    const QByteArray a = BuildDib(DibKind{7, 5, 24});
    QByteArray b = a;
    for (qsizetype i = 40; i < b.size(); ++i) // another page of the same size
        b[i] = char(~b[i]);
    const QImage pictureA = drawnAlone(a, 7, 5), pictureB = drawnAlone(b, 7, 5);
    ASSERT_NE(pictureA, pictureB);

    Scan({ToBlock(a)});
    const QImage kept = form->imgWorkTest->Picture(); // as the host keeps it
    // The bitmaps of earlier pages serve later ones once nothing holds
    // them: every page shows its own pixels, never those of the bitmap's
    // earlier page, and the copy kept above never changes.
    for (const QByteArray *next : std::vector<const QByteArray *>{&b, &a, &a, &b, &b, &a}) {
        Scan({ToBlock(*next)});
        const QImage &expected = next == &a ? pictureA : pictureB;
        EXPECT_EQ(form->imgWorkTest->Picture(), expected);
        EXPECT_EQ(form->imgTempTest->Picture(), expected);
        EXPECT_EQ(kept, pictureA);
    }
    // A turned picture has pixels of its own; the next page is not drawn
    // into it.
    form->sbTurnRightClick();
    const QImage turned = form->imgWorkTest->Picture();
    const QImage turnedPixels = turned.copy();
    ASSERT_EQ(turned.size(), QSize(5, 7));
    Scan({ToBlock(b)});
    Scan({ToBlock(a)});
    EXPECT_EQ(form->imgWorkTest->Picture(), pictureA);
    EXPECT_EQ(turned, turnedPixels);
}

TEST_F(DocFromScannerTest, ABitmapWiderThanThePageIsWhiteBeyondIt)
{
    // A layer reporting more columns than the DIB has: the bitmap is made
    // at the reported size and the columns the page does not reach stay
    // white rather than showing whatever the memory held.
    form->show();
    form->cxShowScanerList->setChecked(false);
    const QByteArray dib = BuildDib(DibKind{6, 4, 24});
    fake.forcedWidth = 9;
    Scan({ToBlock(dib)});
    const QImage picture = form->imgWorkTest->Picture();
    ASSERT_EQ(picture.size(), QSize(9, 4));
    EXPECT_EQ(picture.copy(0, 0, 6, 4), drawnAlone(dib, 6, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 6; x < 9; ++x)
            EXPECT_EQ(picture.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

TEST_F(DocFromScannerTest, AScanWithoutANewPictureKeepsBothPicturesAndTheirRotation)
{
    // Nothing delivered, a page that cannot be read, a page too large for
    // memory: the turned picture stays, and the next turn goes on from it.
    const std::function<std::vector<TWAIN_HDIB>()> outcomes[] = {
        [] { return std::vector<TWAIN_HDIB>{}; },
        [] { return std::vector<TWAIN_HDIB>{ToBlock(BuildDib(DibKind{400, 300, 24}).left(60))}; },
        [this] {
            fake.forcedWidth = 1 << 30;
            return std::vector<TWAIN_HDIB>{page(2, 1 << 16, 1)};
        },
    };
    form->show();
    form->cxShowScanerList->setChecked(false);
    Scan({page(6, 4)});
    const QImage scanned = form->imgTempTest->Picture();
    for (const auto &outcome : outcomes) {
        form->sbTurnRightClick();
        const int index = form->imgTempTest->Tag();
        const QImage turned = form->imgWorkTest->Picture();
        Scan(outcome());
        fake.forcedWidth = 0;
        EXPECT_EQ(form->imgTempTest->Tag(), index);
        EXPECT_EQ(form->imgWorkTest->Picture(), turned);
        EXPECT_EQ(form->imgTempTest->Picture(), scanned);
    }
    // Three quarter turns so far: the fourth brings the page back as scanned.
    form->sbTurnRightClick();
    EXPECT_EQ(form->imgTempTest->Tag(), 0);
    EXPECT_EQ(form->imgWorkTest->Picture(), scanned);
}

TEST_F(DocFromScannerTest, ATurnWithoutMemoryIsReportedAndKeepsThePictureAndItsAngle)
{
    form->show();
    form->cxShowScanerList->setChecked(false);
    Scan({page(6, 4)});
    form->sbTurnRight->click();
    form->sbTurnRight->click();
    const QImage turned = form->imgWorkTest->Picture();
    // Either way a quarter turn from here: a page one row taller than a picture can be wide: its quarter turn cannot be made.
    form->imgTempTest->SetPicture(QImage(1, 67108864, QImage::Format_Mono));
    for (QToolButton *button : {form->sbTurnLeft, form->sbTurnRight}) {
        boxes.calls.clear();
        button->click();
        ASSERT_EQ(boxes.calls.size(), 1u);
        EXPECT_EQ(boxes.calls[0].text, LoadResString(&_S_NOT_ENOUGH_RESOURCE));
        EXPECT_EQ(boxes.calls[0].owner, form);
        EXPECT_EQ(form->imgTempTest->Tag(), 2);
        EXPECT_EQ(form->imgWorkTest->Picture(), turned);
        form->ActionListUpdate();
        EXPECT_TRUE(form->acSave->isEnabled());
    }
}

TEST_F(DocFromScannerTest, ANewScanAfterTurnsIsShownUnturned)
{
    form->show();
    form->cxShowScanerList->setChecked(false);
    Scan({page(6, 4)});
    form->sbTurnLeftClick();
    EXPECT_EQ(form->imgTempTest->Tag(), 3);
    EXPECT_EQ(form->imgWorkTest->Picture().size(), QSize(4, 6));
    Scan({page(10, 3)});
    EXPECT_EQ(form->imgTempTest->Tag(), 0);
    EXPECT_EQ(form->imgWorkTest->Picture().size(), QSize(10, 3));
    EXPECT_EQ(form->imgWorkTest->Picture(), form->imgTempTest->Picture());
}

TEST_F(DocFromScannerTest, SaveIsEnabledOnlyWithAPictureAndClosesWithOk)
{
    form->show();
    form->ActionListUpdate();
    EXPECT_FALSE(form->acSave->isEnabled());
    form->bSave->click();
    EXPECT_TRUE(form->isVisible());
    form->cxShowScanerList->setChecked(false);
    Scan({page(6, 4)});
    form->ActionListUpdate();
    EXPECT_TRUE(form->acSave->isEnabled());
    form->bSave->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), 1);
    EXPECT_EQ(form->imgWorkTest->Picture().size(), QSize(6, 4)) << "the host reads the picture after closing";
}

TEST_F(DocFromScannerTest, AFailingScanShowsTheErrorAndRestoresTheWindow)
{
    form->show();
    form->cxShowScanerList->setChecked(false);
    fake.throwOnAcquire = true;
    Scan({});
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_ERROR));
    EXPECT_EQ(boxes.calls[0].text, QStringLiteral("источник не ответил"));
    EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.calls[0].owner, form);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DocFromScannerTest, APageTooLargeForMemoryReportsAndKeepsThePreviousPicture)
{
    form->show();
    form->cxShowScanerList->setChecked(false);
    Scan({page(6, 4)});
    const QImage before = form->imgWorkTest->Picture();
    fake.forcedWidth = 1 << 30;
    TWAIN_HDIB huge = page(2, 1 << 16, 1);
    Scan({huge});
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, LoadResString(&_S_NOT_ENOUGH_RESOURCE));
    EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_MESSAGE));
    EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Information);
    EXPECT_EQ(form->imgWorkTest->Picture(), before);
    EXPECT_EQ(fake.freed.count(huge), 1u);
    EXPECT_TRUE(form->isEnabled());
}

} // namespace
