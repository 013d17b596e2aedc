#pragma once
// Pass 2 for one pixel: its lightness shifted by its smoothed height less
// twice the contrast, in place in the picture's stored row. A pixel of height
// 0 is not in the band (or has no contrast to show) and stays as it is.

#include "HeightAverage.h"
#include "LightnessShift.h"
#include "image/RasterIndex.h"

namespace pelto {

// The pixel at column x of a stored row, its lightness shifted by shift.
inline void ShadePixel(uint8_t* row, int x, int shift) {
    uint8_t* pixel = row + raster::Offset(x, 0, 0, 3);
    const COLORREF c = ShiftLightness(RGB(pixel[2], pixel[1], pixel[0]), shift);
    pixel[0] = static_cast<uint8_t>(GetBValue(c));
    pixel[1] = static_cast<uint8_t>(GetGValue(c));
    pixel[2] = static_cast<uint8_t>(GetRValue(c));
}

inline void ShadeBandPixel(uint8_t* row, const CHeightDIB& heights, int x, int y, int contrast) {
    if (heights.GetHeight(CPoint(x, y)) == 0) return;
    ShadePixel(row, x, AverageHeight(heights, x, y) - 2 * contrast);
}

} // namespace pelto
