#pragma once
// The five bevel parameters, in the order the view stores and passes them,
// with what each accepts and the value a new view starts with: the dialogs,
// the style file, pelto-cli's options and its usage text all take them from here.

#include <cstdint>

namespace pelto {

// The band's profile, and whether it lies inside the shape or around it;
// 32-bit 0 and 1, as the parameters have always been passed.
enum class BevelShape : int32_t { Cut = 0, Round = 1 };
enum class BevelOutline : int32_t { Inner = 0, Outer = 1 };

// A whole-number value's range and its starting value.
struct ValueRange {
    int32_t low;
    int32_t high;
    int32_t initial;
};
// Degrees: 0 light from the left, 90 above, 180 right, 270 below.
inline constexpr ValueRange kAngleRange{0, 359, 0};
inline constexpr ValueRange kContrastRange{0, 500, 128};
// The band's width in pixels.
inline constexpr ValueRange kWidthRange{0, 30, 5};

struct ButtonParams {
    int32_t angle = kAngleRange.initial;
    int32_t contrast = kContrastRange.initial;
    int32_t width = kWidthRange.initial;
    BevelShape shape = BevelShape::Cut;
    BevelOutline outline = BevelOutline::Inner;

    // Any value but 0 is round, or outer, as the engine has always read them.
    bool Round() const { return shape != BevelShape::Cut; }
    bool Outer() const { return outline != BevelOutline::Inner; }

    friend bool operator==(const ButtonParams&, const ButtonParams&) = default;
};

} // namespace pelto
