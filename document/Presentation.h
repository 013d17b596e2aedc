#pragma once
// How every front end shows a picture, the windows and the web page alike:
// the zoom steps, and the checkerboard that shows through transparency. The
// page's copy of these values is written from here when it is built
// (web/PageValues.cpp).

#include <cstdint>

namespace pelto {

// Screen pixels per picture pixel, as an exact fraction.
struct CZoom {
    int num = 1;
    int den = 1;

    bool IsActualSize() const { return num == den; }
    friend bool operator==(CZoom a, CZoom b) {
        return int64_t(a.num) * b.den == int64_t(b.num) * a.den;
    }
};

// The zoom menu's steps, 1/16 to 32.
inline constexpr CZoom kZoomSteps[] = {{1, 16}, {1, 8}, {1, 4}, {1, 3}, {1, 2}, {2, 3},  {1, 1},
                                       {3, 2},  {2, 1}, {3, 1}, {4, 1}, {8, 1}, {16, 1}, {32, 1}};

// The checkerboard's squares are this many logical pixels wide at every zoom,
// counted from the picture's top-left corner, whose square is the lighter:
// larger than the selection's 4 x 4 at 100 %, and its two greys far lighter
// than the selection's grey and white, so the two are not confused.
inline constexpr int kCheckerSquare = 8;
inline constexpr uint8_t kCheckerLevels[2] = {247, 235};

} // namespace pelto
