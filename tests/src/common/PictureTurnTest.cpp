// Quarter turns of a source/work image pair.
#include "common/PictureTurn.h"
#include "ui/TPictureBox.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <new>

using imaging::TurnDirection;
using imaging::TurnImage;

namespace {

// Every pixel different, alpha included, so a misplaced pixel shows.
QImage pattern(int w, int h, QImage::Format format)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgba((x * 7 + y) & 0xFF, (y * 11 + x * 3) & 0xFF, (x ^ y) & 0xFF, 64 + (x + y) % 192));
    return image.convertToFormat(format);
}

// Where source pixel (x, y) lands for rotation index r.
QPoint landing(int r, int x, int y, int W, int H)
{
    switch (r) {
    case 1: return {H - 1 - y, x};
    case 2: return {W - 1 - x, H - 1 - y};
    case 3: return {y, W - 1 - x};
    default: return {x, y};
    }
}

// Counts the enable changes of the form and whether the hourglass was up.
class EnableWatcher : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange) {
            ++changes;
            busyCursor = busyCursor || (QApplication::overrideCursor()
                                        && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        }
        return false;
    }
    int changes = 0;
    bool busyCursor = false;
};

class TurnImageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        source = new ui::TPictureBox(&form);
        work = new ui::TPictureBox(&form);
        form.installEventFilter(&watcher);
    }
    void scan(const QImage &image)
    {
        source->SetPicture(image);
        work->SetPicture(image);
        source->SetTag(0);
    }
    QWidget form;
    ui::TPictureBox *source = nullptr;
    ui::TPictureBox *work = nullptr;
    EnableWatcher watcher;
};

TEST_F(TurnImageTest, EveryIndexAndDirectionIsPixelExact)
{
    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_BGR888,
                                      QImage::Format_RGB888, QImage::Format_Grayscale8, QImage::Format_Indexed8,
                                      QImage::Format_RGB16, QImage::Format_Mono};
    const QSize sizes[] = {{101, 37}, {1, 1}, {2, 3}, {64, 64}};
    for (QImage::Format format : formats)
        for (QSize size : sizes)
            for (int r = 0; r < 4; ++r)
                for (TurnDirection direction : {TurnDirection::Left, TurnDirection::Right}) {
                    const int W = size.width(), H = size.height();
                    const int expectedIndex = direction == TurnDirection::Right ? (r + 1) % 4 : (r + 3) % 4;
                    SCOPED_TRACE(testing::Message() << "format " << format << ", " << W << "x" << H << ", index " << r
                                                    << (direction == TurnDirection::Right ? " right" : " left"));
                    const QImage picture = pattern(W, H, format);
                    scan(picture);
                    source->SetTag(r);
                    TurnImage(source, work, direction);

                    ASSERT_EQ(source->Tag(), expectedIndex);
                    const QImage &turned = work->Picture();
                    ASSERT_EQ(turned.format(), format);
                    ASSERT_EQ(turned.size(), expectedIndex % 2 ? QSize(H, W) : QSize(W, H));
                    for (int y = 0; y < H; ++y)
                        for (int x = 0; x < W; ++x) {
                            const QPoint p = landing(expectedIndex, x, y, W, H);
                            ASSERT_EQ(turned.pixel(p), picture.pixel(x, y)) << "source pixel " << x << "," << y;
                        }
                    ASSERT_EQ(source->Picture(), picture);
                }
}

TEST_F(TurnImageTest, FirstTurnsPutTheTopRowAtTheRightSide)
{
    const QImage picture = pattern(101, 37, QImage::Format_RGB32);
    scan(picture);
    TurnImage(source, work, TurnDirection::Right);
    EXPECT_EQ(source->Tag(), 1);
    for (int x = 0; x < 101; ++x) // top row, top to bottom in the rightmost column
        ASSERT_EQ(work->Picture().pixel(36, x), picture.pixel(x, 0));

    scan(picture);
    TurnImage(source, work, TurnDirection::Left);
    EXPECT_EQ(source->Tag(), 3);
    for (int x = 0; x < 101; ++x) // top row, bottom to top in the leftmost column
        ASSERT_EQ(work->Picture().pixel(0, 100 - x), picture.pixel(x, 0));
}

