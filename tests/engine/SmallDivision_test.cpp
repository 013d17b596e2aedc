#include "engine/SmallDivision.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace pelto {

namespace {

// Every divisor, against the hardware's division: all numerators the
// cut-out's colours can make, and the last ones the bound allows.
TEST(SmallDivision, QuotientsAreTheDivisions) {
    for (uint32_t d = 1; d < 256; ++d) {
        const uint32_t largest = uint32_t((uint64_t(1) << 32) - 1) / d;
        for (uint32_t n = 0; n < (1u << 17); ++n)
            if (DivideBySmall(n, d) != n / d) FAIL() << n << " / " << d;
        for (uint32_t n = largest, k = 0; k <= 4096; --n, ++k)
            if (DivideBySmall(n, d) != n / d) FAIL() << n << " / " << d;
    }
}

TEST(SmallDivision, RoundsHalfAwayFromZero) {
    const auto rounded = [](int n, int d) {
        return n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d);
    };
    for (int d = 1; d < 256; ++d)
        for (int n = -66000; n <= 66000; ++n)
            if (RoundDivideBySmall(n, d) != rounded(n, d)) FAIL() << n << " / " << d;
    EXPECT_EQ(RoundDivideBySmall(-3, 2), -2);
    EXPECT_EQ(RoundDivideBySmall(3, 2), 2);
    EXPECT_EQ(RoundDivideBySmall(-1, 3), 0);
}

} // namespace

} // namespace pelto
