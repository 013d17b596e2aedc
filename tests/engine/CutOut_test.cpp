// Cutting the background out of anti-aliased shapes drawn in a colour over a
// background with known coverage: the background becomes transparent, the
// inside stays opaque, the edge's opacity follows the coverage and its colour
// is the shape's, and laid over the old background every pixel is the
// picture as it was.

#include "RandomRasters.h"
#include "engine/BackgroundSelection.h"
#include "engine/CutOut.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace pelto {

namespace {

constexpr int kSize = 96;
constexpr int kSamples = 8; // per side, for each pixel's coverage

using Inside = std::function<bool(double x, double y)>;

const Inside kDisk = [](double x, double y) { return std::hypot(x - 48, y - 48) < 30.3; };
const Inside kRotatedSquare = [](double x, double y) {
    const double c = std::cos(0.37), s = std::sin(0.37), u = x - 48, v = y - 48;
    return std::abs(c * u + s * v) < 27.2 && std::abs(-s * u + c * v) < 27.2;
};
const Inside kRing = [](double x, double y) {
    const double r = std::hypot(x - 48, y - 48);
    return r > 18.6 && r < 33.4;
};
// A stroke two pixels wide: a circle's outline, so that it meets the grid at every angle.
const Inside kStroke = [](double x, double y) {
    return std::abs(std::hypot(x - 48, y - 48) - 30.1) < 1.0;
};

struct Shape {
    const char* name;
    const Inside* inside;
    COLORREF colour;
    COLORREF background;
};

// The part of pixel (x, y from the top) inside the shape, in 255ths.
int Coverage(const Inside& inside, int x, int y) {
    int in = 0;
    for (int j = 0; j < kSamples; ++j)
        for (int i = 0; i < kSamples; ++i)
            in += inside(x + (i + 0.5) / kSamples, y + (j + 0.5) / kSamples);
    return (in * 255 + kSamples * kSamples / 2) / (kSamples * kSamples);
}

int Mix(int shape, int background, int coverage) {
    return (shape * coverage + background * (255 - coverage) + 127) / 255;
}

COLORREF Blend(COLORREF shape, COLORREF background, int coverage) {
    return RGB(Mix(GetRValue(shape), GetRValue(background), coverage),
               Mix(GetGValue(shape), GetGValue(background), coverage),
               Mix(GetBValue(shape), GetBValue(background), coverage));
}

int MaxChannelDifference(COLORREF a, COLORREF b) {
    return std::max({std::abs(int(GetRValue(a)) - int(GetRValue(b))),
                     std::abs(int(GetGValue(a)) - int(GetGValue(b))),
                     std::abs(int(GetBValue(a)) - int(GetBValue(b)))});
}

class CutOutShape : public ::testing::TestWithParam<Shape> {};

TEST_P(CutOutShape, LeavesNoFringeAndGivesThePictureBackOverItsBackground) {
    const Shape& c = GetParam();
    std::vector<int> coverage(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            coverage[y * kSize + x] = Coverage(*c.inside, x, y);
    const auto covered = [&](int x, int yFromTop) { return coverage[yFromTop * kSize + x]; };
    CDIB picture;
    LoadBytes(picture, MakeBmp24(kSize, kSize, [&](int x, int y) {
                  return Blend(c.colour, c.background, covered(x, y));
              }));
    CDIB original;
    original.Copy(picture);
    std::unique_ptr<CMaskDIB> selection;
    SelectBackground(picture, selection, {0, 0, 10});
    CAlphaPlane alpha(kSize, kSize);
    const COLORREF backgrounds[] = {c.background};
    CCutOut(picture, &alpha, alpha, *selection, *selection, backgrounds).Apply();

    int wrongOutside = 0, wrongInside = 0, edge = 0, seen = 0, overBackground = 0;
    double alphaError = 0, colourError = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int stored = kSize - 1 - y, a = alpha.GetAlpha(x, stored), cover = covered(x, y);
            const COLORREF colour = ShownPixel(picture, x, y);
            if (cover == 0) wrongOutside += a != 0;
            if (cover == 255) wrongInside += a != 255;
            if (cover > 0 && cover < 255) {
                ++edge;
                alphaError += std::abs(a - cover);
                if (a >= 64) ++seen, colourError += MaxChannelDifference(colour, c.colour);
            }
            overBackground += MaxChannelDifference(Blend(colour, c.background, a),
                                                   ShownPixel(original, x, y)) > 2;
        }
    ASSERT_GT(edge, 0);
    EXPECT_EQ(wrongOutside, 0) << "background pixels not transparent";
    EXPECT_EQ(wrongInside, 0) << "inside pixels not opaque";
    EXPECT_LE(alphaError / edge, 12) << "mean opacity error over " << edge << " edge pixels";
    EXPECT_LE(colourError / std::max(seen, 1), 12) << "mean fringe over " << seen << " pixels";
    EXPECT_EQ(overBackground, 0) << "pixels off by more than 2 over the old background";
}

const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(235, 30, 40);
const COLORREF kBlue = RGB(40, 90, 200), kYellow = RGB(250, 210, 40);

INSTANTIATE_TEST_SUITE_P(
    Shapes, CutOutShape,
    ::testing::Values(Shape{"DiskOverWhite", &kDisk, kBlue, kWhite},
                      Shape{"DiskOverBlack", &kDisk, kYellow, kBlack},
                      Shape{"DiskOverRed", &kDisk, kBlue, kRed},
                      Shape{"RotatedSquareOverWhite", &kRotatedSquare, kBlue, kWhite},
                      Shape{"RotatedSquareOverBlack", &kRotatedSquare, kYellow, kBlack},
                      Shape{"RotatedSquareOverRed", &kRotatedSquare, kBlue, kRed},
                      Shape{"RingOverWhite", &kRing, kBlue, kWhite},
                      Shape{"RingOverBlack", &kRing, kYellow, kBlack},
                      Shape{"RingOverRed", &kRing, kBlue, kRed},
                      Shape{"StrokeOverWhite", &kStroke, kBlue, kWhite},
                      Shape{"StrokeOverBlack", &kStroke, kYellow, kBlack},
                      Shape{"StrokeOverRed", &kStroke, kBlue, kRed}),
    [](const auto& c) { return std::string(c.param.name); });

struct Cut {
    Bytes picture, selection, opacity;
    uint64_t recoloured;
};

Bytes Marks(const CMaskDIB& mask) {
    Bytes marks;
    for (int y = 0; y < mask.m_nHeight; ++y)
        marks.insert(marks.end(), mask.m_pBits + size_t(y) * mask.m_nStride,
                     mask.m_pBits + size_t(y) * mask.m_nStride + mask.m_nWidth);
    return marks;
}

// A random picture and opacity cut out along a random selection on threads,
// the pixels it recolours kept, then traded back.
Cut CutOnThreads(MaskKind kind, int width, int height, unsigned threads) {
    std::mt19937 rng(uint32_t(int(kind) * 7919 + width * 31 + height));
    const auto picture = RandomPicture(width, height, rng);
    const auto selection = RandomMask(kind, width, height, rng);
    CAlphaPlane alpha(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            alpha.SetAlpha(x, y, uint8_t(rng() % 3 ? 255 : rng() % 256));
    const Bytes before = BlockBytes(*picture);
    const COLORREF backgrounds[] = {RGB(rng() % 256, rng() % 256, rng() % 256), RGB(0, 0, 0)};
    // The new opacity and selection in rasters of their own, as a document makes them.
    CAlphaPlane cutAlpha(width, height, CAlphaPlane::Unfilled{});
    CMaskDIB transparent(width, height, CMaskDIB::Unfilled{});
    const auto marks = Marks(*selection);
    CCutOut cut(*picture, &alpha, cutAlpha, *selection, transparent, backgrounds, threads);
    CPixelPatch kept(cut.Recoloured());
    cut.Apply(&kept);
    EXPECT_EQ(Marks(*selection), marks) << "the old selection stays as it was";
    Cut made{BlockBytes(*picture), Marks(transparent), {}, cut.Recoloured()};
    for (int y = 0; y < height; ++y)
        made.opacity.insert(made.opacity.end(), cutAlpha.Row(y), cutAlpha.Row(y) + width);
    uint64_t changed = 0;
    CDIB original;
    LoadBytes(original, before);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            changed += original.GetPixel(x, y) != picture->GetPixel(x, y);
    EXPECT_EQ(changed, made.recoloured) << "the pixels counted as recoloured";
    kept.Trade(*picture);
    EXPECT_EQ(BlockBytes(*picture), before) << "the kept pixels bring the picture back";
    kept.Trade(*picture);
    EXPECT_EQ(BlockBytes(*picture), made.picture) << "and trading again, the cut-out";
    return made;
}

class CutOutThreads : public ::testing::TestWithParam<MaskKind> {};

// Rows are shared among threads in runs: the bytes must not depend on where
// a run ends, nor on how many threads take them.
TEST_P(CutOutThreads, GiveTheSameBytesAsOneThread) {
    for (const auto& [width, height] : {std::pair{1, 90}, {70, 1}, {65, 47}, {131, 70}}) {
        const Cut one = CutOnThreads(GetParam(), width, height, 1);
        for (const unsigned threads : {2u, 3u, 7u}) {
            const Cut many = CutOnThreads(GetParam(), width, height, threads);
            EXPECT_EQ(many.picture, one.picture) << width << "x" << height << " " << threads;
            EXPECT_EQ(many.selection, one.selection) << width << "x" << height << " " << threads;
            EXPECT_EQ(many.opacity, one.opacity) << width << "x" << height << " " << threads;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Masks, CutOutThreads,
                         ::testing::Values(MaskKind::Blobs, MaskKind::Noise, MaskKind::Lines,
                                           MaskKind::EdgeShapes),
                         [](const auto& c) { return std::to_string(int(c.param)); });

} // namespace

} // namespace pelto
