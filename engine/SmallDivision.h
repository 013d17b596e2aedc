#pragma once
// Division by a divisor of 1..255 as a multiplication by its reciprocal: the
// cut-out divides each edge pixel's colours several times by such divisors,
// and a hardware division costs many times a multiplication.

#include <array>
#include <cstdint>

namespace pelto {

namespace small_division {

// ceil(2^32 / d): for n * d < 2^32 the product's top bits are n / d exactly,
// its error n * (ceil - 2^32 / d) staying below 1 / d.
inline constexpr auto kReciprocals = [] {
    std::array<uint64_t, 256> reciprocals{};
    for (uint64_t d = 1; d < 256; ++d)
        reciprocals[d] = ((uint64_t(1) << 32) + d - 1) / d;
    return reciprocals;
}();

} // namespace small_division

// n / d rounded down, for d in 1..255 and n * d < 2^32.
constexpr uint32_t DivideBySmall(uint32_t n, uint32_t d) {
    return uint32_t((n * small_division::kReciprocals[d]) >> 32);
}

// n / d rounded half away from zero, for d in 1..255 and (|n| + d / 2) * d < 2^32.
// The sign is taken off and put back without a branch: it is either way at random.
constexpr int RoundDivideBySmall(int n, int d) {
    const int sign = n >> 31; // 0 or -1
    const uint32_t magnitude = uint32_t((n ^ sign) - sign);
    const int quotient = int(DivideBySmall(magnitude + uint32_t(d) / 2, uint32_t(d)));
    return (quotient ^ sign) - sign;
}

} // namespace pelto
