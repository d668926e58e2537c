// The fragment frame on the frozen picture, worked with the mouse through the
// window as the platform delivers it: the drag limits of the whole frame and
// of each edge, the grips, the cursors, the fragment cut at saving, and a
// frame that stays visible on the picture.
#include "CameraFormFixture.h"

#include <QCheckBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWindow>
#include <optional>

using namespace r9test;
using camera::TFrameEdge;

namespace {

/// The operator's mouse; positions are in the coordinates of pnlCamera.
class Pointer
{
public:
    explicit Pointer(TPhotoFromCameraFM *form) : m_form(form) {}
    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(m_form->windowHandle(), button, {}, WindowPos(at));
        m_button = button;
    }
    void MoveTo(QPoint at) { QTest::mouseMove(m_form->windowHandle(), WindowPos(at)); }
    void Release(QPoint at) { QTest::mouseRelease(m_form->windowHandle(), m_button, {}, WindowPos(at)); }
    /// Press, move by `delta` in `steps` equal moves, and keep the button down.
    void Drag(QPoint from, QPoint delta, int steps = 1)
    {
        Press(from);
        for (int i = 1; i <= steps; ++i)
            MoveTo(from + delta * i / steps);
    }

private:
    QPoint WindowPos(QPoint at) const { return m_form->pnlCamera->mapTo(m_form, at); }
    TPhotoFromCameraFM *m_form;
    Qt::MouseButton m_button = Qt::LeftButton;
};

QRect Geometry(const QWidget *w)
{
    return w->geometry();
}

} // namespace

class FrameTest : public CameraFormTest
{
protected:
    void SetUp() override
    {
        CameraFormTest::SetUp();
        Create();
        Show();
        Freeze();
        form->ActionListUpdate();
        ASSERT_TRUE(form->cxShowFrame->isEnabled());
        form->cxShowFrame->click();
    }
    /// Puts the frame at `rect` with its grips on its edges, as the end of a
    /// drag leaves it: the frame is dragged there, then each grip is fitted
    /// by a click on it.
    void PlaceFrame(const QRect &rect)
    {
        form->spFrame->setGeometry(rect);
        Pointer p(form);
        const QPoint inside = rect.center();
        p.Press(inside);
        p.Release(inside);
        for (TFrameEdge edge : {camera::feTop, camera::feBottom, camera::feLeft, camera::feRight}) {
            const QPoint at = camera::GripPosition(edge, rect) + QPoint(1, 1);
            p.Press(at);
            p.Release(at);
        }
        ASSERT_EQ(form->FrameRect(), rect);
        for (TFrameEdge edge : {camera::feTop, camera::feBottom, camera::feLeft, camera::feRight})
            ASSERT_EQ(Geometry(Grip(edge)), camera::GripRect(edge, rect)) << edge;
    }
    camera::TShape *Grip(TFrameEdge edge) const
    {
        switch (edge) {
        case camera::feTop: return form->spFrameTop;
        case camera::feBottom: return form->spFrameBottom;
        case camera::feLeft: return form->spFrameLeft;
        case camera::feRight: return form->spFrameRight;
        }
        return nullptr;
    }
    static Qt::CursorShape ScreenCursor()
    {
        return QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
    }
};

TEST_F(FrameTest, FrameAndGripsAppearWithTheCheckBoxOnTheFrozenPictureFittedInside)
{
    const QRect frame = form->FrameRect();
    EXPECT_EQ(frame, TPhotoFromCameraFM::FrameLayoutRect); // fits the 640 x 480 picture as laid out
    for (QWidget *w : {static_cast<QWidget *>(form->spFrame), static_cast<QWidget *>(form->spFrameTop),
                       static_cast<QWidget *>(form->spFrameBottom), static_cast<QWidget *>(form->spFrameLeft),
                       static_cast<QWidget *>(form->spFrameRight)})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_EQ(Geometry(form->spFrameTop), QRect(20, 16, 217, 4));
    EXPECT_EQ(Geometry(form->spFrameBottom), QRect(20, 283, 217, 4));
    EXPECT_EQ(Geometry(form->spFrameLeft), QRect(16, 20, 4, 263));
    EXPECT_EQ(Geometry(form->spFrameRight), QRect(237, 20, 4, 263));
    form->cxShowFrame->setChecked(false);
    EXPECT_TRUE(form->spFrame->isHidden());
    EXPECT_TRUE(form->spFrameRight->isHidden());
}

