#pragma once
// The colour CLightnessColor gives by Decompose, AddLightness(delta) and
// Compose, computed with the divisions by the lightness replaced by
// multiplications with exact reciprocals. Same result for every colour and delta.

#include "platform/ColorRef.h"

namespace pelto {

COLORREF ShiftLightness(COLORREF colour, int delta);

} // namespace pelto
