#pragma once
// A point in raster or window coordinates: x to the right, y as the caller's
// raster defines it (stored row for the image model, row from the top for the view).

#include <cstdint>

namespace pelto {

struct CPoint {
    int32_t x = 0;
    int32_t y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(int32_t px, int32_t py) : x(px), y(py) {}
    friend constexpr bool operator==(const CPoint&, const CPoint&) = default;
};

} // namespace pelto
