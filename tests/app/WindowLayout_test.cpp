#include "app/WindowLayout.h"

#include <gtest/gtest.h>

namespace pelto {

namespace {

TEST(TileOneAboveAnother, FillsTheAreaInFullWidthRows) {
    const QRect area(0, 0, 300, 100);
    const QList<QRect> tiles = TileOneAboveAnother(area, 3);
    ASSERT_EQ(tiles.size(), 3);
    int top = 0;
    for (const QRect& tile : tiles) {
        EXPECT_EQ(tile.left(), 0);
        EXPECT_EQ(tile.width(), 300);
        EXPECT_EQ(tile.top(), top);
        top += tile.height();
    }
    EXPECT_EQ(top, 100);
    EXPECT_TRUE(TileOneAboveAnother(area, 0).isEmpty());
}

TEST(ArrangeIcons, RowsFromTheBottomLeftGrowingUpward) {
    const QList<QPoint> corners = ArrangeIcons(QRect(0, 0, 250, 400), QSize(100, 30), 3);
    EXPECT_EQ(corners, (QList<QPoint>{{0, 370}, {100, 370}, {0, 340}}));
}

// Whatever the count and the size, every new window lies inside the area.
TEST(CascadedPlace, StepsDownAndStartsOverInsideTheArea) {
    const QRect area(0, 0, 400, 300);
    for (const QSize wanted : {QSize(100, 80), QSize(390, 290), QSize(900, 700)})
        for (int index = 0; index < 40; ++index) {
            const QRect place = CascadedPlace(area, wanted, index, 25);
            EXPECT_TRUE(area.contains(place)) << index;
            EXPECT_EQ(place.size(), wanted.boundedTo(area.size()));
        }
    EXPECT_EQ(CascadedPlace(area, QSize(100, 80), 2, 25).topLeft(), QPoint(50, 50));
    EXPECT_EQ(CascadedPlace(area, QSize(100, 80), 9, 25).topLeft(), QPoint(0, 0)); // 9 fit
}

// Window menu's cascade: each window at its picture's size, cut to what the
// area leaves from its corner, one step further in; a step past the middle
// starts over at the corner.
TEST(CascadeWindows, TakeTheirWantedSizeWithinTheAreaEachAStepFurther) {
    const QRect area(10, 20, 400, 300);
    const struct {
        QSize wanted;
        int index;
        QRect expected;
    } cases[] = {
        {{320, 240}, 0, {10, 20, 320, 240}}, {{320, 240}, 2, {60, 70, 320, 240}},
        {{390, 290}, 1, {35, 45, 375, 275}}, {{900, 700}, 3, {85, 95, 325, 225}},
        {{100, 80}, 6, {160, 170, 100, 80}}, {{100, 80}, 7, {10, 20, 100, 80}},
        {{100, 80}, 9, {60, 70, 100, 80}},
    };
    for (const auto& c : cases) {
        const QList<QRect> places = CascadeWindows(area, QList<QSize>(c.index + 1, c.wanted), 25);
        ASSERT_EQ(places.size(), c.index + 1);
        EXPECT_EQ(places[c.index], c.expected) << c.index;
        EXPECT_TRUE(area.contains(places[c.index])) << c.index;
    }
}

// A window, frame and all, inside the area: moved in from the edges it
// crosses, shrunk where it is larger, left alone where it fits.
TEST(WholeInside, PutsTheFramedWindowInsideTheArea) {
    const QRect area(0, 30, 800, 470); // a panel above
    const QMargins frame(1, 20, 1, 4);
    const struct {
        QRect window;
        QRect expected;
    } cases[] = {
        {{100, 100, 400, 300}, {100, 100, 400, 300}}, // inside: stays
        {{100, 300, 400, 300}, {100, 196, 400, 300}}, // off the bottom: up
        {{-50, 10, 400, 300}, {1, 50, 400, 300}},     // off the left and the top: in
        {{600, 100, 400, 300}, {399, 100, 400, 300}}, // off the right: left
        {{300, 200, 1600, 1200}, {1, 50, 798, 446}},  // larger: the area's size
        {{100, 100, 900, 300}, {1, 100, 798, 300}},   // too wide only
    };
    for (const auto& c : cases) {
        const QRect fitted = WholeInside(area, c.window, frame);
        EXPECT_EQ(fitted, c.expected) << c.window.x() << "," << c.window.y();
        EXPECT_TRUE(area.contains(fitted.marginsAdded(frame)));
    }
}

} // namespace

} // namespace pelto