TEST_F(TurnImageTest, TurnsRenderFromTheUntouchedSource)
{
    const QImage picture = pattern(101, 37, QImage::Format_ARGB32);
    scan(picture);
    for (int i = 0; i < 4; ++i)
        TurnImage(source, work, TurnDirection::Right);
    EXPECT_EQ(source->Tag(), 0);
    EXPECT_EQ(work->Picture(), picture);

    for (int i = 0; i < 4; ++i)
        TurnImage(source, work, TurnDirection::Left);
    EXPECT_EQ(work->Picture(), picture);

    TurnImage(source, work, TurnDirection::Right);
    const QImage once = work->Picture();
    TurnImage(source, work, TurnDirection::Left);
    TurnImage(source, work, TurnDirection::Right);
    EXPECT_EQ(work->Picture(), once);
    EXPECT_EQ(source->Picture(), picture);

    // A new scan starts unturned whatever came before.
    const QImage next = pattern(20, 10, QImage::Format_RGB32);
    scan(next);
    TurnImage(source, work, TurnDirection::Right);
    TurnImage(source, work, TurnDirection::Left);
    EXPECT_EQ(work->Picture(), next);
}

TEST_F(TurnImageTest, WorkBitmapKeepsItsFormatOrTakesTheScansWhenNew)
{
    const QImage picture = pattern(9, 4, QImage::Format_ARGB32);
    source->SetPicture(picture);
    work->SetPicture(QImage(1, 1, QImage::Format_RGB32));
    TurnImage(source, work, TurnDirection::Right);
    EXPECT_EQ(work->Picture().format(), QImage::Format_RGB32);
    EXPECT_EQ(work->Picture().pixel(3, 0), picture.pixel(0, 0) | 0xFF000000u);

    ui::TPictureBox empty(&form);
    source->SetTag(0);
    TurnImage(source, &empty, TurnDirection::Left);
    EXPECT_EQ(empty.Picture().format(), QImage::Format_ARGB32);
    EXPECT_EQ(empty.Picture().size(), QSize(4, 9));
}

TEST_F(TurnImageTest, BusyWhileTurningAndRestoredAfter)
{
    scan(pattern(5, 3, QImage::Format_RGB32));
    TurnImage(source, work, TurnDirection::Right);
    EXPECT_EQ(watcher.changes, 2);
    EXPECT_TRUE(watcher.busyCursor);
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(TurnImageTest, ATurnWithoutMemoryForItsPictureKeepsThePictureAndTheIndex)
{
    // A page one row taller than a 32-bit picture can be wide: its quarter
    // turn cannot be made (the page itself is never drawn, only its size counts).
    const QImage shown = pattern(5, 3, QImage::Format_RGB32);
    source->SetPicture(QImage(1, 67108864, QImage::Format_Mono));
    ASSERT_TRUE(source->HasGraphic());
    for (TurnDirection direction : {TurnDirection::Right, TurnDirection::Left}) {
        work->SetPicture(shown);
        source->SetTag(2);
        EXPECT_THROW(TurnImage(source, work, direction), std::bad_alloc);
        EXPECT_EQ(source->Tag(), 2);
        EXPECT_EQ(work->Picture(), shown);
        EXPECT_TRUE(form.isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(TurnImageTest, EmptySourceChangesNothing)
{
    const QImage shown = pattern(5, 3, QImage::Format_RGB32);
    work->SetPicture(shown);
    source->SetTag(2);
    TurnImage(source, work, TurnDirection::Right);
    TurnImage(source, work, TurnDirection::Left);
    EXPECT_EQ(watcher.changes, 0);
    EXPECT_EQ(source->Tag(), 2);
    EXPECT_EQ(work->Picture(), shown);
    EXPECT_FALSE(source->HasGraphic());
    TurnImage(nullptr, work, TurnDirection::Left);
    TurnImage(source, nullptr, TurnDirection::Left);
}

} // namespace
