// The preview's bevel against MakeButton's, byte for byte, over random masks
// and sequences of button values that keep, change or outgrow the kept points.

#include "RandomRasters.h"
#include "engine/Bevel.h"
#include "engine/BevelPoints.h"
#include "engine/BevelPreview.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace pelto {

namespace {

// What MakeButton writes: both passes, straight into the picture.
Bytes MadeButton(const CDIB& picture, const CMaskDIB& mask, const ButtonParams& params) {
    CDIB made;
    made.Copy(picture);
    CHeightDIB heights(mask.m_nWidth, mask.m_nHeight);
    ComputeBevelHeights(mask, params, heights, 1);
    ShadeBevel(made, heights, params.contrast, 1);
    return BlockBytes(made);
}

// A random picture with bytes before and after its pixels, which a render
// into a reused result must put back too.
std::unique_ptr<CDIB> PictureWithGaps(int width, int height, std::mt19937& rng) {
    auto dib = std::make_unique<CDIB>();
    const BmpOptions options{uint32_t(rng() % 3) * 4, uint32_t(rng() % 3) * 5};
    LoadBytes(*dib,
              MakeBmp24(
                  width, height, [&](int, int) { return COLORREF(rng() & 0xFFFFFF); }, options));
    return dib;
}

TEST(BevelPreview, RendersMakeButtonsBytesForEveryValueInTurn) {
    std::mt19937 rng(20261209);
    int renders = 0;
    for (int kind = 0; kind < int(MaskKind::kCount); ++kind)
        for (int round = 0; round < 4; ++round) {
            const int w = 1 + int(rng() % 70), h = 1 + int(rng() % 50);
            const auto mask = RandomMask(MaskKind(kind), w, h, rng);
            const auto picture = PictureWithGaps(w, h, rng);
            CBevelPreview preview(*picture, *mask);
            const std::string what = std::string(KindName(MaskKind(kind))) + " " +
                                     std::to_string(w) + "x" + std::to_string(h);
            // New lighting on kept points, then a new width or outline, now
            // and then beyond what the points keep, and back. Each render goes
            // into a new result and into one reused from render to render,
            // now and then scribbled over.
            CDIB reused;
            int width = int(rng() % 8);
            bool outer = rng() % 2;
            for (int step = 0; step < 8; ++step) {
                if (step % 3 == 2) width = std::array{0, 1, 2, 5, 12, 30, 131}[rng() % 7];
                if (step % 4 == 3) outer = !outer;
                const ButtonParams params = RandomParams(width, outer, rng);
                if (reused.HasBlock() && step % 2)
                    for (uint32_t i = 0; i < reused.m_nFileSize; ++i)
                        reused.m_pFileImage[i] = uint8_t(rng());
                const unsigned threads = 1 + unsigned(step % 3);
                CDIB result;
                preview.Render(params, result, threads);
                preview.Render(params, reused, threads);
                const Bytes made = MadeButton(*picture, *mask, params);
                const auto context = [&] {
                    return what + " angle " + std::to_string(params.angle) + " contrast " +
                           std::to_string(params.contrast) + " width " + std::to_string(width) +
                           (outer ? " outer" : " inner") + " shape " +
                           (params.Round() ? "round" : "cut");
                };
                ASSERT_EQ(BlockBytes(result), made) << context();
                ASSERT_EQ(BlockBytes(reused), made) << "reused result, " << context();
                ++renders;
            }
        }
    EXPECT_EQ(renders, int(MaskKind::kCount) * 4 * 8);
}

// The kept points give the heights the plain pass writes, field for field.
TEST(BevelPoints, WriteTheHeightsOfThePlainPass) {
    std::mt19937 rng(7);
    for (const MaskKind kind : {MaskKind::Blobs, MaskKind::Noise, MaskKind::AnyByte})
        for (const int width : {1, 3, 30, CBevelPoints::kMaxWidth}) {
            const auto mask = RandomMask(kind, 45, 37, rng);
            const CBevelPoints points(*mask, width, kind == MaskKind::Noise, 2);
            for (int i = 0; i < 3; ++i) {
                const ButtonParams params = RandomParams(width, kind == MaskKind::Noise, rng);
                CHeightDIB kept(45, 37), plain(45, 37);
                const size_t bytes = size_t(plain.m_nStride) * plain.m_nHeight;
                points.WriteHeights(params, kept);
                ComputeBevelHeights(*mask, params, plain, 1 + unsigned(i));
                EXPECT_EQ(0, std::memcmp(kept.m_pBits, plain.m_pBits, bytes))
                    << KindName(kind) << " width " << width;
                points.ClearHeights(kept);
                EXPECT_EQ(0, std::memcmp(kept.m_pBits, CHeightDIB(45, 37).m_pBits, bytes))
                    << "cleared";
            }
            const BevelOutline outline = BevelOutline(kind == MaskKind::Noise ? 5 : 0);
            EXPECT_TRUE(points.Serve({0, 1, width, BevelShape::Cut, outline}));
            EXPECT_FALSE(points.Serve({0, 1, width + 1, BevelShape::Cut, outline}));
        }
}

// On transparency the preview grows the outer rim as MakeButton's passes do,
// colours and opacity alike, kept points or the plain pass, hard or soft edged.
TEST(BevelPreview, GrowsTheRimOverTransparencyAsTheButtonDoes) {
    std::mt19937 rng(7);
    for (int n = 0; n < 24 && !HasFailure(); ++n) {
        const auto mask = RandomMask(MaskKind::Blobs, 30 + n, 20, rng);
        const auto picture = RandomPicture(30 + n, 20, rng);
        CAlphaPlane alpha(mask->m_nWidth, mask->m_nHeight);
        for (int y = 0; y < mask->m_nHeight; ++y)
            for (int x = 0; x < mask->m_nWidth; ++x)
                if (mask->GetValue({x, y}) != 0 && rng() % 3)
                    alpha.SetAlpha(x, y, 0);
                else if (n % 3 && rng() % 4 == 0)
                    alpha.SetAlpha(x, y, uint8_t(1 + rng() % 254));
        CBevelPreview preview(*picture, *mask, &alpha);
        for (const int width : {n % 7 + 1, 0}) {
            const ButtonParams params = RandomParams(width, n % 2 == 0, rng);
            CDIB made;
            made.Copy(*picture);
            CAlphaPlane madeAlpha;
            madeAlpha.Copy(alpha);
            CHeightDIB heights(mask->m_nWidth, mask->m_nHeight);
            CTransparentRim rim(made, madeAlpha);
            ComputeBevelHeights(*mask, params, heights, 1, &rim);
            ShadeBevel(made, heights, params.contrast, 1, &rim);

            CDIB result;
            CAlphaPlane resultAlpha;
            preview.Render(params, result, 2, &resultAlpha);
            ASSERT_EQ(BlockBytes(result), BlockBytes(made)) << n << " width " << width;
            for (int y = 0; y < mask->m_nHeight; ++y)
                ASSERT_EQ(0,
                          std::memcmp(resultAlpha.Row(y), madeAlpha.Row(y), size_t(alpha.Width())));
        }
    }
}

} // namespace

} // namespace pelto
