// The options page: what a scanner supports, the test scan, brightness, the
// hidden turn buttons and the nationality names.
#include "FormFixture.h"

#include "ui/TPictureBox.h"
#include "ui/TChoiceGroup.h"
#include "ui/TTrackSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <turbojpeg.h>

using namespace r9test;

namespace {

class Options : public FormFixture
{
protected:
    void OneScanner(ComPtr<fake::StringsArray> settings)
    {
        engine->scanners = {QStringLiteral("Scanner A")};
        engine->settings = {std::move(settings)};
    }
};

bool isRed(const QWidget *w)
{
    return w->palette().color(QPalette::WindowText) == QColor(Qt::red);
}

QImage testPicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 20, y * 20, 100));
    return img;
}

void writeJpeg(const QString &path, const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    tjhandle tj = tjInitCompress();
    unsigned char *out = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(tjCompress2(tj, rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()), rgb.height(), TJPF_RGB, &out,
                          &size, TJSAMP_444, 95, 0), 0);
    WriteFile(path, QByteArray(reinterpret_cast<const char *>(out), qsizetype(size)));
    tjFree(out);
    tjDestroy(tj);
}

} // namespace

TEST_F(Options, ScannerThatSupportsNothing)
{
    OneScanner(fake::Strings({}));
    gl_PaperSizeSupported = true;
    Create();
    Show();
    EXPECT_FALSE(form->cxShowTwainDialog->isEnabled());
    EXPECT_EQ(form->cxShowTwainDialog->property("tag").toInt(), 1);
    EXPECT_TRUE(isRed(form->laShowTwainDialog));
    EXPECT_FALSE(form->tbBrightness->isEnabled());
    EXPECT_EQ(form->tbBrightness->Position(), 0);
    EXPECT_EQ(form->laBrightValue->text(), QString());
    EXPECT_EQ(form->tbBrightness->property("tag").toInt(), 1);
    EXPECT_FALSE(form->rgOrient->isEnabled());
    EXPECT_EQ(form->rgOrient->ItemIndex(), -1);
    EXPECT_TRUE(isRed(form->rgOrient));
    EXPECT_FALSE(form->rgColorMode->isEnabled());
    EXPECT_EQ(form->rgColorMode->ItemIndex(), -1);
    EXPECT_EQ(form->rgColorMode->property("tag").toInt(), 1);
    EXPECT_FALSE(form->cbPaperSize->isEnabled());
    EXPECT_TRUE(isRed(form->laPaperSize));
    EXPECT_EQ(form->ListBox1->count(), 0);
}

TEST_F(Options, ScannerWithA4AndEveryOption)
{
    auto settings = fake::Strings({{QStringLiteral("interface-type"), QStringLiteral("Twain")},
                                            {QStringLiteral("brightness"), QStringLiteral("50")},
                                            {QStringLiteral("orientation"), QStringLiteral("Portrait")},
                                            {QStringLiteral("paper-size"), QStringLiteral("A4")},
                                            {QStringLiteral("picture-mode"), QStringLiteral("Color")}});
    OneScanner(settings);
    gl_BrightnessSupported = false;
    gl_PaperSizeSupported = true;
    Create();
    Show();
    EXPECT_TRUE(form->cxShowTwainDialog->isEnabled());
    EXPECT_FALSE(isRed(form->laShowTwainDialog));
    EXPECT_EQ(form->cxShowTwainDialog->property("tag").toInt(), 0);
    EXPECT_TRUE(form->tbBrightness->isEnabled());
    EXPECT_EQ(form->laBrightValue->text(), QStringLiteral("40"));
    EXPECT_TRUE(form->rgOrient->isEnabled());
    EXPECT_FALSE(isRed(form->rgOrient));
    EXPECT_TRUE(form->rgColorMode->isEnabled());
    EXPECT_EQ(form->cbPaperSize->currentText(), QStringLiteral("A4"));
    EXPECT_FALSE(form->cbPaperSize->isEnabled()) << "the paper size is shown, never chosen";
    EXPECT_TRUE(isRed(form->laPaperSize));
    ASSERT_EQ(form->ListBox1->count(), 5);
    EXPECT_EQ(form->ListBox1->item(3)->text(), QStringLiteral("paper-size - A4"));
    EXPECT_EQ(gl_ScanSettings.get(), static_cast<IStringsArray *>(settings.get()));

    // An unknown paper size leaves the selection as it was.
    settings->items[3].second = QStringLiteral("Papyrus");
    form->cbScanListForTestChange();
    EXPECT_EQ(form->cbPaperSize->currentText(), QStringLiteral("A4"));
    EXPECT_EQ(form->ListBox1->count(), 5) << "the listing is rebuilt, not appended";
}