TEST_F(FrameTest, WholeFrameDragStopsOnePixelBeforeEveryBorderOfThePicture)
{
    // (start, pointer move, accepted?) on the 640 x 480 frozen frame.
    const struct Case {
        QRect start;
        QPoint move;
        bool accepted;
    } cases[] = {
        {{16, 16, 225, 271}, {100, 50}, true},
        {{16, 16, 225, 271}, {-15, 0}, true},   // left 1
        {{16, 16, 225, 271}, {-16, 0}, false},  // left 0
        {{16, 16, 225, 271}, {0, -15}, true},   // top 1
        {{16, 16, 225, 271}, {0, -16}, false},  // top 0
        {{16, 16, 225, 271}, {398, 0}, true},   // right edge 639, one pixel left
        {{16, 16, 225, 271}, {399, 0}, false},  // right edge 640
        {{16, 16, 225, 271}, {0, 192}, true},   // bottom edge 479
        {{16, 16, 225, 271}, {0, 193}, false},  // bottom edge 480
        {{300, 200, 150, 150}, {189, 129}, true},
        {{300, 200, 150, 150}, {190, 0}, false},
        {{300, 200, 150, 150}, {0, 130}, false},
        {{300, 200, 150, 150}, {-299, -199}, true},
        {{300, 200, 150, 150}, {-300, -100}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "start " << c.start.x() << "," << c.start.y() << " move " << c.move.x()
                                        << "," << c.move.y());
        PlaceFrame(c.start);
        Pointer p(form);
        const QPoint grab = c.start.center();
        p.Drag(grab, c.move);
        const QRect expected = c.accepted ? c.start.translated(c.move) : c.start;
        EXPECT_EQ(form->FrameRect(), expected);
        EXPECT_EQ(ScreenCursor(), c.accepted ? Qt::SizeAllCursor : Qt::ForbiddenCursor);
        // While the frame moves its grips are out of the way.
        EXPECT_EQ(form->spFrameTop->isHidden(), c.accepted);
        p.Release(grab + c.move);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        for (TFrameEdge edge : {camera::feTop, camera::feBottom, camera::feLeft, camera::feRight}) {
            EXPECT_TRUE(Grip(edge)->isVisible());
            EXPECT_EQ(Grip(edge)->pos(), camera::GripPosition(edge, expected)) << edge;
        }
    }
}

TEST_F(FrameTest, AFrameDraggedInManyStepsFollowsThePointerAndStaysAtTheLastPlaceAllowed)
{
    PlaceFrame({16, 16, 225, 271});
    Pointer p(form);
    p.Drag({100, 100}, {-40, -40}, 8); // the last steps would leave the picture
    EXPECT_EQ(form->FrameRect(), QRect(1, 1, 225, 271));
    // Back inside, the frame keeps the place where it was taken.
    p.MoveTo({150, 130});
    EXPECT_EQ(form->FrameRect(), QRect(66, 46, 225, 271));
    p.Release({150, 130});
    // After the button is up, the pointer moves the frame no more.
    p.MoveTo({200, 200});
    EXPECT_EQ(form->FrameRect(), QRect(66, 46, 225, 271));
}

TEST_F(FrameTest, OnlyTheLeftButtonDragsTheWholeFrame)
{
    PlaceFrame({16, 16, 225, 271});
    Pointer p(form);
    p.Press({100, 100}, Qt::RightButton);
    p.MoveTo({150, 150});
    EXPECT_EQ(form->FrameRect(), QRect(16, 16, 225, 271));
    p.Release({150, 150});
}

