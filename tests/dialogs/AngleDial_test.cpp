#include "dialogs/AngleDial.h"

#include <gtest/gtest.h>

namespace pelto {

namespace {

const QRect kArea(10, 20, 101, 112); // right edge 111, bottom edge 132
const QPoint kCentre(60, 76);

struct PointCase {
    int dx, dy;
    unsigned angle;
};

class AngleFromPoint : public ::testing::TestWithParam<PointCase> {};

TEST_P(AngleFromPoint, FollowsTheTruncatedFormula) {
    const PointCase& c = GetParam();
    EXPECT_EQ(DialAngleFromPoint(kArea, kCentre + QPoint(c.dx, c.dy)), c.angle);
}

// The axes give 0, 89, 180 and 270 because pi enters as 3.1415926535.
INSTANTIATE_TEST_SUITE_P(Table, AngleFromPoint,
                         ::testing::Values(PointCase{-20, 0, 0}, PointCase{0, -26, 89},
                                           PointCase{30, 0, 180}, PointCase{0, 24, 270},
                                           PointCase{0, 0, 180}, PointCase{-20, -20, 44},
                                           PointCase{20, -20, 134}, PointCase{20, 20, 225},
                                           PointCase{-20, 20, 315}, PointCase{-500, 0, 0},
                                           PointCase{-400, 1, 359}));

TEST(AngleDial, CentreTruncatesTheMidpoint) {
    EXPECT_EQ(DialCentre(kArea), kCentre);
    EXPECT_EQ(DialCentre(QRect(0, 0, 3, 5)), QPoint(1, 2));
}

TEST(AngleDial, HandTipsLieOnTheEllipseAtTheAxes) {
    EXPECT_EQ(DialHandTip(kArea, 0), QPoint(10, 76));
    EXPECT_EQ(DialHandTip(kArea, 90), QPoint(60, 20));
    EXPECT_EQ(DialHandTip(kArea, 180), QPoint(110, 76));
    EXPECT_EQ(DialHandTip(kArea, 270), QPoint(60, 132));
    EXPECT_EQ(DialHandTip(kArea, 400), DialHandTip(kArea, 40));
    EXPECT_EQ(DialHandTip(kArea, 360), DialHandTip(kArea, 0));
}

TEST(AngleDial, PointingAtAHandTipGivesItsAngleBackWithinTruncation) {
    const QRect large(0, 0, 4001, 4001);
    for (unsigned angle = 0; angle < 360; ++angle) {
        const unsigned back = DialAngleFromPoint(large, DialHandTip(large, angle));
        EXPECT_LE((angle + 360 - back) % 360, 1u) << angle << " came back as " << back;
    }
}

} // namespace

} // namespace pelto
