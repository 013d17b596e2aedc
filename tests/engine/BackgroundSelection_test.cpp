#include "engine/BackgroundSelection.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace pelto {

namespace {

TEST(Tolerance, ThresholdTruncates) {
    const std::pair<int, int> cases[] = {{0, 0},    {1, 7},    {10, 76},
                                         {50, 384}, {99, 760}, {100, 768}};
    for (auto [tolerance, threshold] : cases)
        EXPECT_EQ(ToleranceThreshold(tolerance), threshold);
}

struct MatchCase {
    const char* name;
    COLORREF seed;
    COLORREF other;
    int tolerance;
    bool selected;
};

class ColourMatch : public ::testing::TestWithParam<MatchCase> {};

TEST_P(ColourMatch, SelectsWithinTheInclusiveThreshold) {
    const MatchCase& c = GetParam();
    CDIB image;
    LoadBytes(image, MakeBmp24(2, 1, [&](int x, int) { return x == 0 ? c.seed : c.other; }));
    std::unique_ptr<CMaskDIB> mask;
    SelectBackground(image, mask, 0, 0, c.tolerance);
    ASSERT_TRUE(mask);
    EXPECT_GT(mask->GetValue(CPoint(0, 0)), 0); // the seed always matches itself
    EXPECT_EQ(mask->GetValue(CPoint(1, 0)) > 0, c.selected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColourMatch,
    ::testing::Values(MatchCase{"ExactAtZero", RGB(10, 20, 30), RGB(10, 20, 30), 0, true},
                      MatchCase{"OffByOneAtZero", RGB(10, 20, 30), RGB(10, 20, 31), 0, false},
                      MatchCase{"SevenInOneChannel", RGB(10, 20, 30), RGB(17, 20, 30), 1, true},
                      MatchCase{"EightInOneChannel", RGB(10, 20, 30), RGB(18, 20, 30), 1, false},
                      MatchCase{"SevenSpreadOverThree", RGB(10, 20, 30), RGB(13, 18, 32), 1, true},
                      MatchCase{"WhiteAgainstBlackAt99", RGB(0, 0, 0), RGB(255, 255, 255), 99,
                                false},
                      MatchCase{"Distance760At99", RGB(0, 0, 0), RGB(255, 255, 250), 99, true},
                      MatchCase{"EverythingAt100", RGB(0, 0, 0), RGB(255, 255, 255), 100, true}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(SelectBackground, IsAGlobalMatchWithCheckerboardValues) {
    // A red ring on white: the white island inside the ring is selected too.
    CDIB image;
    LoadBytes(image, MakeBmp24(9, 9, [](int x, int y) {
                  const bool ring = (x >= 2 && x <= 6 && y >= 2 && y <= 6) &&
                                    !(x >= 3 && x <= 5 && y >= 3 && y <= 5);
                  return ring ? RGB(255, 0, 0) : RGB(255, 255, 255);
              }));
    std::unique_ptr<CMaskDIB> mask;
    SelectBackground(image, mask, 0, 0, 0);
    ASSERT_TRUE(mask);
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c) {
            const bool white = image.GetPixel(c, r) == RGB(255, 255, 255);
            EXPECT_EQ(mask->GetValue(CPoint(c, r)), white ? CheckerValue(c, r) : 0)
                << c << "," << r;
        }
    EXPECT_EQ(CheckerValue(5, 2), 2);
    EXPECT_EQ(CheckerValue(5, 4), 1);
    EXPECT_EQ(CheckerValue(0, 0), 1);
}

TEST(SelectBackground, TheSeedRowCountsFromTheTop) {
    CDIB image;
    LoadBytes(image, MakeBmp24(2, 3, [](int x, int y) {
                  return x == 0 && y == 0 ? RGB(1, 1, 1) : RGB(200, 0, 0);
              }));
    std::unique_ptr<CMaskDIB> mask;
    SelectBackground(image, mask, 0, 0, 0); // top-left as shown = stored row 2
    EXPECT_GT(mask->GetValue(CPoint(0, 2)), 0);
    EXPECT_EQ(mask->GetValue(CPoint(0, 0)), 0);
    EXPECT_EQ(mask->GetValue(CPoint(1, 2)), 0);
}

TEST(SelectBackground, RepeatedPicksAddToTheSelection) {
    CDIB image;
    LoadBytes(image, MakeBmp24(3, 1, [](int x, int) { return RGB(x * 100, 0, 0); }));
    std::unique_ptr<CMaskDIB> mask;
    SelectBackground(image, mask, 0, 0, 0);
    SelectBackground(image, mask, 2, 0, 0);
    EXPECT_GT(mask->GetValue(CPoint(0, 0)), 0);
    EXPECT_EQ(mask->GetValue(CPoint(1, 0)), 0);
    EXPECT_GT(mask->GetValue(CPoint(2, 0)), 0);
}

TEST(SelectBackground, SeedOutsideThePictureChangesNothing) {
    CDIB image;
    LoadBytes(image, MakeBmp24(3, 2, RGB(5, 5, 5)));
    std::unique_ptr<CMaskDIB> mask;
    for (auto [x, y] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{3, 0}, std::pair{0, 2}}) {
        SelectBackground(image, mask, x, y, 100);
        EXPECT_FALSE(mask);
    }
    CDIB empty;
    SelectBackground(empty, mask, 0, 0, 100);
    EXPECT_FALSE(mask);
}

// Tall enough to be split among threads: every band marks exactly its matches.
TEST(SelectBackground, SameMaskForEveryThreadCount) {
    std::mt19937 rng(9);
    const int width = 37, height = 150;
    std::vector<COLORREF> colours(size_t(width) * height);
    for (COLORREF& c : colours)
        c = RGB(rng() % 4 * 60, rng() % 4 * 60, 90);
    CDIB image;
    LoadBytes(image, MakeBmp24(width, height,
                               [&](int x, int y) { return colours[size_t(y) * width + x]; }));
    const COLORREF seed = colours[0];
    for (unsigned threads : {1u, 2u, 3u, 8u}) {
        std::unique_ptr<CMaskDIB> mask;
        SelectBackground(image, mask, 0, 0, 10, threads);
        ASSERT_TRUE(mask);
        for (int yTop = 0; yTop < height; ++yTop)
            for (int x = 0; x < width; ++x) {
                const COLORREF c = colours[size_t(yTop) * width + x];
                const int d = std::abs(int(GetRValue(c)) - int(GetRValue(seed))) +
                              std::abs(int(GetGValue(c)) - int(GetGValue(seed))) +
                              std::abs(int(GetBValue(c)) - int(GetBValue(seed)));
                const int stored = height - 1 - yTop;
                ASSERT_EQ(mask->GetValue(CPoint(x, stored)), d <= 76 ? CheckerValue(x, stored) : 0)
                    << x << "," << yTop << " threads " << threads;
            }
    }
}

} // namespace

} // namespace pelto
