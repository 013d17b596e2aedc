// Transparency in the engine: fully transparent pixels select as a pick
// would, and an outer band grows over them taking the colour of the shape
// pixel the brute force finds, while an inner band leaves the opacity alone.
// On a soft-edged shape drawn with exact coverage the rim is measured against
// the shape grown by the width.

#include "RandomRasters.h"
#include "ReferenceBevel.h"
#include "engine/BackgroundSelection.h"
#include "engine/Bevel.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace pelto {

namespace {

// Transparent where the mask selects, opaque elsewhere, half transparent here and there when soft.
CAlphaPlane AlphaOf(const CMaskDIB& mask, bool soft, std::mt19937& rng) {
    CAlphaPlane alpha(mask.m_nWidth, mask.m_nHeight);
    for (int y = 0; y < mask.m_nHeight; ++y)
        for (int x = 0; x < mask.m_nWidth; ++x)
            alpha.SetAlpha(x, y, mask.GetValue({x, y}) != 0 ? 0 : rng() % 4 || !soft ? 255 : 128);
    return alpha;
}

// The brute force's hard rim: each transparent pixel of an outer band takes
// the colour of the shape pixel found and becomes opaque; heights as it finds them.
void GrowHardRim(const CMaskDIB& mask, const ButtonParams& params, const CDIB& picture,
                 const CAlphaPlane& alpha, CDIB& grown, CAlphaPlane& grownAlpha,
                 CHeightDIB& heights) {
    grown.Copy(picture);
    grownAlpha.Copy(alpha);
    ReferenceBevelHeights(mask, params, heights, [&](CPoint pixel, CPoint found) {
        if (!params.Outer() || grownAlpha.GetAlpha(pixel.x, pixel.y) != 0) return;
        grown.SetPixel(pixel.x, pixel.y, picture.GetPixel(found.x, found.y));
        grownAlpha.SetAlpha(pixel.x, pixel.y, 255);
    });
}

TEST(TransparentRim, SelectsTheTransparentPixelsAndGrowsTheOuterBandOverThem) {
    std::mt19937 rng(20261209);
    for (int n = 0; n < 120 && !HasFailure(); ++n) {
        const auto kind = MaskKind(n % int(MaskKind::AnyByte));
        const int w = 1 + int(rng() % 40), h = 1 + int(rng() % 30);
        const auto drawn = RandomMask(kind, w, h, rng);
        const bool soft = n % 3 == 0;
        const CAlphaPlane original = AlphaOf(*drawn, soft, rng);
        std::unique_ptr<CMaskDIB> mask;
        SelectTransparent(original, mask);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(mask->GetValue({x, y}), drawn->GetValue({x, y}) ? CheckerValue(x, y) : 0)
                    << KindName(kind) << " " << w << "x" << h << " at " << x << "," << y;

        const ButtonParams params = RandomParams(1 + int(rng() % 8), n % 2, rng);
        const auto picture = RandomPicture(w, h, rng);
        CDIB expected;
        CAlphaPlane expectedAlpha;
        CHeightDIB heights(w, h);
        GrowHardRim(*mask, params, *picture, original, expected, expectedAlpha, heights);

        CDIB grown;
        grown.Copy(*picture);
        CAlphaPlane alpha;
        alpha.Copy(original);
        CHeightDIB fast(w, h);
        CTransparentRim rim(grown, alpha);
        ComputeBevelHeights(*mask, params, fast, 2, &rim);
        EXPECT_EQ(BlockBytes(grown), BlockBytes(expected))
            << KindName(kind) << " outer " << params.Outer();
        // A soft edge sets the opacity of the grown pixels only; a hard one makes them opaque.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (!soft || original.GetAlpha(x, y) == expectedAlpha.GetAlpha(x, y)) {
                    ASSERT_EQ(alpha.GetAlpha(x, y), expectedAlpha.GetAlpha(x, y)) << x << "," << y;
                }
        EXPECT_EQ(BlockBytes(fast), BlockBytes(heights));
    }
}

// A shape by its distance from a point, 0 inside: a disk and a square turned
// 0.37 rad, both off the pixel grid.
struct RimCase {
    const char* shape;
    int width;
    bool soft; // drawn with exact coverage, else opaque where half covered (pixel art)
};