TEST_F(Options, FailingSettingsRequestIsSwallowed)
{
    OneScanner(fake::Strings({{QStringLiteral("brightness"), QStringLiteral("1")}}));
    auto previous = fake::Strings({{QStringLiteral("orientation"), QStringLiteral("Portrait")}});
    gl_ScanSettings = IStringsArrayPtr(previous.get());
    engine->failing = {"GetScanSettings"};
    Create();
    Show();
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(gl_ScanSettings.get(), static_cast<IStringsArray *>(previous.get()));
    EXPECT_TRUE(form->rgOrient->isEnabled()) << "options follow the settings kept";
    EXPECT_FALSE(form->tbBrightness->isEnabled());

    // No settings at all: every option unsupported.
    gl_ScanSettings = nullptr;
    form->cbScanListForTestChange();
    EXPECT_FALSE(form->rgOrient->isEnabled());
    EXPECT_FALSE(form->cxShowTwainDialog->isEnabled());
}

TEST_F(Options, TestScanByExtension)
{
    OneScanner(fake::Strings({{QStringLiteral("brightness"), QStringLiteral("50")}}));
    Create(false, false);
    Show();
    const QImage picture = testPicture(6, 4);
    const QString dir = TestHome() + QLatin1Char('/');

    // .bmp: both images, file deleted.
    form->imgTempTest->SetTag(3);
    ASSERT_TRUE(picture.save(dir + QStringLiteral("scan.BMP"), "BMP"));
    engine->scanFile = dir + QStringLiteral("scan.BMP");
    form->bScanTest->click();
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(engine->settingsApplied, 1) << "the options go to the engine before the scan";
    EXPECT_EQ(form->imgTempTest->Tag(), 0);
    EXPECT_EQ(form->imgWorkTest->Picture().convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_EQ(form->imgTempTest->Picture().convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("scan.BMP")));
    EXPECT_TRUE(form->isEnabled());

    // The hidden turn buttons turn the test picture.
    form->sbTurnRightClick();
    EXPECT_EQ(form->imgWorkTest->Picture().size(), QSize(4, 6));
    EXPECT_EQ(form->imgTempTest->Tag(), 1);
    form->sbTurnLeftClick();
    EXPECT_EQ(form->imgWorkTest->Picture().convertToFormat(QImage::Format_RGB32), picture);

    // .jpg: only the work image; the hidden one keeps what it had.
    const QImage jpegPicture = testPicture(8, 8);
    writeJpeg(dir + QStringLiteral("scan.jpg"), jpegPicture);
    engine->scanFile = dir + QStringLiteral("scan.jpg");
    form->bScanTest->click();
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(form->imgWorkTest->Picture().size(), QSize(8, 8));
    EXPECT_EQ(form->imgTempTest->Picture().size(), QSize(6, 4));
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("scan.jpg")));

    // Another extension: moved to .bmp, loaded into both, the moved file deleted.
    ASSERT_TRUE(testPicture(3, 5).save(dir + QStringLiteral("scan.tmp"), "BMP"));
    engine->scanFile = dir + QStringLiteral("scan.tmp");
    form->bScanTest->click();
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(form->imgTempTest->Picture().size(), QSize(3, 5));
    EXPECT_EQ(form->imgWorkTest->Picture().size(), QSize(3, 5));
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("scan.tmp")));
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("scan.bmp")));

    // A bitmap an earlier scan left under the name gives way to this scan;
    // neither file stays.
    ASSERT_TRUE(testPicture(2, 2).save(dir + QStringLiteral("older.tmp"), "BMP"));
    ASSERT_TRUE(testPicture(9, 9).save(dir + QStringLiteral("older.bmp"), "BMP"));
    engine->scanFile = dir + QStringLiteral("older.tmp");
    form->bScanTest->click();
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(form->imgTempTest->Picture().size(), QSize(2, 2));
    EXPECT_EQ(form->imgWorkTest->Picture().size(), QSize(2, 2));
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("older.tmp")));
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("older.bmp")));

    // A move that fails (a folder holds the name): the scan is deleted where it
    // lies, the folder keeps what it holds and the pictures stay as they were.
    ASSERT_TRUE(QDir(dir).mkpath(QStringLiteral("busy.bmp")));
    WriteFile(dir + QStringLiteral("busy.bmp/unrelated.txt"), "kept");
    ASSERT_TRUE(testPicture(4, 4).save(dir + QStringLiteral("busy.tmp"), "BMP"));
    engine->scanFile = dir + QStringLiteral("busy.tmp");
    form->bScanTest->click();
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("busy.tmp")));
    EXPECT_TRUE(QFile::exists(dir + QStringLiteral("busy.bmp/unrelated.txt")));
    EXPECT_EQ(form->imgWorkTest->Picture().size(), QSize(2, 2));
    EXPECT_TRUE(form->isEnabled());
}

