#include "document/PeltoDoc.h"
#include "support/BmpBuilder.h"
#include "support/SquareDoc.h"
#include "view/ViewRendering.h"
#include "view/ZoomedRendering.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace pelto {

namespace {

constexpr QRgb kBackground = qRgb(1, 2, 3);

// Speckled colours with a selection of two colours, so the overlay shows.
std::unique_ptr<CPeltoDoc> SpeckledDoc(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    auto doc = std::make_unique<CPeltoDoc>();
    LoadPicture(*doc, MakeBmp24(width, height, [&](int, int) {
        const int kind = int(random() % 4);
        return kind == 0 ? RGB(10, 200, 30) : RGB(random() % 256, random() % 256, 77);
    }));
    doc->SelectBackground(0, 0, 0);
    return doc;
}

// The drawing at 100 %, which every zoom must show pixel for pixel (above) or
// as the mean of the covered pixels (below).
QRgb Expected(const QImage& actual, CZoom zoom, QPoint screen, QSize picture) {
    const int x0 = PictureCoordinate(screen.x(), zoom), y0 = PictureCoordinate(screen.y(), zoom);
    if (x0 >= picture.width() || y0 >= picture.height()) return kBackground;
    if (zoom.num >= zoom.den) return actual.pixel(x0, y0);
    const int x1 = std::min(PictureCoordinate(screen.x() + 1, zoom), picture.width());
    const int y1 = std::min(PictureCoordinate(screen.y() + 1, zoom), picture.height());
    int sums[3] = {}, count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const QRgb c = actual.pixel(x, y);
            sums[0] += qRed(c), sums[1] += qGreen(c), sums[2] += qBlue(c);
            ++count;
        }
    return qRgb(sums[0] / count, sums[1] / count, sums[2] / count);
}

class ZoomedDrawing : public testing::TestWithParam<CZoom> {};

