#pragma once
// The five bevel parameters, in the order the view stores and passes them.

#include <cstdint>

namespace pelto {

struct ButtonParams {
    int32_t angle = 0;      // degrees 0..359: 0 light from the left, 90 above, 180 right, 270 below
    int32_t contrast = 128; // 0..500
    int32_t width = 5;      // band width in pixels, 0..30
    int32_t shape = 0;      // 0 cut, otherwise round
    int32_t outline = 0;    // 0 inner (band inside the shape), otherwise outer

    static constexpr int kMaxAngle = 359;
    static constexpr int kMaxContrast = 500;
    static constexpr int kMaxWidth = 30;

    friend bool operator==(const ButtonParams&, const ButtonParams&) = default;
};

} // namespace pelto
