#pragma once
// One pick of the background: a pixel as seen on screen (column from the
// left, row from the top), the colour tolerance in percent it selects with,
// and whether it takes only the pixels joined to it; the tolerance dialog,
// the style file and pelto-cli take its range from here.

#include "ButtonParams.h"

#include <cstdint>

namespace pelto {

// Percent.
inline constexpr ValueRange kToleranceRange{0, 100, 0};

struct BackgroundPick {
    int32_t x = 0;
    int32_t y = 0;
    int32_t tolerance = kToleranceRange.initial;
    // Only the matching pixels reached from the picked one through edge
    // neighbours that match too; otherwise every matching pixel.
    bool connected = false;

    friend bool operator==(const BackgroundPick&, const BackgroundPick&) = default;
};

} // namespace pelto
