// Scans from SANE's test backend through the layer, the source manager and
// the SANE source: every pixel type and frame kind against the same scan
// read straight from SANE, several devices as several sources, the feeder,
// the dialog's page count through a feeder run and a cancel part-way
// through it.
#include "support/SaneFixture.h"

#include "SaneStatus.h"    // the later condition codes
#include "ScanSettings.h" // CAP_FEEDERENABLED

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <set>
#include <string>

using namespace sanetest;

namespace {

QImage::Format formatFor(int depth)
{
    return depth == 24 ? QImage::Format_RGB888 : QImage::Format_Grayscale8;
}

std::set<std::string> g_seen;
void noteDialogs(TWAIN_HDIB, int32_t)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            g_seen.insert(w->objectName().toStdString());
}

} // namespace

TEST_F(SaneSourceTest, EachDeviceIsOneSourceOfTheManager)
{
    ASSERT_TRUE(TWAIN_LoadSourceManager());
    ASSERT_TRUE(TWAIN_OpenSourceManager(0));
    std::vector<std::string> names;
    TW_IDENTITY id{};
    for (int32_t msg = MSG_GETFIRST; TWAIN_Mgr(DG_CONTROL, DAT_IDENTITY, msg, &id); msg = MSG_GETNEXT)
        names.emplace_back(id.ProductName);
    TWAIN_CloseSourceManager(0);
    TWAIN_UnloadSourceManager();
    EXPECT_NE(std::find(names.begin(), names.end(), FirstSource), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), SecondSource), names.end());

    // The second device scans as well once it is the default.
    r9test::WriteFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source"),
                      QByteArray(SecondSource) + '\n');
    TWAIN_HDIB dib = acquire(TWAIN_GRAY);
    ASSERT_NE(dib, nullptr) << boxTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(TWAIN_DibDepth(dib), 8);
}