TEST_F(FrameTest, EachEdgeDragKeepsTheFrameOverAHundredPixelsAndInsideThePicture)
{
    // (edge, start, pointer move along the edge's axis, resulting frame or none).
    const struct Case {
        TFrameEdge edge;
        QRect start;
        int move;
        std::optional<QRect> result;
    } cases[] = {
        // top: candidate > 0 and the frame keeps more than 100 pixels of height; the bottom stays
        {camera::feTop, {50, 50, 200, 200}, -20, QRect(50, 30, 200, 220)},
        {camera::feTop, {50, 50, 200, 200}, -49, QRect(50, 1, 200, 249)},
        {camera::feTop, {50, 50, 200, 200}, -50, std::nullopt},
        {camera::feTop, {50, 50, 200, 200}, 99, QRect(50, 149, 200, 101)},
        {camera::feTop, {50, 50, 200, 200}, 100, std::nullopt},
        // bottom: more than 100 pixels of height, bottom edge below the picture's height
        {camera::feBottom, {50, 50, 200, 200}, 100, QRect(50, 50, 200, 300)},
        {camera::feBottom, {50, 50, 200, 200}, 229, QRect(50, 50, 200, 429)},
        {camera::feBottom, {50, 50, 200, 200}, 230, std::nullopt},
        {camera::feBottom, {50, 50, 200, 200}, -99, QRect(50, 50, 200, 101)},
        {camera::feBottom, {50, 50, 200, 200}, -100, std::nullopt},
        // left: candidate > 0 and more than 100 pixels of width; the right side stays
        {camera::feLeft, {50, 50, 200, 200}, -49, QRect(1, 50, 249, 200)},
        {camera::feLeft, {50, 50, 200, 200}, -50, std::nullopt},
        {camera::feLeft, {50, 50, 200, 200}, 99, QRect(149, 50, 101, 200)},
        {camera::feLeft, {50, 50, 200, 200}, 100, std::nullopt},
        // right: more than 100 pixels of width, right edge before the picture's width
        {camera::feRight, {50, 50, 200, 200}, 389, QRect(50, 50, 589, 200)},
        {camera::feRight, {50, 50, 200, 200}, 390, std::nullopt},
        {camera::feRight, {50, 50, 200, 200}, -99, QRect(50, 50, 101, 200)},
        {camera::feRight, {50, 50, 200, 200}, -100, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "edge " << c.edge << " move " << c.move);
        PlaceFrame(c.start);
        camera::TShape *grip = Grip(c.edge);
        const bool vertical = c.edge == camera::feTop || c.edge == camera::feBottom;
        const QPoint grab = grip->pos() + QPoint(30, 2);
        const QPoint grabSide = grip->pos() + QPoint(2, 30);
        const QPoint from = vertical ? grab : grabSide;
        const QPoint delta = vertical ? QPoint(0, c.move) : QPoint(c.move, 0);
        Pointer p(form);
        p.Drag(from, delta);
        EXPECT_EQ(form->FrameRect(), c.result.value_or(c.start));
        EXPECT_EQ(ScreenCursor(), c.result ? grip->cursor().shape() : Qt::ForbiddenCursor);
        if (c.result) {
            // The dragged grip follows its edge, the other grips are hidden meanwhile.
            EXPECT_EQ(grip->pos(), camera::GripPosition(c.edge, *c.result));
            for (TFrameEdge edge : {camera::feTop, camera::feBottom, camera::feLeft, camera::feRight})
                EXPECT_EQ(Grip(edge)->isHidden(), edge != c.edge) << "grip " << edge;
        }
        p.Release(from + delta);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        const QRect frame = form->FrameRect();
        for (TFrameEdge edge : {camera::feTop, camera::feBottom, camera::feLeft, camera::feRight}) {
            EXPECT_TRUE(Grip(edge)->isVisible());
            EXPECT_EQ(Geometry(Grip(edge)), camera::GripRect(edge, frame)) << "grip " << edge;
        }
    }
}

TEST_F(FrameTest, DraggingTheLeftEdgeKeepsTheRightSideAndItsGripWhileTheLeftGripFollows)
{
    PlaceFrame({50, 50, 200, 200});
    const QPoint rightGrip = form->spFrameRight->pos();
    Pointer p(form);
    p.Drag({52, 100}, {60, 0}, 3);
    EXPECT_EQ(form->FrameRect(), QRect(110, 50, 140, 200));
    EXPECT_EQ(form->spFrameRight->pos(), rightGrip);
    EXPECT_EQ(form->spFrameLeft->x(), 110);
    // Down to a 101-pixel frame, and no further: the frame stays where it was.
    p.MoveTo({151, 100});
    EXPECT_EQ(form->FrameRect(), QRect(149, 50, 101, 200));
    p.MoveTo({152, 100});
    EXPECT_EQ(form->FrameRect(), QRect(149, 50, 101, 200));
    EXPECT_EQ(ScreenCursor(), Qt::ForbiddenCursor);
    p.Release({152, 100});
    EXPECT_EQ(Geometry(form->spFrameTop), QRect(153, 50, 93, 4));
    EXPECT_EQ(Geometry(form->spFrameBottom), QRect(153, 246, 93, 4));
}

