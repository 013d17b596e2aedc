#include "LightnessColor.h"

#include <algorithm>

namespace pelto {

namespace {

int Component(int channel, int lightness) {
    if (lightness == 0 || lightness == CLightnessColor::kMaxLightness) return 127;
    if (lightness <= 255) return channel * 255 / lightness;
    return (channel - lightness + 255) * 255 / (CLightnessColor::kMaxLightness - lightness);
}

int Channel(int component, int lightness) {
    const int p =
        lightness <= 255
            ? lightness * component / 255
            : (component * (CLightnessColor::kMaxLightness - lightness) + 255 * lightness - 65025) /
                  255;
    return std::clamp(p, 0, 255);
}

} // namespace

void CLightnessColor::Decompose(COLORREF colour) {
    const int red = static_cast<int>(GetRValue(colour));
    const int green = static_cast<int>(GetGValue(colour));
    const int blue = static_cast<int>(GetBValue(colour));
    m_nLightness = std::max({red, green, blue}) + std::min({red, green, blue});
    m_nBlue = Component(blue, m_nLightness);
    m_nRed = Component(red, m_nLightness);
    m_nGreen = Component(green, m_nLightness);
}

void CLightnessColor::AddLightness(int delta) {
    m_nLightness = std::clamp(m_nLightness + delta, 0, kMaxLightness);
}

void CLightnessColor::Compose(COLORREF& colour) const {
    colour = (colour & 0xFF000000u) | RGB(static_cast<uint32_t>(Channel(m_nRed, m_nLightness)),
                                          static_cast<uint32_t>(Channel(m_nGreen, m_nLightness)),
                                          static_cast<uint32_t>(Channel(m_nBlue, m_nLightness)));
}

} // namespace pelto
