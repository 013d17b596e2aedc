// Transparency in the engine: fully transparent pixels select as a pick
// would, and an outer band grows over them taking the colour of the shape
// pixel the brute force finds, while an inner band leaves the opacity alone.
// On soft-edged shapes, drawn with exact coverage or with an opacity falling
// over several pixels, the rim is measured against the shape grown by the
// width; narrow rims keep a picture's symmetry and close what the grown edges
// cover together.

#include "RandomRasters.h"
#include "ReferenceBevel.h"
#include "engine/BackgroundSelection.h"
#include "engine/Bevel.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <utility>

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

// A shape by its signed distance from a point, negative inside: a disk and a
// square turned 0.37 rad, both off the pixel grid.
double DistanceTo(const char* shape, double x, double y) {
    const double cx = 62.3, cy = 61.6;
    if (std::string(shape) == "disk") return std::hypot(x - cx, y - cy) - 24;
    static const double c = std::cos(0.37), s = std::sin(0.37);
    const double u = std::fabs((x - cx) * c + (y - cy) * s) - 20;
    const double v = std::fabs((y - cy) * c - (x - cx) * s) - 20;
    if (u <= 0 && v <= 0) return std::max(u, v);
    return std::hypot(std::max(u, 0.0), std::max(v, 0.0));
}

// fn(distance) summed over 16 x 16 samples of pixel (x, y).
template <typename Fn> double Sampled(const char* shape, int x, int y, Fn fn) {
    double sum = 0;
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            sum += fn(DistanceTo(shape, x + (i + 0.5) / 16, y + (j + 0.5) / 16));
    return sum;
}

// The part of pixel (x, y) within `reach` of the shape, in samples of 256.
int Covered(const char* shape, int x, int y, double reach) {
    const double centre = DistanceTo(shape, x + 0.5, y + 0.5);
    if (centre > reach + 0.75) return 0;
    if (centre < reach - 0.75) return 256;
    return int(Sampled(shape, x, y, [&](double d) { return d <= reach; }));
}

constexpr int kPixelArt = -1;

struct RimCase {
    const char* shape;
    int width;
    // kPixelArt: opaque where half covered; 0: drawn with exact coverage;
    // else the opacity falls linearly over this many pixels across the outline.
    int edge;
};

uint8_t OpacityOf(const RimCase& c, int x, int y) {
    if (c.edge == kPixelArt) return Covered(c.shape, x, y, 0) >= 128 ? 255 : 0;
    if (c.edge == 0) return uint8_t((Covered(c.shape, x, y, 0) * 255 + 128) / 256);
    const double centre = DistanceTo(c.shape, x + 0.5, y + 0.5);
    if (std::fabs(centre) > c.edge / 2.0 + 0.75) return centre < 0 ? 255 : 0;
    const double fall =
        Sampled(c.shape, x, y, [&](double d) { return std::clamp(0.5 - d / c.edge, 0.0, 1.0); });
    return uint8_t(std::lround(fall * 255 / 256));
}

Bytes OpacityBytes(const CAlphaPlane& alpha) {
    return Bytes(alpha.Row(0), alpha.Row(0) + size_t(alpha.Width()) * size_t(alpha.Height()));
}

// The outer band of params over picture and its opacity, on the given threads.
void GrowRim(const CDIB& picture, const CAlphaPlane& opacity, const ButtonParams& params,
             unsigned threads, CDIB& image, CAlphaPlane& alpha) {
    std::unique_ptr<CMaskDIB> mask;
    SelectTransparent(opacity, mask);
    image.Copy(picture);
    alpha.Copy(opacity);
    CHeightDIB heights(picture.m_nWidth, picture.m_nHeight);
    CTransparentRim rim(image, alpha);
    ComputeBevelHeights(*mask, params, heights, threads, &rim);
    ShadeBevel(image, heights, params.contrast, threads, &rim);
}

class SoftRim : public ::testing::TestWithParam<RimCase> {};

TEST_P(SoftRim, FollowsTheShapeGrownByTheWidthWithoutASeam) {
    const RimCase& c = GetParam();
    constexpr int kSide = 124;
    CAlphaPlane original(kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            original.SetAlpha(x, y, OpacityOf(c, x, y));
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

    CDIB image, other;
    CAlphaPlane alpha, otherAlpha;
    GrowRim(*picture, original, params, 1, image, alpha);
    GrowRim(*picture, original, params, 3, other, otherAlpha);
    ASSERT_EQ(BlockBytes(image), BlockBytes(other));
    ASSERT_EQ(OpacityBytes(alpha), OpacityBytes(otherAlpha));
    if (c.edge == kPixelArt) {
        EXPECT_EQ(BlockBytes(image), BlockBytes(hard));
        EXPECT_EQ(OpacityBytes(alpha), OpacityBytes(hardAlpha));
        return;
    }
    // The shape's soft edge lies wholly inside the rim, which reaches at most
    // half the edge's fall and a pixel past the shape grown by the width.
    const double reach = c.width + std::max(c.edge, 1) / 2.0 + 1;
    int seeThrough = 0, spilt = 0, edge = 0;
    double error = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const uint8_t was = original.GetAlpha(x, y), now = alpha.GetAlpha(x, y);
            // At least as opaque as the shape grown by half a pixel less covers
            // it: the edge is placed inside its pixels to within that.
            const int least = was != 0 ? 255 : Covered(c.shape, x, y, c.width - 0.5) * 255 / 256;
            seeThrough += now < least;
            spilt += now != 0 && Covered(c.shape, x, y, reach) == 0;
            const int ideal = Covered(c.shape, x, y, c.width);
            if (c.edge == 0 && was == 0 && ideal != 0 && ideal != 256) {
                ++edge;
                error += std::fabs(now - ideal * 255.0 / 256);
            }
            // Every other pixel has the colour the opaque rim gives it.
            const bool past = hardAlpha.GetAlpha(x, y) == 0 && now != 0;
            if (!past && (was == 0 || was == 255)) {
                ASSERT_EQ(image.GetPixel(x, y), hard.GetPixel(x, y)) << x << "," << y;
            }
        }
    EXPECT_EQ(seeThrough, 0);
    EXPECT_EQ(spilt, 0);
    if (c.edge == 0) {
        EXPECT_LE(error / edge, 20) << edge << " edge pixels";
    }
}

