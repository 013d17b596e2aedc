// The fast bevel against the plain point-by-point one: the same found point
// for every pixel, ties included, and the same heights and picture bytes for
// any number of threads.

#include "RandomRasters.h"
#include "ReferenceBevel.h"
#include "engine/BandReach.h"
#include "engine/Bevel.h"
#include "engine/HeightAverage.h"
#include "engine/LightnessColor.h"
#include "engine/LightnessShift.h"
#include "engine/NearestSearch.h"
#include "image/AlphaPlane.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <random>
#include <span>
#include <string>

namespace pelto {

namespace {

// The found points (in whole segments and in narrow ones), the heights and
// the shaded picture, fast against reference.
// onePass: MakeBevel too.
void ExpectSameBevel(const CMaskDIB& mask, const ButtonParams& params,
                     std::initializer_list<unsigned> threadCounts, std::mt19937& rng,
                     const std::string& what, bool onePass = true) {
    CHeightDIB expectedHeights(mask.m_nWidth, mask.m_nHeight);
    EXPECT_EQ(FoundPointsDiffer(mask, params, CNearestSearch::kSegmentColumns, expectedHeights), "")
        << what;
    const int narrow = std::uniform_int_distribution<int>(1, 13)(rng);
    CHeightDIB again(mask.m_nWidth, mask.m_nHeight);
    EXPECT_EQ(FoundPointsDiffer(mask, params, narrow, again), "")
        << what << ", segments of " << narrow;
    const auto original = RandomPicture(mask.m_nWidth, mask.m_nHeight, rng);
    CDIB expectedPicture;
    expectedPicture.Copy(*original);
    ReferenceShadeBevel(expectedPicture, expectedHeights, params.contrast);

    for (unsigned threads : threadCounts) {
        CHeightDIB heights(mask.m_nWidth, mask.m_nHeight);
        ComputeBevelHeights(mask, params, heights, threads);
        ASSERT_EQ(BlockBytes(heights), BlockBytes(expectedHeights))
            << what << " threads " << threads;
        CDIB picture;
        picture.Copy(*original);
        ShadeBevel(picture, heights, params.contrast, threads);
        EXPECT_EQ(BlockBytes(picture), BlockBytes(expectedPicture))
            << what << " threads " << threads;
        // Both passes at once, a run of rows at a time.
        if (!onePass) continue;
        picture.Copy(*original);
        MakeBevel(picture, mask, params, threads);
        EXPECT_EQ(BlockBytes(picture), BlockBytes(expectedPicture))
            << what << " both passes at once, threads " << threads;
    }
    // The rows found beyond the band hold no height.
    const std::vector<uint8_t> beyond = RowsBeyondBand(mask, params.width, params.Outer());
    for (int y = 0; y < mask.m_nHeight; ++y)
        for (int x = 0; x < mask.m_nWidth && beyond[size_t(y)]; ++x)
            ASSERT_EQ(expectedHeights.GetHeight(CPoint(x, y)), 0) << what << " row " << y;
}

std::string Describe(MaskKind kind, int w, int h, const ButtonParams& p, uint32_t seed) {
    return std::string(KindName(kind)) + " " + std::to_string(w) + "x" + std::to_string(h) +
           " width " + std::to_string(p.width) + (p.Outer() ? " outer" : " inner") + " angle " +
           std::to_string(p.angle) + " contrast " + std::to_string(p.contrast) + " shape " +
           (p.Round() ? "round" : "cut") + " seed " + std::to_string(seed);
}

// Thousands of small masks of every kind, every width 0..30 both ways.
TEST(FastBevel, FindsTheBruteForcePointOnRandomMasks) {
    std::mt19937 rng(20240605);
    constexpr int kMasks = 1800;
    for (int n = 0; n < kMasks && !HasFailure(); ++n) {
        const uint32_t seed = rng();
        std::mt19937 caseRng(seed);
        const auto kind = static_cast<MaskKind>(n % static_cast<int>(MaskKind::kCount));
        const int limit = n % 5 == 0 ? 48 : 20;
        const int w = n < 20 ? 1 + n % 3 : std::uniform_int_distribution<int>(1, limit)(caseRng);
        const int h =
            n < 20 ? 1 + n / 3 % 3 : std::uniform_int_distribution<int>(1, limit)(caseRng);
        const auto mask = RandomMask(kind, w, h, caseRng);
        for (bool outer : {false, true}) {
            const ButtonParams params = RandomParams(n % (kWidthRange.high + 1), outer, caseRng);
            // Every fourth mask through the one-pass bevel too: the light's
            // table it makes costs more than such a mask's bevel.
            ExpectSameBevel(*mask, params, {1u + n % 3}, caseRng,
                            Describe(kind, w, h, params, seed), n % 4 == 0);
        }
    }
}

// Pictures tall enough for several bands and for the search's row chunks to
// end inside them; the bytes must not depend on the thread count.
TEST(FastBevel, SameBytesForEveryThreadCount) {
    std::mt19937 rng(77);
    struct Case {
        MaskKind kind;
        int w, h, width;
    };
    for (const Case c : {Case{MaskKind::Blobs, 90, 200, 30}, Case{MaskKind::Noise, 70, 130, 7},
                         Case{MaskKind::EdgeShapes, 2100, 300, 5},
                         Case{MaskKind::Noise, 2100, 260, 2}, Case{MaskKind::Lines, 60, 150, 12}})
        for (bool outer : {false, true}) {
            const uint32_t seed = rng();
            std::mt19937 caseRng(seed);
            const auto mask = RandomMask(c.kind, c.w, c.h, caseRng);
            const ButtonParams params = RandomParams(c.width, outer, caseRng);
            ExpectSameBevel(*mask, params, {1u, 2u, 3u, 8u}, caseRng,
                            Describe(c.kind, c.w, c.h, params, seed));
        }
}

// The rows a caller hears of are final when it hears of them, each once,
// from every band and the rows' runs ending inside the bands; with a rim,
// once it has finished the soft edge.
TEST(FastBevel, TellsEachRowOnceWhenItIsFinal) {
    std::mt19937 rng(41);
    const int w = 37, h = 301;
    const auto mask = RandomMask(MaskKind::Blobs, w, h, rng);
    const auto original = RandomPicture(w, h, rng);
    for (bool withRim : {false, true})
        for (unsigned threads : {1u, 2u, 3u, 8u}) {
            const ButtonParams params = RandomParams(9, withRim, rng);
            CDIB picture;
            picture.Copy(*original);
            CAlphaPlane alpha(w, h);
            CTransparentRim rim(picture, alpha);
            CTransparentRim* grow = withRim ? &rim : nullptr;
            CHeightDIB heights(w, h);
            ComputeBevelHeights(*mask, params, heights, threads, grow);
            const size_t stride = CDIB::Stride24(w);
            std::vector<uint8_t> seen(stride * h);
            std::vector<int> told(h);
            std::mutex m;
            ShadeBevel(picture, heights, params.contrast, threads, grow, [&](int first, int last) {
                const std::lock_guard lock(m);
                for (int y = first; y < last; ++y) {
                    ++told[y];
                    std::memcpy(&seen[stride * y], picture.Row(y), stride);
                }
            });
            EXPECT_EQ(told, std::vector<int>(h, 1)) << "threads " << threads << " rim " << withRim;
            EXPECT_EQ(std::memcmp(seen.data(), picture.Row(0), seen.size()), 0)
                << "threads " << threads << " rim " << withRim;
            if (withRim) continue;
            // Both passes at once, the rows beyond the band told before the rest.
            picture.Copy(*original);
            std::fill(told.begin(), told.end(), 0);
            MakeBevel(picture, *mask, params, threads, [&](int first, int last) {
                const std::lock_guard lock(m);
                for (int y = first; y < last; ++y) {
                    ++told[y];
                    std::memcpy(&seen[stride * y], picture.Row(y), stride);
                }
            });
            EXPECT_EQ(told, std::vector<int>(h, 1)) << "both passes, threads " << threads;
            EXPECT_EQ(std::memcmp(seen.data(), picture.Row(0), seen.size()), 0)
                << "both passes, threads " << threads;
        }
}

// A shape across the whole picture in stored rows [40, 60) of 100: an inner
// band of 5 cannot reach the rows outside it, nor its middle; an outer one
// only the rows within 5 of it.
TEST(RowsBeyondBand, AreTheRowsOutOfTheBandsReach) {
    const int w = 23, h = 100;
    CMaskDIB mask(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            mask.SetValue(CPoint(x, y), y >= 40 && y < 60 ? 0 : 1);
    for (bool outer : {false, true}) {
        const std::vector<uint8_t> beyond = RowsBeyondBand(mask, 5, outer, 2);
        for (int y = 0; y < h; ++y) {
            const bool inShape = y >= 40 && y < 60;
            const bool reached =
                outer ? !inShape && y >= 35 && y < 65 : inShape && (y < 45 || y >= 55);
            EXPECT_EQ(beyond[size_t(y)], reached ? 0 : 1)
                << (outer ? "outer" : "inner") << " " << y;
        }
    }
}

// Speckled masks, where nearly every pixel is settled by its eight neighbours:
// the smallest widths (a radius of 1 reaches no diagonal), bytes that are
// neither kind, rows that do not end on a whole word.
TEST(FastBevel, NeighboursSettleSpeckledMasksLikeTheBruteForce) {
    std::mt19937 rng(909);
    for (MaskKind kind : {MaskKind::Noise, MaskKind::AnyByte})
        for (int width : {1, 2, 3})
            for (bool outer : {false, true})
                for (int n = 0; n < 4; ++n) {
                    const uint32_t seed = rng();
                    std::mt19937 caseRng(seed);
                    const int w = 33 + n * 7, h = 29;
                    const auto mask = RandomMask(kind, w, h, caseRng);
                    const ButtonParams params = RandomParams(width, outer, caseRng);
                    ExpectSameBevel(*mask, params, {1u + unsigned(n) % 2}, caseRng,
                                    Describe(kind, w, h, params, seed));
                }
}

// Widths no dialog offers still give the brute force's answer.
TEST(FastBevel, WidthsBeyondTheDialogsRange) {
    std::mt19937 rng(5);
    for (int width : {31, 45, 254, 255})
        for (bool outer : {false, true}) {
            const uint32_t seed = rng();
            std::mt19937 caseRng(seed);
            const auto mask = RandomMask(MaskKind::Blobs, 13, 11, caseRng);
            const ButtonParams params = RandomParams(width, outer, caseRng);
            // The widest light tables take long to make: the two passes make them once.
            ExpectSameBevel(*mask, params, {2u}, caseRng,
                            Describe(MaskKind::Blobs, 13, 11, params, seed), width < 100);
        }
}

TEST(ShiftLightness, MatchesTheColourModelForEveryColour) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> delta(-530, 530);
    CLightnessColor reference;
    int failures = 0;
    for (COLORREF c = 0; c < (1u << 24) && failures < 5; ++c) {
        const int d = c % 7 == 0 ? 0 : delta(rng);
        COLORREF expected = c | 0x5A000000u; // the top byte is carried through
        reference.Decompose(expected);
        reference.AddLightness(d);
        reference.Compose(expected);
        const COLORREF got = ShiftLightness(c | 0x5A000000u, d);
        if (got != expected) {
            ADD_FAILURE() << std::hex << "colour " << c << " shift " << std::dec << d;
            ++failures;
        }
    }
}

TEST(DivideByWeight, TruncatesLikeTheDivisionForEveryWeightAndSum) {
    for (int weight = 6; weight <= 90; ++weight) {
        int failures = 0;
        for (int n = 0; n <= 90 * 32768 && failures < 3; ++n)
            if (DivideByWeight(n, weight) != n / weight ||
                DivideByWeight(-n, weight) != -n / weight) {
                ADD_FAILURE() << n << " / " << weight;
                ++failures;
            }
    }
}

TEST(AverageHeight, MatchesTheHeightRasterOnRandomFields) {
    std::mt19937 rng(11);
    for (int n = 0; n < 300; ++n) {
        const int w = 1 + int(rng() % 24), h = 1 + int(rng() % 12);
        CHeightDIB heights(w, h);
        const bool extreme = n % 3 == 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (rng() % 3)
                    heights.SetHeight(CPoint(x, y), extreme ? int(rng() % 65536) - 32768
                                                            : int(rng() % 2000) - 200);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(AverageHeight(heights, x, y), heights.GetAverageHeight(CPoint(x, y)))
                    << w << "x" << h << " at " << x << "," << y << " case " << n;
#if defined(__SSE2__)
        // Eight at a time, wherever all eight are two points inside.
        for (int y = 2; y + 2 < h; ++y)
            for (int x = 2; x + 8 + 2 <= w; ++x) {
                int32_t eight[8];
                AverageHeights8(heights, x, y, eight);
                for (int i = 0; i < 8; ++i)
                    ASSERT_EQ(eight[i], heights.GetAverageHeight(CPoint(x + i, y)))
                        << w << "x" << h << " at " << x + i << "," << y << " case " << n;
            }
#endif
    }
}

} // namespace

} // namespace pelto
