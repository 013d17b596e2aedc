#pragma once
// A rectangle of a raster's pixels: columns [x0, x1) and stored rows [y0, y1).

#include <algorithm>

namespace pelto {

struct PixelArea {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    bool Empty() const { return x1 <= x0 || y1 <= y0; }
    bool Contains(const PixelArea& a) const {
        return a.Empty() || (x0 <= a.x0 && y0 <= a.y0 && a.x1 <= x1 && a.y1 <= y1);
    }
    PixelArea Grown(int by) const { return {x0 - by, y0 - by, x1 + by, y1 + by}; }
    // The part of it inside a raster of columns x rows; empty ones come out as {}.
    PixelArea Within(int columns, int rows) const {
        const PixelArea a{std::max(x0, 0), std::max(y0, 0), std::min(x1, columns),
                          std::min(y1, rows)};
        return a.Empty() ? PixelArea{} : a;
    }
    friend bool operator==(const PixelArea&, const PixelArea&) = default;
};

// The smallest area holding both.
inline PixelArea Enclosing(const PixelArea& a, const PixelArea& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

} // namespace pelto
