#include "engine/BackgroundSelection.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
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

TEST(CheckerValue, AlternatesEveryFourPixels) {
    EXPECT_EQ(CheckerValue(5, 2), 2);
    EXPECT_EQ(CheckerValue(5, 4), 1);
    EXPECT_EQ(CheckerValue(0, 0), 1);
}

using Grid = std::vector<std::string>; // top row first

// Grids are written row by row, top first, split by '/'. Pictures as letters:
// w white, a and b 7 and 8 from white, r red, k black. Opacity: 0
// transparent, 5 half, 9 opaque; none, no plane. Masks: # selected with its
// checkerboard value, . not; none, no mask made.
struct PickCase {
    const char* name;
    const char* colours;
    const char* opacity;
    BackgroundPick pick;
    const char* plain;
    const char* connected;
    std::optional<BackgroundPick> earlier = {}; // made first, as it is given
};

void PrintTo(const PickCase& c, std::ostream* out) {
    *out << c.name;
}

COLORREF Colour(char letter) {
    const std::map<char, COLORREF> colours = {{'w', RGB(255, 255, 255)},
                                              {'a', RGB(248, 255, 255)},
                                              {'b', RGB(247, 255, 255)},
                                              {'r', RGB(255, 0, 0)},
                                              {'k', RGB(0, 0, 0)}};
    return colours.at(letter);
}

// The mask as the grids show it: ? for a value that is neither.
Grid Shown(const CMaskDIB& mask) {
    Grid shown(size_t(mask.m_nHeight), std::string(size_t(mask.m_nWidth), '?'));
    for (int y = 0; y < mask.m_nHeight; ++y)
        for (int x = 0; x < mask.m_nWidth; ++x) {
            const int r = mask.m_nHeight - 1 - y, value = mask.GetValue(CPoint(x, r));
            if (value == 0 || value == CheckerValue(x, r))
                shown[size_t(y)][size_t(x)] = value ? '#' : '.';
        }
    return shown;
}

// Each row repeated stretch times, which keeps who touches whom.
Grid Stretch(const std::string& rows, int stretch) {
    Grid tall;
    for (size_t at = 0; at < rows.size();) {
        const size_t end = std::min(rows.find('/', at), rows.size());
        tall.insert(tall.end(), size_t(stretch), rows.substr(at, end - at));
        at = end + 1;
    }
    return tall;
}

class PickTable : public ::testing::TestWithParam<PickCase> {};

TEST_P(PickTable, SelectsTheExpectedMask) {
    const PickCase& c = GetParam();
    // Stretched, the rows are split among the threads.
    for (int stretch : {1, 16}) {
        const Grid colours = Stretch(c.colours, stretch), opacity = Stretch(c.opacity, stretch);
        const int width = colours.empty() ? 0 : int(colours[0].size());
        const int height = int(colours.size());
        CDIB image;
        if (height)
            LoadBytes(image, MakeBmp24(width, height, [&](int x, int y) {
                          return Colour(colours[size_t(y)][size_t(x)]);
                      }));
        CAlphaPlane alpha(opacity.empty() ? 0 : width, height);
        for (int y = 0; y < int(opacity.size()); ++y)
            for (int x = 0; x < width; ++x)
                alpha.SetAlpha(x, height - 1 - y,
                               uint8_t((opacity[size_t(y)][size_t(x)] - '0') * 255 / 9));
        const auto stretched = [&](BackgroundPick pick, bool connected) {
            pick.y *= stretch;
            pick.connected = connected;
            return pick;
        };
        for (bool connected : {false, true})
            for (unsigned threads : {1u, 4u}) {
                std::unique_ptr<CMaskDIB> mask;
                if (c.earlier)
                    SelectBackground(image, mask, stretched(*c.earlier, c.earlier->connected),
                                     &alpha, threads);
                SelectBackground(image, mask, stretched(c.pick, connected), &alpha, threads);
                const Grid expected = Stretch(connected ? c.connected : c.plain, stretch);
                EXPECT_EQ(mask ? Shown(*mask) : Grid(), expected)
                    << (connected ? "connected" : "plain") << ", stretch " << stretch
                    << ", threads " << threads;
            }
    }
}

const char* const kRing = "wwwww/wrrrw/wrwrw/wrrrw/wwwww";
const char* const kRingOut = "#####/#...#/#...#/#...#/#####";
const char* const kRingAndHole = "#####/#...#/#.#.#/#...#/#####";
// Transparent pixels hold black, as the letter does.
const char* const kBlack = "kkkkkk/kkkkkk/kkkkkk/kkkkkk/kkkkkk";
const char* const kLetter = "000000/099990/090090/099990/000000";
const char* const kLetterShape = "....../.####./.#..#./.####./......";

