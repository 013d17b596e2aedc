#pragma once
// CHeightDIB::GetAverageHeight without its per-point bounds checks: the same
// weighted mean, read straight from the rows away from the border, with the
// division by the weight done by an exact reciprocal.

#include "image/HeightDib.h"
#include "image/RasterIndex.h"

#include <array>
#include <cstring>

namespace pelto {

// n / weight, truncating toward zero, for weights 6..90 and |n| <= 90 * 32768:
// floor(|n| * m / 2^40) with m = 2^40 / weight + 1 is exact while
// |n| * (m * weight - 2^40) < 2^40, which holds far beyond that range.
inline int DivideByWeight(int n, int weight) {
    static constexpr std::array<uint64_t, 91> kReciprocals = [] {
        std::array<uint64_t, 91> r{};
        for (uint64_t w = 1; w < r.size(); ++w)
            r[w] = (uint64_t(1) << 40) / w + 1;
        return r;
    }();
    const uint64_t magnitude = n < 0 ? uint64_t(-int64_t(n)) : uint64_t(n);
    const int q = static_cast<int>((magnitude * kReciprocals[size_t(weight)]) >> 40);
    return n < 0 ? -q : q;
}

inline int AverageHeight(const CHeightDIB& heights, int x, int y) {
    if (x < 2 || y < 2 || x >= heights.m_nWidth - 2 || y >= heights.m_nHeight - 2)
        return heights.GetAverageHeight(CPoint(x, y));
    const uint8_t* centre = heights.m_pBits + raster::Offset(x, y, heights.m_nStride, 2);
    const auto at = [&](int dx, int dy) {
        int16_t h;
        std::memcpy(&h, centre + ptrdiff_t(dy) * heights.m_nStride + 2 * dx, 2);
        return int(h);
    };
    int sum = 6 * at(0, 0);
    int weight = 6;
    const auto add = [&](int h, int w) {
        sum += w * h; // a height of 0 adds nothing
        weight += h != 0 ? w : 0;
    };
    add(at(0, -1), 5), add(at(0, 1), 5), add(at(-1, 0), 5), add(at(1, 0), 5);
    for (int dy = -1; dy <= 1; dy += 2)
        add(at(-1, dy), 4), add(at(1, dy), 4);
    for (int d = -1; d <= 1; ++d) {
        add(at(d, -2), 4), add(at(d, 2), 4);
        add(at(-2, d), 4), add(at(2, d), 4);
    }
    return DivideByWeight(sum, weight);
}

} // namespace pelto
