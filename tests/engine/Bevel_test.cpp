#include "engine/BackgroundSelection.h"
#include "engine/Bevel.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace pelto {

namespace {

// What a new view, its button dialog and pelto-cli start with; the tests of
// those layers compare with ButtonParams{}.
TEST(ButtonParams, StartAtAngle0Contrast128AndACutInnerBandOf5) {
    EXPECT_EQ(ButtonParams{}, (ButtonParams{0, 128, 5, BevelShape::Cut, BevelOutline::Inner}));
}

struct HeightCase {
    int angle;
    BevelShape shape;
    BevelOutline outline;
    int dx, dy, expected;
};

class SampleHeights : public ::testing::TestWithParam<HeightCase> {};

TEST_P(SampleHeights, MatchTheLightingModel) {
    const HeightCase& c = GetParam();
    ButtonParams params;
    params.angle = c.angle;
    params.contrast = 128;
    params.width = 5;
    params.shape = c.shape;
    params.outline = c.outline;
    EXPECT_EQ(BevelHeight(c.dx, c.dy, params), c.expected);
}

constexpr BevelShape kCut = BevelShape::Cut, kRound = BevelShape::Round;
constexpr BevelOutline kInner = BevelOutline::Inner, kOuter = BevelOutline::Outer;

INSTANTIATE_TEST_SUITE_P(
    Table, SampleHeights,
    ::testing::Values(
        HeightCase{0, kCut, kInner, -2, 0, 384}, HeightCase{0, kCut, kInner, 2, 0, 128},
        HeightCase{0, kCut, kInner, 0, 3, 256}, HeightCase{90, kCut, kInner, 0, 3, 384},
        HeightCase{90, kCut, kInner, 0, -3, 128}, HeightCase{180, kCut, kInner, 2, 0, 384},
        HeightCase{270, kCut, kInner, 0, -1, 384}, HeightCase{45, kCut, kInner, -1, 1, 384},
        HeightCase{0, kRound, kInner, -1, 0, 409}, HeightCase{0, kRound, kInner, -5, 0, 256},
        HeightCase{0, kCut, kOuter, 2, 0, 384}, HeightCase{0, kCut, kOuter, -2, 0, 128},
        HeightCase{0, kRound, kOuter, 1, 0, 294}, HeightCase{0, kRound, kOuter, 5, 0, 448},
        // Exact fractions: the constant 3.1415926535 / 180 decides the last unit.
        HeightCase{150, kCut, kInner, 0, 3, 320}, HeightCase{210, kCut, kInner, 0, 3, 193},
        HeightCase{30, kCut, kInner, 0, 3, 319}));

TEST(BevelHeight, AnyNonZeroShapeIsRoundAndAnyNonZeroOutlineIsOuter) {
    ButtonParams params;
    params.width = 5;
    params.shape = BevelShape(7);
    params.outline = BevelOutline(-3);
    EXPECT_EQ(BevelHeight(5, 0, params), 448);
}

// A picture given as rows from the top, one letter per pixel.
struct Scene {
    std::vector<std::string> rows;
    std::map<char, COLORREF> colours;
};

std::unique_ptr<CDIB> Picture(const Scene& scene) {
    auto dib = std::make_unique<CDIB>();
    LoadBytes(*dib, MakeBmp24(int(scene.rows[0].size()), int(scene.rows.size()),
                              [&](int x, int y) { return scene.colours.at(scene.rows[y][x]); }));
    return dib;
}

// Selects the colour at (x, y from the top) with tolerance 0, then bevels.
void PickAndBevel(CDIB& image, int x, int y, const ButtonParams& params) {
    std::unique_ptr<CMaskDIB> mask;
    SelectBackground(image, mask, x, y, 0);
    ASSERT_TRUE(mask);
    CHeightDIB heights(image.m_nWidth, image.m_nHeight);
    ComputeBevelHeights(*mask, params, heights);
    ShadeBevel(image, heights, params.contrast);
}

const Scene kGreySquareOnWhite{{"wwwwwwww", "wwwwwwww", "wwggggww", "wwggggww", "wwggggww",
                                "wwggggww", "wwwwwwww", "wwwwwwww"},
                               {{'w', RGB(255, 255, 255)}, {'g', RGB(128, 128, 128)}}};

TEST(MakeButtonExample, InnerOutlineCutProfile) {
    auto image = Picture(kGreySquareOnWhite);
    PickAndBevel(*image, 0, 0, ButtonParams{0, 128, 1, BevelShape::Cut, BevelOutline::Inner});
    const int expected[4][4] = {
        {151, 135, 119, 103}, {157, 128, 128, 97}, {159, 128, 128, 95}, {167, 137, 117, 87}};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inSquare = x >= 2 && x <= 5 && y >= 2 && y <= 5;
            const int v = inSquare ? expected[y - 2][x - 2] : 255;
            EXPECT_EQ(ShownPixel(*image, x, y), RGB(v, v, v)) << x << "," << y;
        }
}

TEST(MakeButtonExample, OuterOutlineCutProfile) {
    auto image = Picture({{"gggggggg", "gggggggg", "ggrrrrgg", "ggrrrrgg", "ggrrrrgg", "ggrrrrgg",
                           "gggggggg", "gggggggg"},
                          {{'g', RGB(100, 100, 100)}, {'r', RGB(200, 50, 50)}}});
    PickAndBevel(*image, 0, 0, ButtonParams{90, 100, 1, BevelShape::Cut, BevelOutline::Outer});
    std::map<std::pair<int, int>, int> band; // (x, y from top) -> grey value
    const int top[4] = {132, 141, 141, 132}, sides[4] = {116, 107, 91, 82},
              bottom[4] = {66, 57, 57, 66};
    for (int i = 0; i < 4; ++i) {
        band[{2 + i, 1}] = top[i];
        band[{1, 2 + i}] = sides[i];
        band[{6, 2 + i}] = sides[i];
        band[{2 + i, 6}] = bottom[i];
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            COLORREF expected = RGB(100, 100, 100);
            if (x >= 2 && x <= 5 && y >= 2 && y <= 5) expected = RGB(200, 50, 50);
            if (auto it = band.find({x, y}); it != band.end())
                expected = RGB(it->second, it->second, it->second);
            EXPECT_EQ(ShownPixel(*image, x, y), expected) << x << "," << y;
        }
}