INSTANTIATE_TEST_SUITE_P(
    Cases, PickTable,
    ::testing::Values(
        PickCase{"WhiteHoleInsideARing", kRing, "", {0, 0, 0}, kRingAndHole, kRingOut},
        PickCase{
            "SeedInTheHole", kRing, "", {2, 2, 0}, kRingAndHole, "...../...../..#../...../....."},
        PickCase{"DiagonalContactOnly", "wrr/rwr/rrw", "", {0, 0, 0}, "#../.#./..#", "#../.../..."},
        PickCase{"SeedBelowTheRest", "wr/ww", "", {0, 1, 0}, "#./##", "#./##"},
        PickCase{"ToleranceEdgeBlocks", "wabw/bbbb", "", {0, 0, 1}, "##.#/....", "##../...."},
        PickCase{"ToleranceEdgeGoneAround", "wabw/awww", "", {1, 1, 1}, "##.#/####", "##.#/####"},
        PickCase{"SeedRightOfThePicture", "ww", "", {2, 0, 100}, "", ""},
        PickCase{"SeedAboveThePicture", "ww", "", {0, -1, 100}, "", ""},
        PickCase{"NoPicture", "", "", {0, 0, 100}, "", ""},
        PickCase{"ThroughAnEarlierSelection",
                 "awa",
                 "",
                 {0, 0, 1},
                 "###",
                 "###",
                 BackgroundPick{1, 0, 0}},
        PickCase{"TransparentSeedSkipsABlackShape",
                 kBlack,
                 kLetter,
                 {0, 0, 0},
                 "######/#....#/#.##.#/#....#/######",
                 "######/#....#/#....#/#....#/######"},
        PickCase{
            "VisibleSeedSkipsTransparency", kBlack, kLetter, {1, 1, 0}, kLetterShape, kLetterShape},
        PickCase{"HalfTransparentCountsAsVisible", "www", "905", {0, 0, 100}, "#.#", "#.."}),
    [](const auto& c) { return std::string(c.param.name); });

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

// Tall enough to be split among threads: every band marks exactly its
// matches. A connected pick takes what a plain breadth-first walk from its
// seed reaches: with the background on about 60% of the pixels, it winds
// through the picture in every direction.
TEST(SelectBackground, SameMaskForEveryThreadCount) {
    std::mt19937 rng(9);
    const int width = 37, height = 150;
    std::vector<COLORREF> colours(size_t(width) * height);
    for (COLORREF& c : colours)
        c = rng() % 100 < 60 ? RGB(200, 200, 200) : RGB(rng() % 4 * 60, rng() % 4 * 60, 90);
    CDIB image;
    LoadBytes(image, MakeBmp24(width, height,
                               [&](int x, int y) { return colours[size_t(y) * width + x]; }));
    for (size_t from : {size_t(0), colours.size() / 2}) {
        const size_t at =
            std::find(colours.begin() + from, colours.end(), RGB(200, 200, 200)) - colours.begin();
        const int seedX = int(at % width), seedY = int(at / width);
        const COLORREF seed = colours[at];
        std::vector<bool> matches(colours.size()), joined(colours.size());
        for (size_t i = 0; i < colours.size(); ++i) {
            const COLORREF c = colours[i];
            matches[i] = std::abs(int(GetRValue(c)) - int(GetRValue(seed))) +
                             std::abs(int(GetGValue(c)) - int(GetGValue(seed))) +
                             std::abs(int(GetBValue(c)) - int(GetBValue(seed))) <=
                         76;
        }
        std::vector<std::pair<int, int>> queue{{seedX, seedY}};
        joined[size_t(seedY) * width + seedX] = true;
        for (size_t next = 0; next < queue.size(); ++next)
            for (const auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int x = queue[next].first + dx, y = queue[next].second + dy;
                const size_t i = size_t(y) * width + x;
                if (x < 0 || y < 0 || x >= width || y >= height || !matches[i] || joined[i])
                    continue;
                joined[i] = true;
                queue.emplace_back(x, y);
            }
        for (bool connected : {false, true})
            for (unsigned threads : {1u, 2u, 3u, 8u}) {
                std::unique_ptr<CMaskDIB> mask;
                SelectBackground(image, mask, {seedX, seedY, 10, connected}, nullptr, threads);
                ASSERT_TRUE(mask);
                for (int yTop = 0; yTop < height; ++yTop)
                    for (int x = 0; x < width; ++x) {
                        const size_t i = size_t(yTop) * width + x;
                        const int stored = height - 1 - yTop;
                        ASSERT_EQ(mask->GetValue(CPoint(x, stored)),
                                  (connected ? joined[i] : matches[i]) ? CheckerValue(x, stored)
                                                                       : 0)
                            << x << "," << yTop << " threads " << threads;
                    }
            }
    }
}

} // namespace

} // namespace pelto