TEST_F(FrameTest, SavingCutsTheFramesRectangleOfTheFrozenFramePixelForPixel)
{
    PlaceFrame({37, 21, 161, 133});
    Pointer p(form);
    p.Drag({100, 80}, {13, 9});
    p.Release({113, 89});
    const QRect frame = form->FrameRect();
    ASSERT_EQ(frame, QRect(50, 30, 161, 133));
    form->ActionListUpdate();
    form->bSave->click();
    EXPECT_EQ(form->result(), 1);
    const QImage fragment = form->imgFramePicture->Picture();
    const QImage frozen = form->imgPhoto->Picture();
    ASSERT_EQ(fragment.size(), frame.size());
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            ASSERT_EQ(fragment.pixel(x, y), frozen.pixel(frame.x() + x, frame.y() + y)) << x << "," << y;
    // And it is the camera's picture there, not a copy of some other place.
    EXPECT_LT(MeanDifference(fragment, host.video.frame.copy(frame)), 8.0);
    EXPECT_GT(MeanDifference(fragment, host.video.frame.copy(frame.translated(1, 0))), 8.0);
}

TEST_F(FrameTest, SavingWithTheFrameHiddenReturnsOnlyTheFrozenFrame)
{
    form->cxShowFrame->setChecked(false);
    form->ActionListUpdate();
    form->bSave->click();
    EXPECT_EQ(form->result(), 1);
    EXPECT_FALSE(form->imgFramePicture->HasGraphic());
    EXPECT_EQ(form->imgPhoto->Picture().size(), QSize(640, 480));
}

TEST_F(FrameTest, TheFrameStaysVisibleOnAnyPictureItChangesEveryPixelUnderItsPen)
{
    PlaceFrame({50, 40, 150, 120});
    form->cxShowFrame->setChecked(true);
    const QImage shown = form->pnlCamera->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage frozen = form->imgPhoto->Picture();
    // Under the pen (4 pixels wide) every channel is moved by half its range;
    // inside the frame the picture is untouched.
    for (const QPoint &at : {QPoint(50, 40), QPoint(53, 100), QPoint(120, 42), QPoint(199, 159), QPoint(196, 60),
                             QPoint(100, 156)}) {
        const QRgb s = shown.pixel(at), f = frozen.pixel(at);
        EXPECT_EQ(qRed(s), qRed(f) ^ 0x80) << at.x() << "," << at.y();
        EXPECT_EQ(qGreen(s), qGreen(f) ^ 0x80);
        EXPECT_EQ(qBlue(s), qBlue(f) ^ 0x80);
    }
    for (const QPoint &at : {QPoint(54, 44), QPoint(120, 100), QPoint(195, 155), QPoint(49, 39), QPoint(200, 160)})
        EXPECT_EQ(shown.pixel(at), frozen.pixel(at)) << at.x() << "," << at.y();
}

TEST_F(FrameTest, AFrameLargerThanTheWindowScrollsAndTheFragmentStillComesFromThePicturesPixels)
{
    PressSnapShot(); // continue
    host.video.frame = PatternPicture(1600, 1200);
    PressSnapShot();
    ASSERT_TRUE(form->IsFrozen());
    EXPECT_EQ(form->pnlCamera->size(), QSize(1600, 1200));
    EXPECT_TRUE(form->ScrollBox1->horizontalScrollBar()->maximum() > 0);
    EXPECT_TRUE(form->ScrollBox1->verticalScrollBar()->maximum() > 0);
    form->ScrollBox1->horizontalScrollBar()->setValue(900);
    form->ScrollBox1->verticalScrollBar()->setValue(700);
    // With the view scrolled, the frame is dragged far into the picture.
    PlaceFrame({1000, 800, 300, 250});
    Pointer p(form);
    p.Drag({1100, 900}, {-20, 30});
    p.Release({1080, 930});
    ASSERT_EQ(form->FrameRect(), QRect(980, 830, 300, 250));
    form->ActionListUpdate();
    form->bSave->click();
    EXPECT_EQ(form->imgFramePicture->Picture(), form->imgPhoto->Picture().copy(980, 830, 300, 250));
}

TEST_F(FrameTest, OnASmallPictureTheFrameIsFittedInsideWhenTheFrameFreezes)
{
    PressSnapShot(); // continue
    host.video.frame = PatternPicture(200, 180);
    PressSnapShot();
    ASSERT_TRUE(form->IsFrozen());
    const QRect frame = form->FrameRect();
    EXPECT_EQ(frame, QRect(1, 1, 198, 178));
    EXPECT_EQ(Geometry(form->spFrameRight), camera::GripRect(camera::feRight, frame));
    Pointer p(form);
    p.Drag({100, 100}, {1, 0});
    EXPECT_EQ(form->FrameRect(), frame); // no room to move
    p.Release({101, 100});
}