// Colour of every pixel as shown after a bevel of the scene.
std::vector<COLORREF> Bevelled(const Scene& scene, const ButtonParams& params) {
    auto image = Picture(scene);
    PickAndBevel(*image, 0, 0, params);
    std::vector<COLORREF> out;
    for (size_t y = 0; y < scene.rows.size(); ++y)
        for (size_t x = 0; x < scene.rows[0].size(); ++x)
            out.push_back(ShownPixel(*image, int(x), int(y)));
    return out;
}

const Scene kVerticalLine{{"www.www", "www.www", "www.www", "www.www", "www.www"},
                          {{'w', RGB(255, 255, 255)}, {'.', RGB(128, 128, 128)}}};
const Scene kHorizontalLine{{"wwwww", "wwwww", ".....", "wwwww", "wwwww"},
                            {{'w', RGB(255, 255, 255)}, {'.', RGB(128, 128, 128)}}};

struct LineCase {
    const char* name;
    const Scene* scene;
    int angle;
    int grey; // every line pixel afterwards
};

class OnePixelLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(OnePixelLines, TiesGoToTheRightAndToTheNeighbourAbove) {
    const LineCase& c = GetParam();
    const std::vector<COLORREF> after =
        Bevelled(*c.scene, ButtonParams{c.angle, 128, 2, BevelShape::Cut, BevelOutline::Inner});
    const size_t width = c.scene->rows[0].size();
    for (size_t i = 0; i < after.size(); ++i) {
        const bool line = c.scene->rows[i / width][i % width] == '.';
        EXPECT_EQ(after[i], line ? RGB(c.grey, c.grey, c.grey) : RGB(255, 255, 255)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OnePixelLines,
    ::testing::Values(LineCase{"VerticalLitFromLeftDarkens", &kVerticalLine, 0, 63},
                      LineCase{"VerticalLitFromRightLightens", &kVerticalLine, 180, 191},
                      LineCase{"HorizontalLitFromLeftUnshifted", &kHorizontalLine, 0, 127},
                      LineCase{"HorizontalLitFromAboveLightens", &kHorizontalLine, 90, 191}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(MakeButton, ChangesNothingWithoutWidthContrastOrShape) {
    const Scene allWhite{{"wwww", "wwww"}, {{'w', RGB(255, 255, 255)}}};
    const std::vector<COLORREF> square =
        Bevelled(kGreySquareOnWhite, ButtonParams{0, 128, 0, BevelShape::Cut, BevelOutline::Inner});
    const std::vector<COLORREF> flat =
        Bevelled(kGreySquareOnWhite, ButtonParams{0, 0, 5, BevelShape::Round, BevelOutline::Outer});
    const std::vector<COLORREF> untouched =
        Bevelled(kGreySquareOnWhite, ButtonParams{0, 0, 0, BevelShape::Cut, BevelOutline::Inner});
    auto original = Picture(kGreySquareOnWhite);
    for (size_t i = 0; i < square.size(); ++i) {
        const COLORREF before = ShownPixel(*original, int(i % 8), int(i / 8));
        EXPECT_EQ(square[i], before);
        EXPECT_EQ(flat[i], before);
        EXPECT_EQ(untouched[i], before);
    }
    for (BevelOutline outline : {BevelOutline::Inner, BevelOutline::Outer})
        for (COLORREF c : Bevelled(allWhite, ButtonParams{0, 128, 5, BevelShape::Cut, outline}))
            EXPECT_EQ(c, RGB(255, 255, 255));
}

TEST(MakeButton, ThePictureEdgeIsNotBackground) {
    // Shape fills everything but the last column: only pixels near that column change.
    const Scene scene{{"ssssssw", "ssssssw", "ssssssw", "ssssssw", "ssssssw", "ssssssw"},
                      {{'s', RGB(128, 128, 128)}, {'w', RGB(255, 255, 255)}}};
    auto image = Picture(scene);
    PickAndBevel(*image, 6, 0, ButtonParams{0, 128, 2, BevelShape::Cut, BevelOutline::Inner});
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(ShownPixel(*image, x, y), RGB(128, 128, 128)) << x << "," << y;
        EXPECT_NE(ShownPixel(*image, 5, y), RGB(128, 128, 128)) << y;
    }
}

TEST(MakeButton, BandReachesExactlyTheWidth) {
    // Background is one column on the left; width 5 finds it 5 columns away, not 6.
    const Scene scene{{"wssssssss"}, {{'s', RGB(128, 128, 128)}, {'w', RGB(255, 255, 255)}}};
    auto image = Picture(scene);
    PickAndBevel(*image, 0, 0, ButtonParams{0, 128, 5, BevelShape::Cut, BevelOutline::Inner});
    for (int x = 1; x <= 5; ++x)
        EXPECT_NE(ShownPixel(*image, x, 0), RGB(128, 128, 128)) << x;
    for (int x = 6; x <= 8; ++x)
        EXPECT_EQ(ShownPixel(*image, x, 0), RGB(128, 128, 128)) << x;
}

} // namespace

} // namespace pelto