TEST_P(ZoomedDrawing, ShowsTheActualSizeDrawingSharpAboveAndAveragedBelow) {
    const CZoom zoom = GetParam();
    for (unsigned seed = 1; seed <= 3; ++seed) {
        auto doc = SpeckledDoc(37 + int(seed), 29, seed);
        const QSize picture = PictureSize(*doc);
        const QImage actual = RenderPicture(*doc, QRect(QPoint(0, 0), picture), kBackground);
        const QSize screen(ZoomedLength(picture.width(), zoom) + 5,
                           ZoomedLength(picture.height(), zoom) + 4);
        for (const QRect area : {QRect(QPoint(0, 0), screen), QRect(3, 2, 17, 11)}) {
            // An opaque picture ignores the checkerboard.
            const QImage shown = RenderZoomed(*doc, area, zoom, kBackground, 8);
            ASSERT_EQ(shown.size(), area.size());
            int wrong = 0;
            for (int y = 0; y < area.height(); ++y)
                for (int x = 0; x < area.width(); ++x)
                    wrong +=
                        (shown.pixel(x, y) & 0xFFFFFF) !=
                        (Expected(actual, zoom, area.topLeft() + QPoint(x, y), picture) & 0xFFFFFF);
            EXPECT_EQ(wrong, 0) << zoom.num << "/" << zoom.den << " seed " << seed;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Zooms, ZoomedDrawing,
                         testing::Values(CZoom{1, 16}, CZoom{1, 3}, CZoom{1, 2}, CZoom{2, 3},
                                         CZoom{75, 512}, CZoom{1, 1}, CZoom{3, 2}, CZoom{4, 1},
                                         CZoom{32, 1}));

TEST(ZoomedDrawing, AThinLineStaysVisibleFarBelowActualSize) {
    CPeltoDoc doc;
    LoadPicture(doc, MakeBmp24(64, 64, [](int x, int) {
                    return x == 20 ? RGB(0, 0, 0) : RGB(255, 255, 255);
                }));
    const QImage shown = RenderZoomed(doc, QRect(0, 0, 4, 4), {1, 16}, kBackground);
    EXPECT_LT(qRed(shown.pixel(1, 0)), 255) << "the column holding the line";
    EXPECT_EQ(qRed(shown.pixel(0, 0)), 255);
}

// A picture with transparency shows at every zoom as the same picture made
// opaque over white would, the selection still on top.
TEST_P(ZoomedDrawing, ShowsTransparencyOverWhite) {
    const CZoom zoom = GetParam();
    auto doc = SpeckledDoc(31, 23, 5);
    CAlphaPlane alpha(31, 23);
    CDIB over;
    over.Copy(doc->Picture());
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 31; ++x) {
            const uint8_t a = uint8_t((x * 37 + y * 11) % 256);
            alpha.SetAlpha(x, y, a);
            const COLORREF c = doc->Picture().GetPixel(x, y);
            over.SetPixel(x, y,
                          RGB(CAlphaPlane::OverWhite(GetRValue(c), a),
                              CAlphaPlane::OverWhite(GetGValue(c), a),
                              CAlphaPlane::OverWhite(GetBValue(c), a)));
        }
    const QRect area(0, 0, ZoomedLength(31, zoom) + 3, ZoomedLength(23, zoom) + 2);
    const QImage expected = RenderZoomed(over, nullptr, doc->Selection(), area, zoom, kBackground);
    EXPECT_EQ(RenderZoomed(doc->Picture(), &alpha, doc->Selection(), area, zoom, kBackground),
              expected);
}

// On screen the picture lies over the checkerboard instead: each screen pixel
// blends over the grey of its own 8 x 8 square of screen pixels, counted from
// the picture's corner at every zoom; the selection stays on top.
TEST_P(ZoomedDrawing, ShowsTransparencyOverTheCheckerboard) {
    const CZoom zoom = GetParam();
    constexpr int kSquare = 8, kWidth = 13, kHeight = 11;
    auto doc = SpeckledDoc(kWidth, kHeight, 7);
    CAlphaPlane alpha(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            alpha.SetAlpha(x, y, std::array<uint8_t, 3>{0, 128, 255}[size_t(x * 2 + y) % 3]);
    const CMaskDIB& mask = *doc->Selection();
    const QSize screen(ZoomedLength(kWidth, zoom) + 3, ZoomedLength(kHeight, zoom) + 2);
    for (const QRect area : {QRect(QPoint(0, 0), screen), QRect(5, 3, 19, 13)}) {
        const QImage shown = RenderZoomed(doc->Picture(), &alpha, doc->Selection(), area, zoom,
                                          kBackground, kSquare);
        int wrong = 0;
        for (int sy = area.top(); sy <= area.bottom(); ++sy)
            for (int sx = area.left(); sx <= area.right(); ++sx) {
                const int x0 = PictureCoordinate(sx, zoom), y0 = PictureCoordinate(sy, zoom);
                QRgb expected = kBackground;
                if (x0 < kWidth && y0 < kHeight) {
                    const bool below = zoom.num < zoom.den;
                    const int x1 =
                        below ? std::min(PictureCoordinate(sx + 1, zoom), kWidth) : x0 + 1;
                    const int y1 =
                        below ? std::min(PictureCoordinate(sy + 1, zoom), kHeight) : y0 + 1;
                    const int grey = kCheckerLevels[(sx / kSquare + sy / kSquare) % 2];
                    int sums[3] = {};
                    for (int y = y0; y < y1; ++y)
                        for (int x = x0; x < x1; ++x) {
                            const int stored = kHeight - 1 - y;
                            const int mark = mask.GetValue(CPoint(x, stored));
                            const COLORREF c = doc->Picture().GetPixel(x, stored);
                            const int a = alpha.GetAlpha(x, stored);
                            const int channels[3] = {int(GetRValue(c)), int(GetGValue(c)),
                                                     int(GetBValue(c))};
                            for (int i = 0; i < 3; ++i)
                                sums[i] += mark ? CMaskDIB::OverlayLevel(uint8_t(mark))
                                                : (channels[i] * a + grey * (255 - a) + 127) / 255;
                        }
                    const int count = (x1 - x0) * (y1 - y0);
                    expected = qRgb(sums[0] / count, sums[1] / count, sums[2] / count);
                }
                wrong += (shown.pixel(sx - area.left(), sy - area.top()) & 0xFFFFFF) !=
                         (expected & 0xFFFFFF);
            }
        EXPECT_EQ(wrong, 0) << zoom.num << "/" << zoom.den << " from " << area.x();
    }
}

} // namespace

} // namespace pelto
