#include "common/FormSettings.h"
#include "common/TSettingsFile.h"
#include "common/engCommon9r_p.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <climits>
#include <gtest/gtest.h>

namespace {

// A frame as a common window manager draws it: 1 pixel sides, a 20 pixel
// title bar, a 5 pixel bottom edge; a 1280 x 800 screen.
const QMargins wmFrame(1, 20, 1, 5);
const QRect screen1280(0, 0, 1280, 800);

struct FitCase
{
    const char *name;
    QRect stored;
    bool keepPlace;
};

TEST(FormBounds, FittedBoundsKeepTheWholeFramedWindowOnTheScreen)
{
    const FitCase cases[] = {
        {"huge size", QRect(0, 0, 99999999, 99999999), false},
        {"huge size placed", QRect(300, 200, 99999999, 99999999), true},
        {"near the bottom right corner", QRect(1250, 770, 900, 600), true},
        {"too wide for where it is", QRect(155, 100, 1151, 600), true},
        {"title bar above the screen", QRect(100, -10, 900, 600), true},
        {"left of the screen", QRect(-500, 100, 900, 600), true},
    };
    for (const FitCase &c : cases) {
        SCOPED_TRACE(c.name);
        const QRect fit = settings::FitFormBounds(c.stored, wmFrame, screen1280, QSize(300, 200), c.keepPlace);
        const QRect framed = fit.marginsAdded(wmFrame);
        EXPECT_LE(framed.width(), screen1280.width());
        EXPECT_LE(framed.height(), screen1280.height());
        if (c.keepPlace) {
            EXPECT_TRUE(screen1280.contains(framed)) << framed.x() << "," << framed.y() << " " << framed.width()
                                                     << "x" << framed.height();
        }
    }
    // What already fits stays as it is; the minimum size wins over the area,
    // the title bar then staying on the screen.
    const QRect inside(200, 100, 800, 600);
    EXPECT_EQ(settings::FitFormBounds(inside, wmFrame, screen1280, QSize(300, 200), true), inside);
    const QRect big = settings::FitFormBounds(QRect(500, 500, 10, 10), wmFrame, screen1280, QSize(2000, 1000), true);
    EXPECT_EQ(big.size(), QSize(2000, 1000));
    EXPECT_EQ(big.topLeft(), QPoint(1, 20));
}

class FormBoundsRead : public testing::Test
{
protected:
    void SetUp() override { gl_sRecognizeIniFileName = r9test::TestHome() + QStringLiteral("/Recognize.iniu"); }
    void Store(std::initializer_list<std::pair<const char *, int>> values)
    {
        QFile::remove(gl_sRecognizeIniFileName);
        TSettingsFile ini(gl_sRecognizeIniFileName);
        for (const auto &[key, value] : values)
            ini.WriteInteger(QStringLiteral("SCAN_FORM"), QLatin1String(key), value);
        ini.UpdateFile();
    }
    QRect Read(QWidget &window)
    {
        TSettingsFile ini(gl_sRecognizeIniFileName);
        settings::ReadFormBounds(ini, &window);
        return window.geometry();
    }
};

TEST_F(FormBoundsRead, ANewWindowLeavesRoomForTheFrameItWillGetAndStaysOnTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    {
        QWidget window;
        Store({{"ScanFormWidth", 99999999}, {"ScanFormHeight", 99999999}});
        const QRect read = Read(window);
        EXPECT_LT(read.width(), area.width()) << "room for the borders";
        EXPECT_LT(read.height(), area.height()) << "room for the title bar";
    }
    {
        // Read again before the window is framed (shown twice, say): one
        // refit waits, whatever other children the window has.
        QWidget window;
        new QObject(&window);
        Store({{"ScanFormWidth", 400}, {"ScanFormHeight", 300}});
        Read(window);
        new QObject(&window);
        Read(window);
        Read(window);
        EXPECT_EQ(window.findChildren<QObject *>(QString(), Qt::FindDirectChildrenOnly).size(), 3);
    }
    for (const QPoint stored : {area.bottomRight() - QPoint(30, 30), QPoint(area.x() + 100, area.y() - 10)}) {
        SCOPED_TRACE(stored.y());
        QWidget window;
        Store({{"ScanFormLeft", stored.x()}, {"ScanFormTop", stored.y()}, {"ScanFormWidth", 400}, {"ScanFormHeight", 300}});
        const QRect read = Read(window);
        EXPECT_TRUE(area.contains(read)) << read.x() << "," << read.y();
        EXPECT_LT(read.bottom(), area.bottom()) << "room for the frame below";
    }
}

TEST_F(FormBoundsRead, APlaceNeedsBothTopAndLeftAndAnyStoredNumberIsSafe)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint own = area.topLeft() + QPoint(50, 60);
    for (const char *key : {"ScanFormTop", "ScanFormLeft"}) {
        SCOPED_TRACE(key);
        QWidget window;
        window.move(own);
        const QPoint before = window.geometry().topLeft();
        Store({{key, area.y() + 200}});
        EXPECT_EQ(Read(window).topLeft(), before);
    }
    for (const int far : {INT_MAX, INT_MAX - 5, INT_MIN}) {
        QWidget window;
        window.move(own);
        const QPoint before = window.geometry().topLeft();
        Store({{"ScanFormLeft", far}, {"ScanFormTop", far}});
        EXPECT_EQ(Read(window).topLeft(), before) << far;
    }
}

struct KeysCase
{
    const settings::TFormBoundsKeys &keys;
    const char *section;
    QStringList stored;
};

TEST_F(FormBoundsRead, EachWindowKeepsItsOwnKeysAndTextThatIsNoNumberLeavesItsOwnSize)
{
    const KeysCase cases[] = {
        {settings::ScanFormBounds, "SCAN_FORM", {"ScanFormTop", "ScanFormLeft", "ScanFormWidth", "ScanFormHeight"}},
        {settings::ScanDocFormBounds, "SCAN_DOC_FORM", {"ScanFormTop", "ScanFormLeft", "ScanFormWidth", "ScanFormHeight"}},
        {settings::CameraFormBounds, "CAMERA_FORM",
         {"CameraFormTop", "CameraFormLeft", "CameraFormWidth", "CameraFormHeight"}},
    };
    for (const KeysCase &c : cases) {
        SCOPED_TRACE(c.section);
        QFile::remove(gl_sRecognizeIniFileName);
        TSettingsFile ini(gl_sRecognizeIniFileName);
        QWidget written;
        written.resize(420, 310);
        settings::WriteFormBounds(ini, &written, c.keys);
        EXPECT_EQ(ini.Sections(), QStringList{c.section});
        EXPECT_EQ(ini.Keys(c.section), c.stored);
        EXPECT_EQ(ini.ReadInteger(c.section, c.stored[2], 0), 420);
        EXPECT_EQ(ini.ReadInteger(c.section, c.stored[3], 0), 310);

        for (const char *text : {"wide", "", "12px"}) {
            ini.WriteString(c.section, c.stored[2], text);
            ini.WriteString(c.section, c.stored[3], text);
            QWidget window;
            window.resize(380, 260);
            settings::ReadFormBounds(ini, &window, c.keys);
            EXPECT_EQ(window.size(), QSize(380, 260)) << text;
        }
    }
}

} // namespace