TEST_F(Options, TestScanFailuresAreShown)
{
    OneScanner(fake::Strings({}));
    Create(false, false);
    Show();
    engine->failing.Add("Scan", "fake engine failure"); // the engine refuses to scan
    form->bScanTest->click();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, QStringLiteral("fake engine failure"));
    EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_ERROR));
    EXPECT_TRUE(form->isEnabled());

    // A corrupt picture file: a clear message, no crash.
    const QString path = TestHome() + QStringLiteral("/bad.bmp");
    WriteFile(path, "BM not a bitmap");
    engine->failing.clear();
    engine->scanFile = path;
    form->bScanTest->click();
    ASSERT_EQ(boxes.calls.size(), 2u);
    EXPECT_TRUE(boxes.calls[1].text.contains(QStringLiteral("bad.bmp")));
    EXPECT_TRUE(form->isEnabled());
}

TEST_F(Options, TestScanFilesNeverStayBehind)
{
    OneScanner(fake::Strings({}));
    Create(false, false);
    Show();
    const QString dir = TestHome() + QLatin1Char('/');

    // ".jpeg" is a JPEG picture like ".jpg".
    writeJpeg(dir + QStringLiteral("scan.JPEG"), testPicture(7, 5));
    engine->scanFile = dir + QStringLiteral("scan.JPEG");
    form->bScanTest->click();
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(form->imgWorkTest->Picture().size(), QSize(7, 5));
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("scan.JPEG")));
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("scan.bmp")));

    // Pictures that cannot be loaded: reported, and no file is left, renamed or not.
    const struct { const char *scanned; const char *left; } damaged[] = {
        {"damaged.tmp", "damaged.bmp"}, {"damaged.jpg", "damaged.jpg"}, {"damaged.bmp", "damaged.bmp"}};
    for (const auto &d : damaged) {
        SCOPED_TRACE(d.scanned);
        boxes.calls.clear();
        const QString scanned = dir + QLatin1String(d.scanned);
        WriteFile(scanned, "BM not a picture at all");
        engine->scanFile = scanned;
        form->bScanTest->click();
        EXPECT_EQ(boxes.calls.size(), 1u);
        EXPECT_FALSE(QFile::exists(scanned));
        EXPECT_FALSE(QFile::exists(dir + QLatin1String(d.left)));
        EXPECT_TRUE(form->isEnabled());
    }
}

TEST_F(Options, BrightnessImagesStayInRange)
{
    OneScanner(fake::Strings({{QStringLiteral("brightness"), QStringLiteral("0")}}));
    gl_BrightnessValue = 0;
    Create(false, false);
    Show();
    form->imgBrightMinClick();
    EXPECT_EQ(form->tbBrightness->Position(), 0);
    EXPECT_EQ(form->laBrightValue->text(), QStringLiteral("0"));
    form->imgBrightMaxClick();
    EXPECT_EQ(form->tbBrightness->Position(), 1);
    EXPECT_EQ(form->laBrightValue->text(), QStringLiteral("1"));
    form->tbBrightness->SetPosition(100);
    form->imgBrightMaxClick();
    EXPECT_EQ(form->tbBrightness->Position(), 100);
    EXPECT_EQ(form->laBrightValue->text(), QStringLiteral("100"));
    QTest::mouseClick(form->imgBrightMin, Qt::LeftButton);
    EXPECT_EQ(form->laBrightValue->text(), QStringLiteral("99"));
}

TEST_F(Options, NationalityEditSendsDeltaThenStart)
{
    Create(false, false);
    Show();
    QAbstractItemModel *grid = form->dbgNationlities->model();
    const int nation = nationalities.FieldIndex(QStringLiteral("F_COUNTRY_NATIONLITY"));
    const int name = nationalities.FieldIndex(QStringLiteral("F_COUNTRY_NAME"));

    // Leaving a row that was not changed sends nothing.
    nationalities.Post();
    EXPECT_TRUE(nationalities.requests.empty());

    EXPECT_FALSE(grid->setData(grid->index(0, name), QStringLiteral("Русь"))) << "the country is read only";
    ASSERT_TRUE(grid->setData(grid->index(1, nation), QStringLiteral("белоруска")));
    nationalities.Post();
    ASSERT_EQ(nationalities.requests.size(), 2u);
    EXPECT_EQ(nationalities.requests[0].toStringList(), QStringList{QStringLiteral("1:1=белоруска")});
    EXPECT_EQ(nationalities.requests[1].toString(), QStringLiteral("Start"));
    EXPECT_EQ(nationalities.ChangeCount(), 0);

    nationalities.Post();
    EXPECT_EQ(nationalities.requests.size(), 2u);

    // The window is gone: the data set no longer calls into it.
    delete form;
    form = nullptr;
    EXPECT_FALSE(bool(nationalities.AfterPost()));
}
