#pragma once
// The plain pick's test over a row of an opaque picture: a pixel matches when
// its channels' distances from the seed's add up to no more than the
// threshold. Sixteen pixels at a time where the processor has SSSE3.

#include <cstdint>
#include <cstdlib>

namespace pelto {

struct OpaqueSeed {
    int red, green, blue;
    int threshold;

    // pixel: blue, green, red.
    bool Near(const uint8_t* pixel) const {
        return std::abs(pixel[2] - red) + std::abs(pixel[1] - green) + std::abs(pixel[0] - blue) <=
               threshold;
    }
};

// Puts the mark of stored row r (CheckerValue) where a pixel of colours
// (BGR) matches; elsewhere leaves what row held, or 0 when fresh (a mask made
// for the pick, which then needs no clearing first).
void MatchOpaqueRow(const uint8_t* colours, uint8_t* row, int width, int r, const OpaqueSeed& seed,
                    bool fresh);

} // namespace pelto
