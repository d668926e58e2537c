// The frame's rules apart from the window: grip placement on the pen, and the
// fitting of a frame into a picture it was not laid out for.
#include "camera/TFrameGeometry.h"

#include <gtest/gtest.h>

using namespace camera;

TEST(FrameGeometry, GripsLieOnThePenAndAreTheSideMinusTwoPenWidthsLong)
{
    const QRect frame(16, 16, 225, 271);
    EXPECT_EQ(GripRect(feTop, frame), QRect(20, 16, 217, 4));
    EXPECT_EQ(GripRect(feBottom, frame), QRect(20, 283, 217, 4));
    EXPECT_EQ(GripRect(feLeft, frame), QRect(16, 20, 4, 263));
    EXPECT_EQ(GripRect(feRight, frame), QRect(237, 20, 4, 263));
}

TEST(FrameGeometry, FittingLeavesAFrameThatObeysTheMoveRuleAlone)
{
    const QSize picture(640, 480);
    for (const QRect &frame : {QRect(1, 1, 225, 271), QRect(414, 208, 225, 271), QRect(100, 100, 101, 101)}) {
        ASSERT_TRUE(MovedFrame(frame, 0, 0, picture)) << frame.x();
        EXPECT_EQ(FrameFittedInto(frame, picture), frame);
    }
}

TEST(FrameGeometry, FittingMovesAndShrinksAFrameUntilItObeysTheMoveRule)
{
    const struct {
        QRect frame;
        QSize picture;
        QRect fitted;
    } cases[] = {
        {{0, 0, 225, 271}, {640, 480}, {1, 1, 225, 271}},
        {{500, 300, 225, 271}, {640, 480}, {414, 208, 225, 271}},
        {{16, 16, 225, 271}, {320, 240}, {16, 1, 225, 238}},
        {{16, 16, 225, 271}, {100, 80}, {1, 1, 98, 78}},
    };
    for (const auto &c : cases) {
        const QRect fitted = FrameFittedInto(c.frame, c.picture);
        EXPECT_EQ(fitted, c.fitted);
        EXPECT_TRUE(MovedFrame(fitted, 0, 0, c.picture));
    }
}
