// A selection's bits and its edge against the marks themselves: each pixel
// selected or not as its mark says, and on the edge exactly when the square
// about it, cut to the picture, holds both kinds; the same for any count of
// threads, at widths on and off a word's.

#include "RandomRasters.h"
#include "engine/SelectionBits.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pelto {

namespace {

bool MixedAround(const CMaskDIB& mask, int x, int y, int reach) {
    bool selected = false, unselected = false;
    for (int v = std::max(0, y - reach); v <= std::min(mask.m_nHeight - 1, y + reach); ++v)
        for (int u = std::max(0, x - reach); u <= std::min(mask.m_nWidth - 1, x + reach); ++u)
            (mask.GetValue({u, v}) != 0 ? selected : unselected) = true;
    return selected && unselected;
}

struct Size {
    int width, height;
};

class SelectionBitsOf : public ::testing::TestWithParam<Size> {};

TEST_P(SelectionBitsOf, EveryMaskKindAgreesWithItsMarks) {
    const auto [width, height] = GetParam();
    std::mt19937 rng(uint32_t(width * 1000 + height));
    for (int kind = 0; kind < int(MaskKind::kCount); ++kind) {
        if (MaskKind(kind) == MaskKind::AnyByte) continue; // a selection's marks are 0, 1 or 2
        const auto mask = RandomMask(MaskKind(kind), width, height, rng);
        for (const int reach : {1, 2, 5})
            for (const unsigned threads : {1u, 3u}) {
                const CSelectionBits bits(*mask, reach, threads);
                int wrong = 0;
                uint64_t edge = 0;
                for (int y = 0; y < height; ++y)
                    for (int x = 0; x < width; ++x) {
                        wrong += bits.Selected(x, y) != (mask->GetValue({x, y}) != 0);
                        const bool onEdge = bits.EdgeFrom(x, y) & 1;
                        wrong += onEdge != MixedAround(*mask, x, y, reach);
                        // Read from any column, the bits say the same.
                        wrong += (bits.SelectedFrom(x - 3, y) >> 3 & 1) != bits.Selected(x, y);
                        wrong += (bits.EdgeFrom(x - 5, y) >> 5 & 1) != onEdge;
                        edge += onEdge;
                    }
                for (int y = 0; y < height; ++y)
                    wrong += bits.SelectedFrom(width, y) != 0 || bits.EdgeFrom(width - 1, y) > 1;
                EXPECT_EQ(wrong, 0)
                    << KindName(MaskKind(kind)) << " reach " << reach << " threads " << threads;
                EXPECT_EQ(bits.EdgeCount(0, height), edge) << KindName(MaskKind(kind));
            }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SelectionBitsOf,
                         ::testing::Values(Size{1, 1}, Size{1, 40}, Size{40, 1}, Size{63, 9},
                                           Size{64, 7}, Size{65, 20}, Size{130, 33}));

} // namespace

} // namespace pelto