double DistanceTo(const char* shape, double x, double y) {
    const double cx = 62.3, cy = 61.6;
    if (std::string(shape) == "disk") return std::max(0.0, std::hypot(x - cx, y - cy) - 24);
    const double c = std::cos(0.37), s = std::sin(0.37);
    const double u = std::fabs((x - cx) * c + (y - cy) * s) - 20;
    const double v = std::fabs((y - cy) * c - (x - cx) * s) - 20;
    return std::hypot(std::max(u, 0.0), std::max(v, 0.0));
}

// The part of pixel (x, y) within `reach` of the shape, in 16 x 16 samples of 256.
int Covered(const char* shape, int x, int y, double reach) {
    int count = 0;
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            count += DistanceTo(shape, x + (i + 0.5) / 16, y + (j + 0.5) / 16) <= reach;
    return count;
}

Bytes OpacityBytes(const CAlphaPlane& alpha) {
    return Bytes(alpha.Row(0), alpha.Row(0) + size_t(alpha.Width()) * size_t(alpha.Height()));
}

class SoftRim : public ::testing::TestWithParam<RimCase> {};

TEST_P(SoftRim, FollowsTheShapeGrownByTheWidthWithoutASeam) {
    const RimCase& c = GetParam();
    constexpr int kSide = 124;
    CAlphaPlane original(kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int part = Covered(c.shape, x, y, 0);
            original.SetAlpha(x, y,
                              c.soft        ? uint8_t((part * 255 + 128) / 256)
                              : part >= 128 ? 255
                                            : 0);
        }
    std::mt19937 rng(uint32_t(c.width));
    const auto picture = RandomPicture(kSide, kSide, rng);
    std::unique_ptr<CMaskDIB> mask;
    SelectTransparent(original, mask);
    const ButtonParams params = RandomParams(c.width, true, rng);

    // Without the soft edge: the opaque rim the brute force grows.
    CDIB hard;
    CAlphaPlane hardAlpha;
    CHeightDIB heights(kSide, kSide);
    GrowHardRim(*mask, params, *picture, original, hard, hardAlpha, heights);
    ReferenceShadeBevel(hard, heights, params.contrast);

    std::vector<Bytes> made;
    CAlphaPlane alpha;
    for (const unsigned threads : {1u, 3u}) {
        CDIB image;
        image.Copy(*picture);
        alpha.Copy(original);
        CHeightDIB fast(kSide, kSide);
        CTransparentRim rim(image, alpha);
        ComputeBevelHeights(*mask, params, fast, threads, &rim);
        ShadeBevel(image, fast, params.contrast, threads, &rim);
        made.push_back(BlockBytes(image));
        made.push_back(OpacityBytes(alpha));
    }
    ASSERT_EQ(made[0], made[2]);
    ASSERT_EQ(made[1], made[3]);
    CDIB image;
    LoadBytes(image, made[0]);
    if (!c.soft) {
        EXPECT_EQ(made[0], BlockBytes(hard));
        EXPECT_EQ(made[1], OpacityBytes(hardAlpha));
        return;
    }
    int seams = 0, edge = 0;
    double error = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const uint8_t was = original.GetAlpha(x, y), now = alpha.GetAlpha(x, y);
            const int ideal = Covered(c.shape, x, y, c.width);
            // The shape's own edge under the rim is opaque, laid over the rim.
            if (was != 0 && was != 255 && ideal == 256) seams += now != 255;
            if (was == 0 && ideal != 0 && ideal != 256) {
                ++edge;
                error += std::fabs(now - ideal * 255.0 / 256);
            }
            // Every other pixel has the colour the opaque rim gives it.
            const bool past = hardAlpha.GetAlpha(x, y) == 0 && now != 0;
            if (!past && (was == 0 || was == 255)) {
                ASSERT_EQ(image.GetPixel(x, y), hard.GetPixel(x, y)) << x << "," << y;
            }
        }
    EXPECT_EQ(seams, 0);
    EXPECT_LE(error / edge, 20) << edge << " edge pixels";
}

std::vector<RimCase> RimCases() {
    std::vector<RimCase> cases;
    for (const char* shape : {"disk", "square"}) {
        for (const int width : {1, 2, 3, 5, 8, 13, 21, 30})
            cases.push_back({shape, width, true});
        cases.push_back({shape, 6, false});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Shapes, SoftRim, ::testing::ValuesIn(RimCases()), [](const auto& c) {
    return std::string(c.param.shape) + "_width" + std::to_string(c.param.width) +
           (c.param.soft ? "_soft" : "_hard");
});

} // namespace

} // namespace pelto
