#include "view/ViewZoom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pelto {

namespace {

std::vector<QString> Walk(CZoom start, CZoom (*step)(CZoom), int count) {
    std::vector<QString> texts;
    for (int i = 0; i < count; ++i)
        texts.push_back(ZoomText(start = step(start)));
    return texts;
}

TEST(ViewZoom, StepsRunFromASixteenthToThirtyTwoAndStopAtTheEnds) {
    EXPECT_EQ(Walk({}, ZoomIn, 8), (std::vector<QString>{"150 %", "200 %", "300 %", "400 %",
                                                         "800 %", "1600 %", "3200 %", "3200 %"}));
    EXPECT_EQ(Walk({}, ZoomOut, 8), (std::vector<QString>{"67 %", "50 %", "33 %", "25 %", "12.5 %",
                                                          "6.25 %", "6.25 %", "6.25 %"}));
    // From a fitted zoom between steps, the next step either way.
    EXPECT_EQ(ZoomText(ZoomIn({7, 20})), "50 %");
    EXPECT_EQ(ZoomText(ZoomOut({7, 20})), "33 %");
}

struct FitCase {
    QSize picture, viewport;
    CZoom expected;
};

class FitZoomTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitZoomTest, IsTheLargestZoomAtWhichThePictureFits) {
    const FitCase& c = GetParam();
    const CZoom fit = FitZoom(c.picture, c.viewport);
    EXPECT_EQ(fit, c.expected) << fit.num << "/" << fit.den;
    if (fit == c.expected && !c.picture.isEmpty() && fit.num * 16 > fit.den) {
        EXPECT_LE(ZoomedLength(c.picture.width(), fit), c.viewport.width());
        EXPECT_LE(ZoomedLength(c.picture.height(), fit), c.viewport.height());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FitZoomTest,
    testing::Values(FitCase{{4096, 4096}, {800, 600}, {75, 512}}, // the height decides
                    FitCase{{1000, 100}, {500, 400}, {1, 2}},     // the width decides
                    FitCase{{100, 100}, {100, 100}, {1, 1}},
                    FitCase{{10, 10}, {800, 600}, {32, 1}},     // no larger than 32
                    FitCase{{100000, 10}, {800, 600}, {1, 16}}, // no smaller than 1/16
                    FitCase{{0, 0}, {800, 600}, {1, 1}}));

TEST(ViewZoom, TextIsWholePercentsAboveTwentyAndTwoDecimalsBelow) {
    EXPECT_EQ(ZoomText({2, 3}), "67 %");
    EXPECT_EQ(ZoomText({1, 3}), "33 %");
    EXPECT_EQ(ZoomText({75, 512}), "14.65 %");
    EXPECT_EQ(ZoomText({1, 8}), "12.5 %");
    EXPECT_EQ(ZoomText({32, 1}), "3200 %");
}

// Picking, drawing and the scroll range share one mapping; check it against
// the exact real-number position of the screen pixel at many zooms and scrolls.
class PickAtZoom : public testing::TestWithParam<CZoom> {};

TEST_P(PickAtZoom, SelectsThePicturePixelUnderTheClick) {
    const CZoom zoom = GetParam();
    const QSize picture(123, 77), viewport(90, 70);
    int inside = 0;
    for (const QPoint scroll : {QPoint(0, 0), QPoint(17, 5), QPoint(301, 211), QPoint(2000, 9)})
        for (int cy = 0; cy < viewport.height(); cy += 3)
            for (int cx = 0; cx < viewport.width(); cx += 7) {
                const QPoint click(cx, cy);
                const auto picked = PickedImagePoint(click, viewport, scroll, picture, zoom);
                const double px = std::floor((cx + scroll.x()) * double(zoom.den) / zoom.num);
                const double py = std::floor((cy + scroll.y()) * double(zoom.den) / zoom.num);
                const bool onPicture = px < picture.width() && py < picture.height();
                ASSERT_EQ(picked.has_value(), onPicture) << cx << "," << cy;
                if (!picked) continue;
                ++inside;
                EXPECT_EQ(*picked, QPoint(int(px), int(py)));
            }
    EXPECT_GT(inside, 0);
    for (const QPoint outside : {QPoint(-1, 3), QPoint(3, 70), QPoint(90, 0)})
        EXPECT_FALSE(PickedImagePoint(outside, viewport, {}, picture, zoom));
}

// The scroll range ends with the screen pixel that covers the picture's last pixel.
TEST_P(PickAtZoom, TheLastScreenPixelCoversTheLastPicturePixel) {
    const CZoom zoom = GetParam();
    for (int length : {1, 2, 3, 77, 123, 4096}) {
        const int screen = ZoomedLength(length, zoom);
        EXPECT_LE(PictureCoordinate(screen - 1, zoom), length - 1) << length;
        EXPECT_GT(PictureCoordinate(screen, zoom), length - 1) << length;
    }
}

TEST_P(PickAtZoom, ZoomingAroundAPointKeepsItsPicturePixelUnderIt) {
    const CZoom from = GetParam();
    for (const CZoom to : {CZoom{1, 3}, CZoom{1, 1}, CZoom{8, 1}}) {
        const QPoint scroll(40, 25), anchor(33, 21);
        const QPoint after = ScrollKeepingAnchor(scroll, anchor, from, to);
        const double before = (scroll.x() + anchor.x()) * double(from.den) / from.num;
        const double now = (after.x() + anchor.x()) * double(to.den) / to.num;
        EXPECT_NEAR(now, before, double(to.den) / to.num) << to.num << "/" << to.den;
    }
}

// On a scaled screen a logical pixel is several dots: a click anywhere in a
// dot picks the picture pixel drawn on that dot.
TEST_P(PickAtZoom, OnAScaledScreenPicksThePixelUnderTheDot) {
    const CZoom zoom = GetParam();
    const QSize picture(77, 40);
    for (const qreal ratio : {1.5, 2.0, 3.0}) {
        const QSize viewport(40, 30);
        const QPoint scroll = DevicePixel(QPoint(9, 0), ratio);
        for (int dot = 0; dot < int(viewport.width() * ratio); ++dot)
            for (const double within : {0.0, 0.5, 0.99}) {
                const QPointF click((dot + within) / ratio, 0);
                const auto picked = PickedImagePoint(click, viewport, scroll, picture, zoom, ratio);
                const int expected = PictureCoordinate(dot + scroll.x(), zoom);
                ASSERT_EQ(picked.has_value(), expected < picture.width()) << ratio << " " << dot;
                if (picked) {
                    EXPECT_EQ(picked->x(), expected) << ratio << " dot " << dot << "+" << within;
                }
            }
        EXPECT_EQ(LogicalLength(ZoomedLength(picture.width(), zoom), ratio) * ratio >=
                      ZoomedLength(picture.width(), zoom),
                  true);
    }
}

// Every key step moves the crosshair to another screen pixel, no further than
// the next one shown, and the crosshair's dot picks the pixel stepped to.
TEST_P(PickAtZoom, KeyStepsMoveTheCrosshairOntoThePixelTheyPick) {
    const CZoom zoom = GetParam();
    const int length = 77;
    const auto shown = [&](int p) { return ZoomedLength(p, zoom) < ZoomedLength(p + 1, zoom); };
    for (int from = 0; from < length; ++from) {
        if (!shown(from)) continue;
        for (const int step : {-10, -1, 1, 10}) {
            const int to = KeyStepTarget(from, step, length, zoom);
            ASSERT_GE(to, 0);
            ASSERT_LT(to, length);
            EXPECT_EQ(PictureCoordinate(MiddleDot(to, zoom), zoom), to) << from << " " << step;
            // No pixel shown lies between where the step ends and where it lands.
            const int end = std::clamp(from + step, 0, length - 1);
            for (int p = std::min(end, to) + 1; p < std::max(end, to); ++p)
                EXPECT_FALSE(shown(p)) << from << " " << p;
            bool further = false; // a pixel shown beyond from, the step's way
            for (int p = from + (step > 0 ? 1 : -1); p >= 0 && p<length; p += step> 0 ? 1 : -1)
                further = further || shown(p);
            if (further) EXPECT_NE(MiddleDot(to, zoom), MiddleDot(from, zoom)) << from << step;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Zooms, PickAtZoom,
                         testing::Values(CZoom{1, 16}, CZoom{1, 4}, CZoom{1, 3}, CZoom{2, 3},
                                         CZoom{1, 1}, CZoom{3, 2}, CZoom{3, 1}, CZoom{32, 1},
                                         CZoom{75, 512}));

} // namespace

} // namespace pelto
