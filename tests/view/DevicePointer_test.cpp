// The window system's device pixel refines the toolkit's rounded pointer, and
// is ignored once the pointer has moved on.

#include "view/DevicePointer.h"
#include "view/ViewZoom.h"

#include <gtest/gtest.h>

namespace pelto {

namespace {

struct PointerCase {
    QPoint device;
    qreal ratio;
    QPoint offset;
    QPointF rounded;
    std::optional<QPointF> expected;
};

TEST(DeviceToLogical, RefinesWithinTheRoundingOnly) {
    const PointerCase cases[] = {
        // The last device pixel of logical 247: the toolkit says 248.
        {{495, 401}, 2.0, {240, 170}, {8, 31}, QPointF(7.5, 30.5)},
        {{496, 400}, 2.0, {240, 170}, {8, 30}, QPointF(8, 30)},
        {{495, 401}, 2.0, {240, 170}, {10, 31}, std::nullopt}, // moved since
        {{7, 9}, 1.0, {2, 3}, {5, 6}, QPointF(5, 6)},
        {{301, 0}, 3.0, {0, 0}, {100, 0}, QPointF(301.0 / 3, 0)},
    };
    for (const PointerCase& c : cases) {
        const std::optional<QPointF> got = DeviceToLogical(c.device, c.ratio, c.offset, c.rounded);
        EXPECT_EQ(got.has_value(), c.expected.has_value()) << c.device.x();
        if (got && c.expected) {
            EXPECT_DOUBLE_EQ(got->x(), c.expected->x());
            EXPECT_DOUBLE_EQ(got->y(), c.expected->y());
        }
    }
}

// The pointer the keys put on a device pixel is picked back as that pixel, on
// odd device pixels of a doubled screen and on fractional scales alike.
TEST(WindowDevicePixel, IsTheDevicePixelPickedBack) {
    const struct {
        QPoint dot;
        qreal ratio;
        QPoint offset;
        QPoint expected;
    } cases[] = {
        {{613, 5}, 2.0, {10, 40}, {633, 85}}, {{614, 6}, 2.0, {10, 40}, {634, 86}},
        {{7, 0}, 1.5, {5, 3}, {15, 5}},       {{8, 1}, 1.5, {4, 2}, {14, 4}},
        {{3, 3}, 1.0, {2, 2}, {5, 5}},        {{9, 2}, 1.25, {3, 4}, {13, 7}},
    };
    for (const auto& c : cases) {
        const QPoint device = WindowDevicePixel(c.dot, c.ratio, c.offset);
        EXPECT_EQ(device, c.expected) << c.ratio << " " << c.dot.x();
        const QPointF exact = QPointF(device) / c.ratio - QPointF(c.offset);
        const std::optional<QPointF> back = DeviceToLogical(device, c.ratio, c.offset, exact);
        ASSERT_TRUE(back);
        EXPECT_EQ(DevicePixel(*back, c.ratio), c.dot) << c.ratio << " " << c.dot.x();
    }
}

} // namespace

} // namespace pelto
