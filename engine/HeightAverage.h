#pragma once
// CHeightDIB::GetAverageHeight without its per-point bounds checks: the same
// weighted mean, read straight from the rows away from the border, with the
// division by the weight done by an exact reciprocal.

#include "image/HeightDib.h"
#include "image/RasterIndex.h"

#include <array>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// AverageHeight of the eight points (x .. x + 7, y), all at least two points
// inside the field: the sums and weights eight at a time, and the division
// in doubles, exact for every sum of 16-bit heights.
inline void AverageHeights8(const CHeightDIB& heights, int x, int y, int32_t (&averages)[8]) {
    const uint8_t* centre = heights.m_pBits + raster::Offset(x, y, heights.m_nStride, 2);
    const auto at = [&](int dx, int dy) {
        return _mm_loadu_si128(
            reinterpret_cast<const __m128i*>(centre + ptrdiff_t(dy) * heights.m_nStride + 2 * dx));
    };
    const __m128i zero = _mm_setzero_si128();
    __m128i low = zero, high = zero; // the sums, as 32-bit lanes
    __m128i weight = _mm_set1_epi16(6);
    // Two points at once: their heights side by side, times their weights.
    const auto add = [&](__m128i a, int wa, __m128i b, int wb) {
        const __m128i weights =
            _mm_set1_epi32(int32_t(uint32_t(uint16_t(wb)) << 16 | uint16_t(wa)));
        low = _mm_add_epi32(low, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), weights));
        high = _mm_add_epi32(high, _mm_madd_epi16(_mm_unpackhi_epi16(a, b), weights));
        weight = _mm_add_epi16(
            weight, _mm_andnot_si128(_mm_cmpeq_epi16(a, zero), _mm_set1_epi16(short(wa))));
        weight = _mm_add_epi16(
            weight, _mm_andnot_si128(_mm_cmpeq_epi16(b, zero), _mm_set1_epi16(short(wb))));
    };
    {
        const __m128i c = at(0, 0);
        const __m128i weights = _mm_set1_epi32(6);
        low = _mm_madd_epi16(_mm_unpacklo_epi16(c, zero), weights);
        high = _mm_madd_epi16(_mm_unpackhi_epi16(c, zero), weights);
    }
    add(at(0, -1), 5, at(0, 1), 5), add(at(-1, 0), 5, at(1, 0), 5);
    add(at(-1, -1), 4, at(1, -1), 4), add(at(-1, 1), 4, at(1, 1), 4);
    for (int d = -1; d <= 1; ++d)
        add(at(d, -2), 4, at(d, 2), 4), add(at(-2, d), 4, at(2, d), 4);
    const __m128i weightLow = _mm_unpacklo_epi16(weight, zero);
    const __m128i weightHigh = _mm_unpackhi_epi16(weight, zero);
    const auto divide = [](__m128i sums, __m128i weights) {
        const __m128d first = _mm_div_pd(_mm_cvtepi32_pd(sums), _mm_cvtepi32_pd(weights));
        const __m128d second = _mm_div_pd(_mm_cvtepi32_pd(_mm_srli_si128(sums, 8)),
                                          _mm_cvtepi32_pd(_mm_srli_si128(weights, 8)));
        return _mm_unpacklo_epi64(_mm_cvttpd_epi32(first), _mm_cvttpd_epi32(second));
    };
    _mm_storeu_si128(reinterpret_cast<__m128i*>(averages), divide(low, weightLow));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(averages + 4), divide(high, weightHigh));
}
#endif

} // namespace pelto
