#pragma once
// The states a button takes on a page or in a game, beside its normal look:
// pressed is the same button lit from the other side (the light's angle plus
// 180 degrees); hover is the normal button with every visible pixel's
// lightness raised by kHoverLightness through the lightness colour model
// (CLightnessColor: its lightness is largest + smallest channel, 0..510, so
// the step is a tenth of the range, the hue kept); disabled is every pixel
// grey at its own lightness in the same sense, (largest + smallest) / 2,
// truncated. Opacity is the normal button's in all of them.

#include "ButtonParams.h"
#include "image/AlphaPlane.h"
#include "image/Dib.h"

namespace pelto {

inline constexpr int kHoverLightness = 51;

// The values the pressed state is made with.
ButtonParams PressedParams(ButtonParams normal);

// The normal button's picture made the hover state's; alpha (or none)
// says which pixels are visible.
void MakeHover(CDIB& picture, const CAlphaPlane* alpha);
// The normal button's picture made the disabled state's.
void MakeDisabled(CDIB& picture);

} // namespace pelto
