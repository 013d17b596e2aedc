#include "LightnessShift.h"

#include "LightnessColor.h"

#include <algorithm>
#include <array>

namespace pelto {

namespace {

constexpr int kMax = CLightnessColor::kMaxLightness;

// n / d for 1 <= d <= 255 and 0 <= n <= 255 * 255: with m = 2^32 / d + 1 the
// error n * (m * d - 2^32) / 2^32 stays below 1 / d, so the floor is exact.
uint32_t Divide(uint32_t n, uint32_t d) {
    static constexpr std::array<uint64_t, 256> kReciprocals = [] {
        std::array<uint64_t, 256> r{};
        for (uint64_t i = 1; i < r.size(); ++i)
            r[i] = (uint64_t(1) << 32) / i + 1;
        return r;
    }();
    return static_cast<uint32_t>((n * kReciprocals[d]) >> 32);
}

uint32_t Component(uint32_t channel, int lightness) {
    if (lightness <= 255) return Divide(channel * 255, uint32_t(lightness));
    return Divide((channel + 255 - uint32_t(lightness)) * 255, uint32_t(kMax - lightness));
}

uint32_t Channel(uint32_t component, int lightness) {
    const uint32_t l = uint32_t(lightness);
    const uint32_t p =
        l <= 255 ? l * component / 255 : (component * (kMax - l) + 255 * l - 65025) / 255;
    return std::min(p, 255u);
}

} // namespace

COLORREF ShiftLightness(COLORREF colour, int delta) {
    const uint32_t red = GetRValue(colour), green = GetGValue(colour), blue = GetBValue(colour);
    const int lightness = int(std::max({red, green, blue}) + std::min({red, green, blue}));
    uint32_t kr = 127, kg = 127, kb = 127;
    if (lightness != 0 && lightness != kMax) {
        kr = Component(red, lightness);
        kg = Component(green, lightness);
        kb = Component(blue, lightness);
    }
    const int shifted = std::clamp(lightness + delta, 0, kMax);
    return (colour & 0xFF000000u) |
           RGB(Channel(kr, shifted), Channel(kg, shifted), Channel(kb, shifted));
}

} // namespace pelto
