#include "view/PickCursor.h"

#include <QImage>

#include <gtest/gtest.h>

#include <ostream>

namespace pelto {

namespace {

// The box the crosshair's opaque dots fill.
QRect OpaqueBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) box |= QRect(x, y, 1, 1);
    return box;
}

struct CursorScale {
    qreal ratio;
    qreal hotSpotUnit; // the ratio where the hot spot is read in logical pixels
};

void PrintTo(const CursorScale& scale, std::ostream* out) {
    *out << "ratio " << scale.ratio << ", hot spot unit " << scale.hotSpotUnit;
}

class PickCursorShapeTest : public testing::TestWithParam<CursorScale> {};

// Wherever the window system puts the hot spot, the cross is centred on it:
// the dot picked is the one in the gap, and the cross stays 31 dots across.
TEST_P(PickCursorShapeTest, CentresTheCrossOnTheHotSpot) {
    const auto [ratio, unit] = GetParam();
    const PickCursorShape shape = MakePickCursorShape(ratio, unit);
    EXPECT_EQ(shape.picture.devicePixelRatio(), ratio);
    const QImage image = shape.picture.toImage();
    const QRect box = OpaqueBox(image);
    EXPECT_EQ(box.size(), QSize(31, 31));
    const QPoint centre = box.center();
    EXPECT_EQ(shape.hotSpot.x() * unit, centre.x());
    EXPECT_EQ(shape.hotSpot.y() * unit, centre.y());
    EXPECT_EQ(qAlpha(image.pixel(centre)), 0) << "the picked pixel stays visible";
    for (const QPoint arm : {QPoint(0, -5), QPoint(0, 5), QPoint(-5, 0), QPoint(5, 0)})
        EXPECT_EQ(image.pixel(centre + arm), qRgb(255, 255, 255)) << arm.x() << "," << arm.y();
}

INSTANTIATE_TEST_SUITE_P(Scales, PickCursorShapeTest,
                         testing::Values(CursorScale{1, 1}, CursorScale{1.5, 1}, CursorScale{2, 1},
                                         CursorScale{1.5, 1.5}, CursorScale{2, 2}));

} // namespace

} // namespace pelto
