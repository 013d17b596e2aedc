#include "ButtonStates.h"

#include "LightnessColor.h"

#include <algorithm>

namespace pelto {

ButtonParams PressedParams(ButtonParams normal) {
    normal.angle = (normal.angle + 180) % 360;
    return normal;
}

void MakeHover(CDIB& picture, const CAlphaPlane* alpha) {
    if (!picture.HasBlock()) return;
    const bool opacity = alpha && alpha->HasBlock();
    // A button is mostly runs of one colour: the last one's result is kept.
    COLORREF last = RGB(0, 0, 0), lastHover = last;
    bool known = false;
    for (int y = 0; y < picture.m_nHeight; ++y) {
        uint8_t* p = picture.Row(y);
        const uint8_t* shown = opacity ? alpha->Row(y) : nullptr;
        for (int x = 0; x < picture.m_nWidth; ++x, p += 3) {
            if (shown && shown[x] == 0) continue;
            const COLORREF rgb = RGB(p[2], p[1], p[0]);
            if (!known || rgb != last) {
                CLightnessColor colour;
                colour.Decompose(rgb);
                colour.AddLightness(kHoverLightness);
                lastHover = rgb;
                colour.Compose(lastHover);
                last = rgb, known = true;
            }
            p[0] = uint8_t(GetBValue(lastHover)), p[1] = uint8_t(GetGValue(lastHover)),
            p[2] = uint8_t(GetRValue(lastHover));
        }
    }
}

void MakeDisabled(CDIB& picture) {
    if (!picture.HasBlock()) return;
    for (int y = 0; y < picture.m_nHeight; ++y) {
        uint8_t* p = picture.Row(y);
        for (int x = 0; x < picture.m_nWidth; ++x, p += 3) {
            const uint8_t grey =
                uint8_t((std::max({p[0], p[1], p[2]}) + std::min({p[0], p[1], p[2]})) / 2);
            p[0] = p[1] = p[2] = grey;
        }
    }
}

} // namespace pelto
