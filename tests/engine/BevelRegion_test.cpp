// The preview of parts against MakeButton's whole picture, byte for byte
// within the areas shaded, and the picture's own bytes everywhere else.

#include "RandomRasters.h"
#include "engine/Bevel.h"
#include "engine/BevelPreview.h"
#include "engine/BevelRegion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace pelto {

namespace {

// What MakeButton makes: both passes straight into a copy, the rim over transparency too.
struct Made {
    CDIB picture;
    CAlphaPlane alpha;
};

void MakeButton(const CDIB& picture, const CMaskDIB& mask, const CAlphaPlane* alpha,
                const ButtonParams& params, Made& made) {
    made.picture.Copy(picture);
    CHeightDIB heights(mask.m_nWidth, mask.m_nHeight);
    if (!alpha) {
        ComputeBevelHeights(mask, params, heights, 1);
        ShadeBevel(made.picture, heights, params.contrast, 1);
        return;
    }
    made.alpha.Copy(*alpha);
    CTransparentRim rim(made.picture, made.alpha);
    ComputeBevelHeights(mask, params, heights, 1, &rim);
    ShadeBevel(made.picture, heights, params.contrast, 1, &rim);
}

bool Inside(const std::vector<PixelArea>& areas, int x, int y) {
    for (const PixelArea& a : areas)
        if (x >= a.x0 && x < a.x1 && y >= a.y0 && y < a.y1) return true;
    return false;
}

// Every pixel and opacity of canvas: made's within its shaded areas, the
// picture's elsewhere. Returns the first that differs, or "".
std::string Differs(const CPreviewCanvas& canvas, const CDIB& picture, const CAlphaPlane* alpha,
                    const Made& made) {
    for (int y = 0; y < picture.m_nHeight; ++y)
        for (int x = 0; x < picture.m_nWidth; ++x) {
            const bool shaded = Inside(canvas.shaded, x, y);
            const uint8_t* want = (shaded ? made.picture : picture).Row(y) + 3 * x;
            const bool same = std::memcmp(canvas.picture.Row(y) + 3 * x, want, 3) == 0 &&
                              (!alpha || canvas.alpha.GetAlpha(x, y) ==
                                             (shaded ? made.alpha : *alpha).GetAlpha(x, y));
            if (!same)
                return "pixel " + std::to_string(x) + "," + std::to_string(y) +
                       (shaded ? " shaded" : " left");
        }
    return "";
}

std::string Name(const PixelArea& a) {
    return "[" + std::to_string(a.x0) + "," + std::to_string(a.y0) + " " + std::to_string(a.x1) +
           "," + std::to_string(a.y1) + ")";
}

constexpr int kW = 67, kH = 53;

// Corners, edges, a pixel, a sliver, the whole and past it, for a 67 x 53 picture.
const PixelArea kAreas[] = {
    {0, 0, 9, 7},    {kW - 9, kH - 7, kW, kH}, {0, kH - 1, 1, kH}, {kW - 1, 0, kW, 5},
    {0, 20, kW, 26}, {30, 0, 34, kH},          {31, 22, 32, 23},   {10, 8, 50, 40},
    {0, 0, kW, kH},  {-8, -3, 20, 70},         {40, 30, 90, 35},   {5, 5, 5, 9},
};

struct Case {
    MaskKind kind;
    int width;
    bool outer;
};

const Case kCases[] = {
    {MaskKind::Blobs, 1, false},       {MaskKind::Blobs, 5, true},
    {MaskKind::Noise, 3, false},       {MaskKind::Lines, 12, true},
    {MaskKind::EdgeShapes, 30, false}, {MaskKind::EdgeShapes, 7, true},
    {MaskKind::AnyByte, 9, true},      {MaskKind::Everything, 4, false},
    {MaskKind::Blobs, 80, false},      {MaskKind::Nothing, 2, true},
};

class BevelRegionTest : public ::testing::TestWithParam<Case> {};

// Each area on a canvas of its own, then all of them in turn on one canvas
// whose values change between them: angle, then width, then outline.
TEST_P(BevelRegionTest, ShadesTheAreasAsTheWholeButton) {
    const Case c = GetParam();
    std::mt19937 rng(unsigned(c.width * 31 + int(c.kind)));
    const auto mask = RandomMask(c.kind, kW, kH, rng);
    const auto picture = RandomPicture(kW, kH, rng);
    CBevelPreview preview(*picture, *mask);
    ButtonParams params = RandomParams(c.width, c.outer, rng);
    Made made;
    MakeButton(*picture, *mask, nullptr, params, made);
    for (const PixelArea& area : kAreas) {
        CPreviewCanvas canvas;
        preview.RenderArea(params, area, canvas, 1 + unsigned(area.x0 & 1));
        ASSERT_EQ(Differs(canvas, *picture, nullptr, made), "") << Name(area);
        const auto covers = [&](const PixelArea& a) { return a.Contains(area.Within(kW, kH)); };
        ASSERT_TRUE(area.Within(kW, kH).Empty() ||
                    std::any_of(canvas.shaded.begin(), canvas.shaded.end(), covers))
            << Name(area);
    }
    CPreviewCanvas canvas;
    int turn = 0;
    for (const PixelArea& area : kAreas) {
        if (turn % 3 == 1) params.angle = (params.angle + 45) % 360;
        if (turn % 4 == 2) params.width = c.width + turn % 3 - 1;
        if (turn == 9) params.outline = c.outer ? BevelOutline::Inner : BevelOutline::Outer;
        ++turn;
        MakeButton(*picture, *mask, nullptr, params, made);
        preview.RenderArea(params, area, canvas, 2);
        ASSERT_EQ(Differs(canvas, *picture, nullptr, made), "")
            << Name(area) << " width " << params.width << " turn " << turn;
    }
}

INSTANTIATE_TEST_SUITE_P(Masks, BevelRegionTest, ::testing::ValuesIn(kCases));

// Over transparency the outer rim grows within the areas as the whole
// button grows it, hard edged; a soft edge is rendered whole.
TEST(BevelRegion, GrowsTheRimWithinTheAreas) {
    std::mt19937 rng(41);
    for (int n = 0; n < 6; ++n) {
        const auto mask = RandomMask(MaskKind::Blobs, kW, kH, rng);
        const auto picture = RandomPicture(kW, kH, rng);
        CAlphaPlane alpha(kW, kH);
        const bool soft = n % 3 == 2;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (mask->GetValue({x, y}) != 0 && rng() % 3)
                    alpha.SetAlpha(x, y, 0);
                else if (soft && rng() % 4 == 0)
                    alpha.SetAlpha(x, y, uint8_t(1 + rng() % 254));
        CBevelPreview preview(*picture, *mask, &alpha);
        const ButtonParams params = RandomParams(1 + n % 6 * 2, n % 2 == 0, rng);
        Made made;
        MakeButton(*picture, *mask, &alpha, params, made);
        CPreviewCanvas canvas;
        for (const PixelArea& area : kAreas) {
            preview.RenderArea(params, area, canvas, 1);
            ASSERT_EQ(Differs(canvas, *picture, &alpha, made), "") << n << " " << Name(area);
        }
    }
}

// Row stripes shaded in place one after another make the whole button.
TEST(BevelRegion, ShadesRowStripesInPlace) {
    std::mt19937 rng(12);
    for (const int rows : {1, 7, 16, kH})
        for (const bool outer : {false, true}) {
            const auto mask = RandomMask(MaskKind::Blobs, kW, kH, rng);
            const auto picture = RandomPicture(kW, kH, rng);
            const ButtonParams params = RandomParams(1 + int(rng() % 12), outer, rng);
            Made made;
            MakeButton(*picture, *mask, nullptr, params, made);
            CDIB image;
            image.Copy(*picture);
            for (int y = 0; y < kH; y += rows) {
                const PixelArea stripe{0, y, kW, std::min(kH, y + rows)};
                CBevelRegion(*mask, stripe, params.width, outer, 1)
                    .Shade(params, image, stripe, image);
            }
            ASSERT_EQ(0, std::memcmp(image.m_pFileImage.get(), made.picture.m_pFileImage.get(),
                                     image.m_nFileSize))
                << rows << " rows a stripe, width " << params.width;
        }
}

} // namespace

} // namespace pelto
