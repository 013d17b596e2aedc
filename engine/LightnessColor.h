#pragma once
// A colour split into a lightness (largest + smallest channel, 0..510) and
// three components 0..255 that place each channel relative to the lightness.
// Integer arithmetic throughout; every division truncates.

#include "platform/ColorRef.h"

namespace pelto {

class CLightnessColor {
public:
    void Decompose(COLORREF colour);
    // Adds delta and clamps the lightness to 0..510.
    void AddLightness(int delta);
    // Writes the three channel bytes of colour; its top byte is left as it is.
    void Compose(COLORREF& colour) const;

    int m_nLightness = 0;
    int m_nBlue = 0;
    int m_nRed = 0;
    int m_nGreen = 0;

    static constexpr int kMaxLightness = 510;
};

} // namespace pelto