TEST_F(SaneSourceTest, EveryPixelTypeAndFrameKindGivesTheDeviceScan)
{
    struct Case
    {
        const char *name;
        int32_t mask;
        QStringList sourceOptions; // besides the base options
        QStringList backendConf;
        QStringList referenceOptions;
        int depth;
        bool fullWidth = true; // 25 mm wide
    };
    const QStringList grey1{QStringLiteral("mode=Gray"), QStringLiteral("depth=1")};
    const QStringList grey8{QStringLiteral("mode=Gray"), QStringLiteral("depth=8")};
    const QStringList colour8{QStringLiteral("mode=Color"), QStringLiteral("depth=8")};
    const std::vector<Case> cases{
        {"black and white", TWAIN_BW, {}, {}, grey1, 1},
        {"grey", TWAIN_GRAY, {}, {}, grey8, 8},
        {"colour", TWAIN_RGB, {}, {}, colour8, 24},
        {"colour is the default", TWAIN_ANYTYPE, {}, {}, colour8, 24},
        {"sixteen-bit colour", TWAIN_ANYTYPE, {QStringLiteral("depth=16")}, {},
         {QStringLiteral("mode=Color"), QStringLiteral("depth=16")}, 24},
        {"sixteen-bit grey", TWAIN_ANYTYPE, {QStringLiteral("mode=Gray"), QStringLiteral("depth=16")}, {},
         {QStringLiteral("mode=Gray"), QStringLiteral("depth=16")}, 8},
        {"three frames", TWAIN_RGB, {QStringLiteral("three-pass=yes")}, {},
         colour8 + QStringList{QStringLiteral("three-pass=yes")}, 24},
        {"three frames in another order", TWAIN_RGB,
         {QStringLiteral("three-pass=yes"), QStringLiteral("three-pass-order=GBR")}, {},
         colour8 + QStringList{QStringLiteral("three-pass=yes"), QStringLiteral("three-pass-order=GBR")}, 24},
        // Non-blocking reads without a descriptor are not scanned here: SANE's
        // test device takes a read that finds its pipe empty for the end of
        // the page, so whether a page comes whole depends on which of its
        // threads is first. ScanThreadTest reads that way from a scripted
        // device. With the descriptor the source reads only when data is
        // there, and the test device works.
        {"non-blocking reads on the device's descriptor", TWAIN_RGB,
         {QStringLiteral("non-blocking=yes"), QStringLiteral("select-fd=yes")}, {},
         colour8 + QStringList{QStringLiteral("non-blocking=yes"), QStringLiteral("select-fd=yes")}, 24},
        {"padded lines in pieces", TWAIN_RGB, {QStringLiteral("ppl-loss=3"), QStringLiteral("read-limit=yes"),
                                               QStringLiteral("read-limit-size=7")},
         {}, colour8 + QStringList{QStringLiteral("ppl-loss=3")}, 24, false},
        // Last: SANE's test device may still hold a hand-scanner scan's
        // reader for a moment after it ended, which can end the next scan early.
        {"length unknown", TWAIN_GRAY, {QStringLiteral("hand-scanner=yes")}, {},
         grey8 + QStringList{QStringLiteral("hand-scanner=yes")}, 8, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setSourceOptions(BaseOptions() + c.sourceOptions);
        const QImage reference = ReferenceScan(BaseOptions() + c.referenceOptions);
        ASSERT_FALSE(reference.isNull());
        TWAIN_HDIB dib = acquire(c.mask);
        ASSERT_NE(dib, nullptr) << boxTexts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(TWAIN_DibDepth(dib), c.depth);
        EXPECT_EQ(TWAIN_GetNumDibs(), 1);
        EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
        const QImage delivered = DibPicture(dib, formatFor(c.depth));
        ASSERT_EQ(delivered.size(), reference.size());
        EXPECT_TRUE(delivered == reference.convertToFormat(formatFor(c.depth)));
        // The pattern has colours (or greys) enough to tell a wrong order.
        QSet<QRgb> colours;
        for (int y = 0; y < reference.height(); y += 3)
            for (int x = 0; x < reference.width(); x += 3)
                colours.insert(reference.pixel(x, y));
        EXPECT_GT(colours.size(), 1);
        if (c.fullWidth) {
            EXPECT_NEAR(TWAIN_DibWidth(dib), 25 / 25.4 * 100, 1.5);
        }
    }
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(SaneSourceTest, TheFeederDeliversEveryPageUntilItIsEmptyOrEnoughAreIn)
{
    std::vector<int32_t> indexes;
    static std::vector<int32_t> *seen;
    seen = &indexes;
    TWAIN_RegisterCallback([](TWAIN_HDIB, int32_t index) { seen->push_back(index); });
    // The test backend's feeder holds ten sheets.
    EXPECT_EQ(runSession([] { EXPECT_TRUE(TWAIN_SetCapOneValue(CAP_FEEDERENABLED, TWTY_BOOL, 1)); }),
              TWCC_SUCCESS);
    EXPECT_EQ(TWAIN_GetNumDibs(), 10);
    EXPECT_EQ(indexes.size(), 10u);
    for (int i = 0; i < TWAIN_GetNumDibs(); ++i)
        EXPECT_EQ(TWAIN_DibDepth(TWAIN_GetDib(i)), 24);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);

    // A transfer count stops the feeder early.
    indexes.clear();
    runSession([] {
        EXPECT_TRUE(TWAIN_SetCapOneValue(CAP_FEEDERENABLED, TWTY_BOOL, 1));
        EXPECT_TRUE(TWAIN_NegotiateXferCount(3));
    });
    EXPECT_EQ(TWAIN_GetNumDibs(), 3);
    EXPECT_EQ(indexes, (std::vector<int32_t>{0, 1, 2}));

    // From the flatbed one page per scan, whatever the count.
    runSession([] { EXPECT_TRUE(TWAIN_NegotiateXferCount(3)); });
    EXPECT_EQ(TWAIN_GetNumDibs(), 1);
}

TEST_F(SaneSourceTest, HiddenInterfaceShowsNoWindowAndTheDialogScansWithTheOperatorsChoice)
{
    g_seen.clear();
    TWAIN_RegisterCallback(&noteDialogs);
    ASSERT_NE(acquire(TWAIN_RGB), nullptr);
    EXPECT_EQ(g_seen.count("SaneScanDialog"), 0u);

    // With its interface the source waits for "Сканировать"; the operator picks grey.
    TWAIN_SetHideUI(0);
    // Pieces of the page held back: the scan is under way long enough for
    // the operator to see it.
    setSourceOptions(BaseOptions() + SlowReads());
    g_seen.clear();
    QString pageText;
    DialogOperator op({{[](QWidget *) { return true; },
                  [](QWidget *d) {
                      auto *mode = d->findChild<QComboBox *>(QStringLiteral("cbPixelType"));
                      mode->setCurrentIndex(mode->findText(QStringLiteral("Оттенки серого")));
                      Click(d, "bScan");
                  }},
                 {[](QWidget *d) { return d->findChild<QLabel *>(QStringLiteral("laPage"))->isVisible(); },
                  [&pageText](QWidget *d) { pageText = d->findChild<QLabel *>(QStringLiteral("laPage"))->text(); }}});
    TWAIN_HDIB dib = acquire(TWAIN_ANYTYPE);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(TWAIN_DibDepth(dib), 8);
    EXPECT_EQ(g_seen.count("SaneScanDialog"), 1u);
    EXPECT_EQ(pageText, QStringLiteral("Страница 1"));
    EXPECT_EQ(ScanDialogShown(), nullptr); // closed with the source
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
}

TEST_F(SaneSourceTest, TheDialogCountsTheFeedersPagesAndACancelPartWayDeliversThePagesBeforeIt)
{
    TWAIN_SetHideUI(0);
    // Pages from the feeder, their pieces held back a while.
    setSourceOptions(BaseOptions() + SlowReads() + QStringList{QStringLiteral("source=Automatic Document Feeder")});
    auto page = [](QWidget *d) { return d->findChild<QLabel *>(QStringLiteral("laPage")); };
    QStringList pagesSeen;
    QString cancelling;
    DialogOperator op({{[](QWidget *) { return true; }, [](QWidget *d) { Click(d, "bScan"); }},
                       {[&](QWidget *d) { return page(d)->isVisible() && page(d)->text() == QStringLiteral("Страница 2"); },
                        [&](QWidget *d) { pagesSeen << page(d)->text(); }},
                       {[&](QWidget *d) { return page(d)->isVisible() && page(d)->text() == QStringLiteral("Страница 3"); },
                        [&](QWidget *d) {
                            pagesSeen << page(d)->text();
                            Click(d, "bCancel"); // stops the scan in the third sheet
                            cancelling = page(d)->text();
                        }}});
    std::vector<int32_t> indexes;
    static std::vector<int32_t> *seen;
    seen = &indexes;
    TWAIN_RegisterCallback([](TWAIN_HDIB, int32_t index) { seen->push_back(index); });
    TWAIN_HDIB last = acquire(TWAIN_RGB);
    EXPECT_EQ(op.stepsDone(), 3u);
    EXPECT_EQ(pagesSeen, (QStringList{QStringLiteral("Страница 2"), QStringLiteral("Страница 3")}));
    EXPECT_EQ(cancelling, QStringLiteral("Сканирование отменяется\u2026"));
    // The two sheets read before the cancel are delivered, the third is not.
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(TWAIN_GetNumDibs(), 2);
    EXPECT_EQ(indexes, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(TWAIN_DibDepth(last), 24);
    EXPECT_EQ(TWAIN_DibHeight(last), TWAIN_DibHeight(TWAIN_GetDib(0)));
    // A cancel is no fault: nothing told beyond the acquisition.
    EXPECT_EQ(Notices(), QStringList());
    EXPECT_TRUE(boxes.calls.empty()) << boxTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(ScanDialogShown(), nullptr);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
}

TEST_F(SaneSourceTest, TheModeAndResolutionTheOperatorChoseComeBackForThatScanner)
{
    // Options from the environment that leave the resolution and mode to the operator.
    setSourceOptions({QStringLiteral("br-x=25"), QStringLiteral("br-y=20")});
    TWAIN_SetHideUI(0);
    DialogOperator op({{[](QWidget *) { return true; },
                        [](QWidget *d) {
                            auto *resolution = d->findChild<QComboBox *>(QStringLiteral("cbResolution"));
                            auto *mode = d->findChild<QComboBox *>(QStringLiteral("cbPixelType"));
                            resolution->setCurrentIndex(resolution->findData(600.0));
                            mode->setCurrentIndex(mode->findData(int(TWPT_GRAY)));
                            Click(d, "bScan");
                        }}});
    EXPECT_EQ(runSession([] {}), TWCC_SUCCESS);
    EXPECT_EQ(op.stepsDone(), 1u);
    EXPECT_EQ(TWAIN_GetNumDibs(), 1);

    // The next sessions open each scanner as its operator last scanned with it.
    TWAIN_SetHideUI(1);
    struct Case
    {
        const char *source;
        double dpi;
        int32_t type;
    };
    for (const Case c : {Case{FirstSource, 600, TWPT_GRAY}, Case{SecondSource, 300, TWPT_RGB}}) {
        SCOPED_TRACE(c.source);
        r9test::WriteFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/default-source"),
                          QByteArray(c.source) + '\n');
        runSession([&c] {
            EXPECT_EQ(TWAIN_GetCurrentResolution(), c.dpi);
            EXPECT_EQ(TWAIN_GetPixelType(), c.type);
        });
    }
}
