// Transparency in the engine: fully transparent pixels select as a pick
// would, and an outer band grows over them taking the colour of the shape
// pixel the brute force finds, while an inner band leaves the opacity alone.

#include "RandomRasters.h"
#include "ReferenceBevel.h"
#include "engine/BackgroundSelection.h"
#include "engine/Bevel.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <random>

namespace pelto {

namespace {

// Transparent where the mask selects, half transparent here and there, opaque elsewhere.
CAlphaPlane AlphaOf(const CMaskDIB& mask, std::mt19937& rng) {
    CAlphaPlane alpha(mask.m_nWidth, mask.m_nHeight);
    for (int y = 0; y < mask.m_nHeight; ++y)
        for (int x = 0; x < mask.m_nWidth; ++x)
            alpha.SetAlpha(x, y, mask.GetValue({x, y}) != 0 ? 0 : rng() % 4 ? 255 : 128);
    return alpha;
}

TEST(TransparentRim, SelectsTheTransparentPixelsAndGrowsTheOuterBandOverThem) {
    std::mt19937 rng(20261209);
    for (int n = 0; n < 120 && !HasFailure(); ++n) {
        const auto kind = MaskKind(n % int(MaskKind::AnyByte));
        const int w = 1 + int(rng() % 40), h = 1 + int(rng() % 30);
        const auto drawn = RandomMask(kind, w, h, rng);
        const CAlphaPlane original = AlphaOf(*drawn, rng);
        std::unique_ptr<CMaskDIB> mask;
        SelectTransparent(original, mask);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(mask->GetValue({x, y}), drawn->GetValue({x, y}) ? CheckerValue(x, y) : 0)
                    << KindName(kind) << " " << w << "x" << h << " at " << x << "," << y;

        const ButtonParams params = RandomParams(1 + int(rng() % 8), n % 2, rng);
        const auto picture = RandomPicture(w, h, rng);
        CDIB expected;
        expected.Copy(*picture);
        CAlphaPlane expectedAlpha;
        expectedAlpha.Copy(original);
        CHeightDIB heights(w, h);
        ReferenceBevelHeights(*mask, params, heights, [&](CPoint pixel, CPoint found) {
            if (!params.Outer() || expectedAlpha.GetAlpha(pixel.x, pixel.y) != 0) return;
            expected.SetPixel(pixel.x, pixel.y, picture->GetPixel(found.x, found.y));
            expectedAlpha.SetAlpha(pixel.x, pixel.y, 255);
        });

        CDIB grown;
        grown.Copy(*picture);
        CAlphaPlane alpha;
        alpha.Copy(original);
        CHeightDIB fast(w, h);
        const CTransparentRim rim{grown, alpha};
        ComputeBevelHeights(*mask, params, fast, 2, &rim);
        EXPECT_EQ(BlockBytes(grown), BlockBytes(expected))
            << KindName(kind) << " outer " << params.Outer();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(alpha.GetAlpha(x, y), expectedAlpha.GetAlpha(x, y)) << x << "," << y;
        EXPECT_EQ(BlockBytes(fast), BlockBytes(heights));
    }
}

} // namespace

} // namespace pelto
