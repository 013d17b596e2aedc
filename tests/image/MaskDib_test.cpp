#include "image/HeightDib.h"
#include "image/MaskDib.h"
#include "platform/Archive.h"
#include "platform/BmpLayout.h"
#include "platform/Dc.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace pelto {

// A mask or a height field keeps the block it was built with: the picture's
// Copy and Serialize, which would replace the block under the pixel pointer,
// cannot be called on them, and code that takes a picture cannot take them.
template <class Raster>
concept TakesAPicturesBlock = requires(Raster& raster, const CDIB& picture, CArchive& archive) {
    raster.Copy(picture);
}
|| requires(Raster& raster, CArchive& archive) {
    raster.Serialize(archive);
};

static_assert(TakesAPicturesBlock<CDIB>, "the check itself must see a picture's operations");
static_assert(!TakesAPicturesBlock<CMaskDIB> && !TakesAPicturesBlock<CHeightDIB>);
static_assert(!std::is_convertible_v<CMaskDIB&, CDIB&> &&
              !std::is_convertible_v<CHeightDIB&, CDIB&>);
static_assert(!std::is_copy_constructible_v<CMaskDIB> && !std::is_copy_assignable_v<CHeightDIB>);

namespace {

TEST(CMaskDIB, BuildsAnEightBitFileImageOfZeros) {
    CMaskDIB mask(5, 3);
    EXPECT_EQ(mask.m_nStride, 8u);
    EXPECT_EQ(mask.m_nFileSize, 1102u);
    const uint8_t* b = mask.m_pFileImage.get();
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(bmp::ReadU32(b, bmp::bfSize), 1102u);
    EXPECT_EQ(bmp::ReadU32(b, bmp::bfOffBits), 1078u);
    EXPECT_EQ(bmp::ReadU32(b, bmp::biSize), 40u);
    EXPECT_EQ(bmp::ReadI32(b, bmp::biWidth), 5);
    EXPECT_EQ(bmp::ReadI32(b, bmp::biHeight), 3);
    EXPECT_EQ(bmp::ReadU16(b, bmp::biPlanes), 1);
    EXPECT_EQ(bmp::ReadU16(b, bmp::biBitCount), 8);
    EXPECT_EQ(bmp::ReadU32(b, bmp::biSizeImage), 24u);
    EXPECT_EQ(mask.m_pBits, b + 1078);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(mask.GetValue(CPoint(x, y)), 0);
}

TEST(CMaskDIB, GetValueIsMinusOneOutsideAndSignedInside) {
    CMaskDIB mask(4, 3);
    mask.SetValue(CPoint(3, 2), 2);
    mask.SetValue(CPoint(0, 0), 200);
    mask.SetValue(CPoint(1, 0), 0x101); // low 8 bits only
    EXPECT_EQ(mask.GetValue(CPoint(3, 2)), 2);
    EXPECT_EQ(mask.GetValue(CPoint(0, 0)), -56);
    EXPECT_EQ(mask.GetValue(CPoint(1, 0)), 1);
    for (CPoint outside : {CPoint(-1, 0), CPoint(0, -1), CPoint(4, 0), CPoint(0, 3)})
        EXPECT_EQ(mask.GetValue(outside), -1);
}

TEST(CMaskDIB, SizeOfZeroOrLessHasNoBlock) {
    for (auto [w, h] : {std::pair{0, 3}, std::pair{3, 0}, std::pair{-2, 4}}) {
        CMaskDIB mask(w, h);
        EXPECT_FALSE(mask.HasBlock());
        EXPECT_EQ(mask.GetValue(CPoint(0, 0)), -1);
        CPoint found(7, 7);
        EXPECT_FALSE(mask.FindNearestUnselected(CPoint(0, 0), found, 3));
    }
}

// A mask from rows written top row first ('#' selected, '.' not).
std::unique_ptr<CMaskDIB> FromRows(const std::vector<const char*>& rowsFromTop) {
    const int h = int(rowsFromTop.size());
    const int w = int(std::string(rowsFromTop[0]).size());
    auto mask = std::make_unique<CMaskDIB>(w, h);
    for (int t = 0; t < h; ++t)
        for (int x = 0; x < w; ++x)
            if (rowsFromTop[t][x] == '#') mask->SetValue(CPoint(x, h - 1 - t), 1 + (x + t) % 2);
    return mask;
}

struct SearchCase {
    const char* name;
    std::vector<CPoint> unselected;
    int radius;
    bool found;
    CPoint expected;
};

class NearestUnselected : public ::testing::TestWithParam<SearchCase> {};

TEST_P(NearestUnselected, FindsTheClosestWithTheLastScannedWinningTies) {
    const SearchCase& c = GetParam();
    CMaskDIB mask(11, 11);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 11; ++x)
            mask.SetValue(CPoint(x, y), 2);
    for (CPoint p : c.unselected)
        mask.SetValue(p, 0);
    CPoint found(-100, -100);
    EXPECT_EQ(mask.FindNearestUnselected(CPoint(5, 5), found, c.radius), c.found);
    EXPECT_EQ(found, c.found ? c.expected : CPoint(-100, -100));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NearestUnselected,
    ::testing::Values(
        SearchCase{"LeftRightTie", {{4, 5}, {6, 5}}, 3, true, {6, 5}},
        SearchCase{"BelowAboveTie", {{5, 4}, {5, 6}}, 3, true, {5, 6}},
        SearchCase{"DiagonalTieLargerRowWins", {{4, 4}, {6, 4}, {4, 6}, {6, 6}}, 3, true, {6, 6}},
        SearchCase{"CloserBeatsLater", {{5, 4}, {7, 7}}, 3, true, {5, 4}},
        SearchCase{"OnTheCircle", {{8, 5}}, 3, true, {8, 5}},
        SearchCase{"CornerOfWindowOutsideCircle", {{8, 6}}, 3, false, {}},
        SearchCase{"RadiusZeroFindsNothing", {{5, 6}}, 0, false, {}},
        SearchCase{"NegativeRadiusFindsNothing", {{5, 6}}, -1, false, {}},
        SearchCase{"NothingUnselected", {}, 5, false, {}}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(CMaskDIB, SearchesStartOnlyFromTheRightKindOfPixel) {
    CMaskDIB mask(5, 5);
    mask.SetValue(CPoint(2, 2), 1);
    CPoint found(-1, -1);
    EXPECT_FALSE(mask.FindNearestUnselected(CPoint(0, 0), found, 3)); // start unselected
    EXPECT_FALSE(mask.FindNearestSelected(CPoint(2, 2), found, 3));   // start selected
    EXPECT_EQ(found, CPoint(-1, -1));
    EXPECT_TRUE(mask.FindNearestSelected(CPoint(0, 0), found, 3));
    EXPECT_EQ(found, CPoint(2, 2));
    EXPECT_TRUE(mask.FindNearestUnselected(CPoint(2, 2), found, 1));
    EXPECT_EQ(found, CPoint(2, 3));
}

TEST(CMaskDIB, PointsOutsideTheRasterAreNeverFound) {
    CPoint found;
    EXPECT_FALSE(FromRows({"###", "###", "###"})->FindNearestUnselected(CPoint(0, 0), found, 5));
    EXPECT_FALSE(FromRows({"...", "...", "..."})->FindNearestSelected(CPoint(0, 0), found, 5));
    EXPECT_TRUE(FromRows({"..#", "...", "..."})->FindNearestSelected(CPoint(0, 0), found, 5));
    EXPECT_EQ(found, CPoint(2, 2));
}

TEST(CMaskDIB, OverlayKeepsUnselectedGreysValueOneWhitensValueTwo) {
    CMaskDIB mask(3, 1);
    mask.SetValue(CPoint(1, 0), 1);
    mask.SetValue(CPoint(2, 0), 2);
    CDC dc(3, 1, 0xFFFF0000u); // a red picture
    mask.DrawOverlay(&dc);
    EXPECT_EQ(dc.PixelAt(0, 0), 0xFFFF0000u);
    EXPECT_EQ(dc.PixelAt(1, 0), 0xFF808080u);
    EXPECT_EQ(dc.PixelAt(2, 0), 0xFFFFFFFFu);
    // The second pass's colours stay in the table.
    const uint8_t* table = mask.m_pFileImage.get() + 54;
    EXPECT_EQ(table[0], 255);
    EXPECT_EQ(table[4], 128);
    EXPECT_EQ(table[8], 255);
}

} // namespace

} // namespace pelto
