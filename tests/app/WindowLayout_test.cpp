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

} // namespace

} // namespace pelto