std::vector<RimCase> RimCases() {
    std::vector<RimCase> cases;
    for (const char* shape : {"disk", "square"}) {
        for (const int width : {1, 2, 3, 5, 8, 13, 21, 30})
            cases.push_back({shape, width, 0});
        for (int edge = 1; edge <= 6; ++edge)
            for (const int width : {1, 2, 3, 5, 12, 30})
                cases.push_back({shape, width, edge});
        cases.push_back({shape, 6, kPixelArt});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Shapes, SoftRim, ::testing::ValuesIn(RimCases()), [](const auto& c) {
    const int edge = c.param.edge;
    return std::string(c.param.shape) + "_width" + std::to_string(c.param.width) +
           (edge == kPixelArt ? "_pixelart"
            : edge == 0       ? "_exact"
                              : "_fall" + std::to_string(edge));
});

// Narrow rims around a small soft disk with faint specks about it and a
// pinhole at its centre whose four sides are half covered, all symmetric
// under both mirrors and the diagonal.
class NarrowRim : public ::testing::TestWithParam<int> {
protected:
    static constexpr int kSide = 41, kCentre = 20;
    static CAlphaPlane SpeckledDisk() {
        CAlphaPlane alpha(kSide, kSide);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                int inside = 0;
                for (int i = 0; i < 16; ++i)
                    for (int j = 0; j < 16; ++j) {
                        const double dx = x + (i + 0.5) / 16 - kCentre - 0.5,
                                     dy = y + (j + 0.5) / 16 - kCentre - 0.5;
                        inside += dx * dx + dy * dy <= 9.3 * 9.3;
                    }
                alpha.SetAlpha(x, y, uint8_t((inside * 255 + 128) / 256));
            }
        for (const auto& [u, v] : {std::pair{11, 3}, std::pair{12, 0}, std::pair{8, 8}})
            for (const int su : {-1, 1})
                for (const int sv : {-1, 1}) {
                    alpha.SetAlpha(kCentre + su * u, kCentre + sv * v, 1);
                    alpha.SetAlpha(kCentre + sv * v, kCentre + su * u, 1);
                }
        alpha.SetAlpha(kCentre, kCentre, 0);
        for (const int side : {-1, 1}) {
            alpha.SetAlpha(kCentre + side, kCentre, 128);
            alpha.SetAlpha(kCentre, kCentre + side, 128);
        }
        return alpha;
    }
    static Bytes Rim(const CAlphaPlane& opacity, int width) {
        std::mt19937 rng{uint32_t(width)};
        const auto picture = RandomPicture(kSide, kSide, rng);
        CDIB image;
        CAlphaPlane alpha;
        GrowRim(*picture, opacity, RandomParams(width, true, rng), 2, image, alpha);
        return OpacityBytes(alpha);
    }
};

TEST_P(NarrowRim, GivesMirrorImagesTheSameOpacity) {
    const Bytes alpha = Rim(SpeckledDisk(), GetParam());
    const auto at = [&](int x, int y) { return int(alpha[size_t(y) * kSide + size_t(x)]); };
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            ASSERT_EQ(at(x, y), at(kSide - 1 - x, y)) << x << "," << y;
            ASSERT_EQ(at(x, y), at(x, kSide - 1 - y)) << x << "," << y;
            ASSERT_EQ(at(x, y), at(y, x)) << x << "," << y;
        }
}

// The edges across the pinhole's sides, grown by a pixel, meet at its centre.
TEST_P(NarrowRim, FillsAPinholeTheGrownEdgesCover) {
    EXPECT_EQ(Rim(SpeckledDisk(), GetParam())[size_t(kCentre) * kSide + kCentre], 255);
}

// More shape never makes the rim more transparent: a faint speck beside the
// edge does not hide a nearer-lying opaque edge from the pixels around it.
TEST_P(NarrowRim, TakesNoOpacityAwayForAFaintSpeck) {
    const CAlphaPlane disk = SpeckledDisk();
    const Bytes before = Rim(disk, GetParam());
    for (int y = 8; y < kSide - 8; ++y)
        for (int x = 8; x < kSide - 8; ++x) {
            // Filling the pinhole would take the rim inside it away.
            if (disk.GetAlpha(x, y) != 0 || (x == kCentre && y == kCentre)) continue;
            CAlphaPlane speckled;
            speckled.Copy(disk);
            speckled.SetAlpha(x, y, 1);
            const Bytes after = Rim(speckled, GetParam());
            for (size_t i = 0; i < after.size(); ++i)
                ASSERT_GE(after[i], before[i])
                    << "speck " << x << "," << y << " at " << i % kSide << "," << i / kSide;
        }
}

INSTANTIATE_TEST_SUITE_P(Widths, NarrowRim, ::testing::Values(1, 2, 3));

} // namespace

} // namespace pelto
