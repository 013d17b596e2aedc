// A button's states: pressed lit from the other side, hover lighter by a
// tenth of the lightness range with its hue kept, disabled grey at each
// pixel's own lightness; the invisible pixels of hover left as they are.

#include "engine/ButtonStates.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace pelto {

namespace {

struct Hsl {
    double hue, saturation, lightness; // hue in degrees; the others 0..1
};

Hsl ToHsl(COLORREF c) {
    const double r = GetRValue(c) / 255.0, g = GetGValue(c) / 255.0, b = GetBValue(c) / 255.0;
    const double high = std::max({r, g, b}), low = std::min({r, g, b}), span = high - low;
    Hsl hsl{0, 0, (high + low) / 2};
    if (span == 0) return hsl;
    hsl.saturation = span / (1 - std::abs(2 * hsl.lightness - 1));
    const double h = high == r   ? std::fmod((g - b) / span, 6)
                     : high == g ? (b - r) / span + 2
                                 : (r - g) / span + 4;
    hsl.hue = std::fmod(h * 60 + 360, 360);
    return hsl;
}

TEST(ButtonStates, PressedIsLitFromTheOtherSide) {
    for (const auto [angle, pressed] : {std::pair{0, 180}, {135, 315}, {200, 20}, {359, 179}}) {
        ButtonParams normal{angle, 160, 8, BevelShape::Round, BevelOutline::Outer};
        ButtonParams want = normal;
        want.angle = pressed;
        EXPECT_EQ(PressedParams(normal), want) << angle;
    }
}

// Colours of every kind: greys, saturated, dark and light ones.
COLORREF Sample(int x, int y) {
    return RGB((x * 37 + y * 11) % 256, (x * 5 + y * 53) % 256, (x * 91 + y * 7) % 256);
}

TEST(ButtonStates, HoverIsLighterByATenthOfTheRangeWithItsHueKept) {
    CDIB picture;
    LoadBytes(picture, MakeBmp24(64, 48, Sample));
    CAlphaPlane alpha(64, 48);
    for (int x = 0; x < 64; ++x)
        alpha.SetAlpha(x, 0, 0); // the bottom row unseen
    CDIB hover;
    hover.Copy(picture);
    MakeHover(hover, &alpha);
    double raised = 0;
    int counted = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const COLORREF before = picture.GetPixel(x, y), after = hover.GetPixel(x, y);
            if (y == 0) {
                EXPECT_EQ(after, before) << "an unseen pixel stays";
                continue;
            }
            const Hsl from = ToHsl(before), to = ToHsl(after);
            EXPECT_GE(to.lightness, from.lightness) << x << " " << y;
            raised += to.lightness - from.lightness;
            ++counted;
            // The hue stays where there is colour enough to have one.
            if (from.saturation > 0.2 && to.lightness < 0.95 && from.lightness > 0.05)
                EXPECT_LT(std::min(std::abs(to.hue - from.hue), 360 - std::abs(to.hue - from.hue)),
                          12)
                    << x << " " << y;
        }
    const double mean = raised / counted;
    EXPECT_GE(mean, 0.05);
    EXPECT_LE(mean, 0.15);
}

TEST(ButtonStates, DisabledIsGreyAtEachPixelsOwnLightness) {
    CDIB picture;
    LoadBytes(picture, MakeBmp24(64, 48, Sample));
    CDIB disabled;
    disabled.Copy(picture);
    MakeDisabled(disabled);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const COLORREF before = picture.GetPixel(x, y), after = disabled.GetPixel(x, y);
            EXPECT_EQ(GetRValue(after), GetGValue(after));
            EXPECT_EQ(GetGValue(after), GetBValue(after));
            EXPECT_NEAR(GetRValue(after), ToHsl(before).lightness * 255, 1) << x << " " << y;
        }
}

} // namespace

} // namespace pelto
