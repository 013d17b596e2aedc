#include "engine/LightnessColor.h"

#include <gtest/gtest.h>

namespace pelto {

namespace {

struct ShiftCase {
    COLORREF colour;
    int shift;
    COLORREF expected;
};

class LightnessShift : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(LightnessShift, ComposesTheShiftedColour) {
    CLightnessColor model;
    COLORREF c = GetParam().colour | 0xAB000000u; // the top byte must survive
    model.Decompose(c);
    model.AddLightness(GetParam().shift);
    model.Compose(c);
    EXPECT_EQ(c, GetParam().expected | 0xAB000000u);
}

INSTANTIATE_TEST_SUITE_P(Table, LightnessShift,
                         ::testing::Values(ShiftCase{RGB(200, 100, 50), 0, RGB(200, 100, 50)},
                                           ShiftCase{RGB(200, 100, 50), 64, RGB(215, 137, 98)},
                                           ShiftCase{RGB(200, 100, 50), -64, RGB(148, 74, 37)},
                                           ShiftCase{RGB(200, 100, 50), 128, RGB(228, 175, 149)},
                                           ShiftCase{RGB(128, 128, 128), 0, RGB(127, 127, 127)},
                                           ShiftCase{RGB(128, 128, 128), 128, RGB(191, 191, 191)},
                                           ShiftCase{RGB(128, 128, 128), -128, RGB(63, 63, 63)},
                                           ShiftCase{RGB(1, 1, 1), 0, RGB(0, 0, 0)},
                                           ShiftCase{RGB(0, 0, 0), 64, RGB(31, 31, 31)},
                                           ShiftCase{RGB(255, 255, 255), -64, RGB(222, 222, 222)},
                                           ShiftCase{RGB(255, 0, 0), 64, RGB(255, 64, 64)},
                                           ShiftCase{RGB(255, 0, 0), -64, RGB(191, 0, 0)},
                                           ShiftCase{RGB(0, 0, 255), 300, RGB(255, 255, 255)},
                                           ShiftCase{RGB(255, 255, 0), -255, RGB(0, 0, 0)},
                                           ShiftCase{RGB(10, 200, 90), -600, RGB(0, 0, 0)}));

TEST(CLightnessColor, DecomposeGivesLightnessAndComponents) {
    CLightnessColor model;
    model.Decompose(RGB(200, 100, 50));
    EXPECT_EQ(model.m_nLightness, 250);
    EXPECT_EQ(model.m_nRed, 204);   // 200 * 255 / 250
    EXPECT_EQ(model.m_nGreen, 102); // 100 * 255 / 250
    EXPECT_EQ(model.m_nBlue, 51);   // 50 * 255 / 250
    for (COLORREF extreme : {RGB(0, 0, 0), RGB(255, 255, 255)}) {
        model.Decompose(extreme);
        EXPECT_EQ(model.m_nRed, 127);
        EXPECT_EQ(model.m_nGreen, 127);
        EXPECT_EQ(model.m_nBlue, 127);
    }
}

TEST(CLightnessColor, ZeroShiftNeverRaisesAChannelAndLowersByAtMostOne) {
    CLightnessColor model;
    for (int r = 0; r < 256; r += 3)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 7) {
                COLORREF c = RGB(r, g, b);
                model.Decompose(c);
                model.AddLightness(0);
                model.Compose(c);
                for (auto [before, after] :
                     {std::pair{r, int(GetRValue(c))}, std::pair{g, int(GetGValue(c))},
                      std::pair{b, int(GetBValue(c))}}) {
                    ASSERT_LE(after, before);
                    ASSERT_GE(after, before - 1) << r << "," << g << "," << b;
                }
            }
}

} // namespace

} // namespace pelto
