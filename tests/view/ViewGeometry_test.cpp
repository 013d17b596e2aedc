#include "view/ViewGeometry.h"
#include "view/ViewZoom.h"

#include <gtest/gtest.h>

namespace pelto {

namespace {

struct ScrollCase {
    int picture, viewport;
    ScrollAxis expected;
};

class ScrollAxisTest : public testing::TestWithParam<ScrollCase> {};

TEST_P(ScrollAxisTest, PageIsATenthOfThePictureAndLineATenthOfThePage) {
    const ScrollCase& c = GetParam();
    const ScrollAxis axis = ScrollAxisFor(c.picture, c.viewport);
    EXPECT_EQ(axis.maximum, c.expected.maximum);
    EXPECT_EQ(axis.page, c.expected.page);
    EXPECT_EQ(axis.line, c.expected.line);
}

INSTANTIATE_TEST_SUITE_P(Axes, ScrollAxisTest,
                         testing::Values(ScrollCase{640, 400, {240, 64, 6}},
                                         ScrollCase{8000, 500, {7500, 800, 80}},
                                         ScrollCase{100, 400, {0, 10, 1}},
                                         ScrollCase{99, 99, {0, 9, 1}}, ScrollCase{5, 1, {4, 1, 1}},
                                         ScrollCase{0, 10, {0, 1, 1}}));

struct ShrinkCase {
    QSize view, picture, expected;
};

class ShrinkTest : public testing::TestWithParam<ShrinkCase> {};

TEST_P(ShrinkTest, ShrinksWherePictureIsSmallerAndNeverGrows) {
    const ShrinkCase& c = GetParam();
    EXPECT_EQ(ShrinkViewToFit(c.view, c.picture, 16), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ShrinkTest,
    testing::Values(ShrinkCase{{400, 300}, {120, 80}, {120, 80}},     // smaller both ways
                    ShrinkCase{{400, 300}, {900, 700}, {400, 300}},   // larger both ways
                    ShrinkCase{{400, 300}, {120, 700}, {136, 300}},   // narrow and tall
                    ShrinkCase{{400, 300}, {900, 80}, {400, 96}},     // wide and short
                    ShrinkCase{{400, 300}, {390, 700}, {400, 300}},   // bar would not fit
                    ShrinkCase{{400, 300}, {400, 300}, {400, 300}})); // exactly the size

struct BarsCase {
    QSize content, expected;
};

class ViewportAroundScrollBarsTest : public testing::TestWithParam<BarsCase> {};

TEST_P(ViewportAroundScrollBarsTest, TakesRoomForABarOnlyWhereTheContentDoesNotFit) {
    EXPECT_EQ(ViewportAroundScrollBars(GetParam().content, QSize(200, 100), 15),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ViewportAroundScrollBarsTest,
    testing::Values(BarsCase{{200, 100}, {200, 100}},  // fits exactly: no bar
                    BarsCase{{300, 50}, {200, 85}},    // too wide: a bar below
                    BarsCase{{150, 300}, {185, 100}},  // too tall: a bar beside
                    BarsCase{{190, 300}, {185, 85}},   // the bar beside makes it too wide
                    BarsCase{{300, 95}, {185, 85}},    // the bar below makes it too tall
                    BarsCase{{900, 900}, {185, 85}})); // both

struct PickCase {
    QPoint click, scroll;
    std::optional<QPoint> expected;
};

class PickTest : public testing::TestWithParam<PickCase> {};

TEST_P(PickTest, AddsScrollOffsetInsideViewportAndPicture) {
    const PickCase& c = GetParam();
    EXPECT_EQ(PickedImagePoint(c.click, QSize(100, 80), c.scroll, QSize(150, 130)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, PickTest,
    testing::Values(PickCase{{5, 6}, {30, 40}, QPoint(35, 46)},
                    PickCase{{0, 0}, {0, 0}, QPoint(0, 0)},
                    PickCase{{99, 79}, {50, 50}, QPoint(149, 129)}, // last pixel both ways
                    PickCase{{100, 10}, {0, 0}, std::nullopt},      // right edge is outside
                    PickCase{{10, 80}, {0, 0}, std::nullopt},       // bottom edge is outside
                    PickCase{{-1, 10}, {0, 0}, std::nullopt},       // left of the window
                    PickCase{{99, 10}, {60, 0}, std::nullopt},      // beside the picture
                    PickCase{{10, 79}, {0, 60}, std::nullopt}));    // below the picture

struct Beside {
    QRect picture;
    QSize dialog;
    QRect expected;
};

class DialogPlacement : public testing::TestWithParam<Beside> {};

TEST_P(DialogPlacement, CoversTheLeastOfThePictureInsideTheScreen) {
    const QRect screen(0, 0, 1200, 800);
    const Beside& c = GetParam();
    const QPoint at = DialogBesidePicture(c.picture, c.dialog, screen);
    EXPECT_EQ(QRect(at, c.dialog), c.expected);
    EXPECT_TRUE(screen.contains(QRect(at, c.dialog)));
}

INSTANTIATE_TEST_SUITE_P(
    Places, DialogPlacement,
    testing::Values(Beside{{100, 100, 400, 300}, {300, 250}, {508, 100, 300, 250}}, // right
                    Beside{{700, 100, 400, 300}, {300, 250}, {392, 100, 300, 250}}, // left
                    Beside{{0, 0, 1100, 400}, {300, 250}, {0, 408, 300, 250}},      // below
                    Beside{{0, 450, 1100, 350}, {300, 250}, {0, 192, 300, 250}},    // above
                    // The whole screen: the corner keeps most of the picture in sight.
                    Beside{{0, 0, 1200, 800}, {300, 250}, {900, 0, 300, 250}},
                    // No room beside it: the corner that covers least, not the side.
                    Beside{{0, 0, 1000, 700}, {300, 250}, {900, 550, 300, 250}},
                    // A maximized window's picture below the menus: over them.
                    Beside{{0, 60, 1200, 700}, {300, 250}, {0, 0, 300, 250}},
                    Beside{{0, 0, 1200, 640}, {300, 250}, {0, 550, 300, 250}}));

} // namespace

} // namespace pelto
