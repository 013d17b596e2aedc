#include "image/HeightDib.h"
#include "platform/BmpLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelto {

namespace {

TEST(CHeightDIB, BuildsASixteenBitFileImageOfZeros) {
    CHeightDIB field(3, 2);
    EXPECT_EQ(field.m_nStride, 8u);
    EXPECT_EQ(field.m_nFileSize, 70u);
    const uint8_t* b = field.m_pFileImage.get();
    EXPECT_EQ(bmp::ReadU32(b, bmp::bfSize), 70u);
    EXPECT_EQ(bmp::ReadU32(b, bmp::bfOffBits), 54u);
    EXPECT_EQ(bmp::ReadU16(b, bmp::biBitCount), 16);
    EXPECT_EQ(bmp::ReadU32(b, bmp::biSizeImage), 16u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(field.GetHeight(CPoint(x, y)), 0);
    EXPECT_EQ(CHeightDIB(5, 1).m_nStride, 12u);
    EXPECT_EQ(CHeightDIB(4, 1).m_nStride, 8u);
}

TEST(CHeightDIB, WritesOutsideAreIgnoredAndValuesWrapToSixteenBits) {
    CHeightDIB field(3, 2);
    for (CPoint p : {CPoint(3, 0), CPoint(0, 2), CPoint(-1, 0), CPoint(0, -1)}) {
        field.SetHeight(p, 77);
        EXPECT_EQ(field.GetHeight(p), 0);
    }
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(field.GetHeight(CPoint(x, y)), 0);
    field.SetHeight(CPoint(2, 1), 40000);
    EXPECT_EQ(field.GetHeight(CPoint(2, 1)), -25536);
    field.SetHeight(CPoint(0, 0), -5);
    EXPECT_EQ(field.GetHeight(CPoint(0, 0)), -5);
}

struct Placed {
    int dx, dy, height;
};

struct AverageCase {
    const char* name;
    std::vector<Placed> heights; // relative to the centre (4, 4)
    int expected;
};

class AverageHeight : public ::testing::TestWithParam<AverageCase> {};

TEST_P(AverageHeight, WeighsTheNonZeroNeighbourhood) {
    CHeightDIB field(9, 9);
    for (const Placed& p : GetParam().heights)
        field.SetHeight(CPoint(4 + p.dx, 4 + p.dy), p.height);
    EXPECT_EQ(field.GetAverageHeight(CPoint(4, 4)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AverageHeight,
    ::testing::Values(
        AverageCase{"Alone", {{0, 0, 12}}, 12},
        AverageCase{
            "FourDirect", {{0, 0, 10}, {1, 0, 20}, {-1, 0, 20}, {0, 1, 20}, {0, -1, 20}}, 17},
        AverageCase{"ZeroCentreOneDirect", {{1, 0, 11}}, 5},
        AverageCase{"NegativeAlone", {{0, 0, -13}}, -13},
        AverageCase{"TruncatesTowardZero", {{1, 1, -7}}, -2},
        AverageCase{"CornersNeverCount", {{0, 0, 6}, {2, 2, 100}, {-2, -2, 100}, {2, -2, 9}}, 6},
        AverageCase{"OuterRing", {{0, 0, 6}, {2, 1, 10}, {-1, -2, 10}}, (36 + 40 + 40) / 14},
        AverageCase{"AllTwenty",
                    {{0, 0, 1},   {0, 1, 1},  {0, -1, 1},  {1, 0, 1},  {-1, 0, 1}, {1, 1, 1},
                     {1, -1, 1},  {-1, 1, 1}, {-1, -1, 1}, {-1, 2, 1}, {0, 2, 1},  {1, 2, 1},
                     {-1, -2, 1}, {0, -2, 1}, {1, -2, 1},  {2, -1, 1}, {2, 0, 1},  {2, 1, 1},
                     {-2, -1, 1}, {-2, 0, 1}, {-2, 1, 1}},
                    1}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(CHeightDIB, AtTheCornerOnlyNeighboursInsideTakePart) {
    CHeightDIB field(5, 5);
    field.SetHeight(CPoint(0, 0), 6);
    field.SetHeight(CPoint(2, 1), 20); // weight 4
    field.SetHeight(CPoint(0, 2), 20); // weight 4
    field.SetHeight(CPoint(2, 2), 99); // corner: ignored
    EXPECT_EQ(field.GetAverageHeight(CPoint(0, 0)), (36 + 80 + 80) / 14);
}

} // namespace

} // namespace pelto
