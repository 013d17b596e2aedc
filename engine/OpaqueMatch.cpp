#include "OpaqueMatch.h"

#include "BackgroundSelection.h"

#include <array>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PELTO_MATCH_SSSE3 1
#endif

namespace pelto {

namespace {

#ifdef PELTO_MATCH_SSSE3
// For channel j (0 blue, 1 green, 2 red) and each of the three 16-byte loads
// of sixteen pixels, where lane k finds its byte, 3k + j (0x80: in another load).
constexpr std::array<std::array<std::array<int8_t, 16>, 3>, 3> kGather = [] {
    std::array<std::array<std::array<int8_t, 16>, 3>, 3> m{};
    for (int j = 0; j < 3; ++j)
        for (int load = 0; load < 3; ++load)
            for (int k = 0; k < 16; ++k) {
                const int at = 3 * k + j;
                m[j][load][k] = static_cast<int8_t>(at / 16 == load ? at % 16 : 0x80);
            }
    return m;
}();

__attribute__((target("ssse3"))) __m128i Channel(const __m128i (&loads)[3], int j) {
    __m128i gathered = _mm_setzero_si128();
    for (int load = 0; load < 3; ++load) {
        const __m128i mask =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(kGather[j][load].data()));
        gathered = _mm_or_si128(gathered, _mm_shuffle_epi8(loads[load], mask));
    }
    return gathered;
}

__attribute__((target("ssse3"))) __m128i Distance(__m128i x, int seed) {
    const __m128i s = _mm_set1_epi8(static_cast<char>(seed));
    return _mm_sub_epi8(_mm_max_epu8(x, s), _mm_min_epu8(x, s));
}

// The columns from 0 in whole sixteens; returns how many it did.
__attribute__((target("ssse3"))) int MatchSixteens(const uint8_t* colours, uint8_t* row, int width,
                                                   int r, const OpaqueSeed& seed, bool fresh) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i threshold = _mm_set1_epi16(static_cast<short>(seed.threshold));
    // Marks of sixteen columns from a multiple of 16: four of one value, four of the other.
    const uint8_t even = uint8_t(CheckerValue(0, r)), odd = uint8_t(CheckerValue(4, r));
    const __m128i marks = _mm_setr_epi8(
        char(even), char(even), char(even), char(even), char(odd), char(odd), char(odd), char(odd),
        char(even), char(even), char(even), char(even), char(odd), char(odd), char(odd), char(odd));
    int c = 0;
    for (; c + 16 <= width; c += 16) {
        const auto* in = reinterpret_cast<const __m128i*>(colours + 3 * size_t(c));
        const __m128i loads[3] = {_mm_loadu_si128(in), _mm_loadu_si128(in + 1),
                                  _mm_loadu_si128(in + 2)};
        const __m128i blue = Distance(Channel(loads, 0), seed.blue);
        const __m128i green = Distance(Channel(loads, 1), seed.green);
        const __m128i red = Distance(Channel(loads, 2), seed.red);
        const __m128i low = _mm_add_epi16(
            _mm_add_epi16(_mm_unpacklo_epi8(blue, zero), _mm_unpacklo_epi8(green, zero)),
            _mm_unpacklo_epi8(red, zero));
        const __m128i high = _mm_add_epi16(
            _mm_add_epi16(_mm_unpackhi_epi8(blue, zero), _mm_unpackhi_epi8(green, zero)),
            _mm_unpackhi_epi8(red, zero));
        const __m128i far =
            _mm_packs_epi16(_mm_cmpgt_epi16(low, threshold), _mm_cmpgt_epi16(high, threshold));
        auto* out = reinterpret_cast<__m128i*>(row + c);
        __m128i result = _mm_andnot_si128(far, marks);
        if (!fresh) result = _mm_or_si128(result, _mm_and_si128(far, _mm_loadu_si128(out)));
        _mm_storeu_si128(out, result);
    }
    return c;
}

bool HasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

} // namespace

void MatchOpaqueRow(const uint8_t* colours, uint8_t* row, int width, int r, const OpaqueSeed& seed,
                    bool fresh) {
    int c = 0;
#ifdef PELTO_MATCH_SSSE3
    if (HasSsse3()) c = MatchSixteens(colours, row, width, r, seed, fresh);
#endif
    for (; c < width; ++c) {
        if (seed.Near(colours + 3 * size_t(c)))
            row[c] = uint8_t(CheckerValue(c, r));
        else if (fresh)
            row[c] = 0;
    }
}

} // namespace pelto
