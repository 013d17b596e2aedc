// The engine's operations refuse rasters of different sizes before changing
// anything, whichever of them is off and by how much.
#include "RandomRasters.h"
#include "engine/BackgroundSelection.h"
#include "engine/Bevel.h"
#include "engine/BevelPreview.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace pelto {
namespace {

struct SizeCase {
    int width, height; // of the raster that does not fit a 12 x 9 picture
};

class OneSizeForAll : public testing::TestWithParam<SizeCase> {
protected:
    static constexpr int kWidth = 12, kHeight = 9;
    std::mt19937 m_rng{unsigned(GetParam().width * 31 + GetParam().height)};
    std::unique_ptr<CDIB> m_picture = RandomPicture(kWidth, kHeight, m_rng);
};

TEST_P(OneSizeForAll, SelectionRefusesAMaskOfAnotherSize) {
    auto mask = RandomMask(MaskKind::Noise, GetParam().width, GetParam().height, m_rng);
    const CMaskDIB* before = mask.get();
    const Bytes bytes = BlockBytes(*mask);
    EXPECT_THROW(SelectBackground(*m_picture, mask, 0, 0, 100), std::invalid_argument);
    EXPECT_EQ(mask.get(), before);
    EXPECT_EQ(BlockBytes(*mask), bytes);
}

TEST_P(OneSizeForAll, TheBevelsPassesRefuseAHeightFieldOfAnotherSize) {
    const auto mask = RandomMask(MaskKind::Blobs, kWidth, kHeight, m_rng);
    CHeightDIB heights(GetParam().width, GetParam().height);
    EXPECT_THROW(ComputeBevelHeights(*mask, ButtonParams{}, heights), std::invalid_argument);
    for (int y = 0; y < heights.m_nHeight; ++y)
        for (int x = 0; x < heights.m_nWidth; ++x)
            ASSERT_EQ(heights.GetHeight({x, y}), 0);

    heights.SetHeight({0, 0}, 300);
    const Bytes before = BlockBytes(*m_picture);
    EXPECT_THROW(ShadeBevel(*m_picture, heights, 128), std::invalid_argument);
    EXPECT_EQ(BlockBytes(*m_picture), before);
}

TEST_P(OneSizeForAll, ThePreviewRefusesASelectionOfAnotherSize) {
    const auto mask = RandomMask(MaskKind::Blobs, GetParam().width, GetParam().height, m_rng);
    EXPECT_THROW(CBevelPreview(*m_picture, *mask), std::invalid_argument);
}

INSTANTIATE_TEST_SUITE_P(Sizes, OneSizeForAll,
                         testing::Values(SizeCase{11, 9}, SizeCase{13, 9}, SizeCase{12, 8},
                                         SizeCase{12, 10}, SizeCase{9, 12}, SizeCase{1, 1}));

} // namespace
} // namespace pelto
