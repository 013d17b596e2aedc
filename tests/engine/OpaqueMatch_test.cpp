// The plain pick's row test, sixteen pixels at a time or one by one: the
// marks where the distance sum is within the threshold, the row's old values
// (or nothing, in a fresh mask) elsewhere, at every width and row phase.

#include "engine/BackgroundSelection.h"
#include "engine/OpaqueMatch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace pelto {

namespace {

TEST(OpaqueMatch, MarksWhatIsWithinTheThresholdAtEveryWidth) {
    std::mt19937 rng(17);
    const OpaqueSeed seeds[] = {
        {200, 10, 90, 0}, {200, 10, 90, 40}, {0, 255, 128, 383}, {255, 255, 255, 768}};
    for (const OpaqueSeed& seed : seeds)
        for (int width : {0, 1, 15, 16, 17, 31, 32, 33, 100})
            for (int r : {0, 3, 4, 7})
                for (bool fresh : {false, true}) {
                    // Colours near the seed and far from it, so that both kinds come.
                    std::vector<uint8_t> colours(3 * size_t(width) + 1);
                    for (int c = 0; c < width; ++c) {
                        const int spread = rng() % 2 ? 30 : 255;
                        const int channel[3] = {seed.blue, seed.green, seed.red};
                        for (int j = 0; j < 3; ++j)
                            colours[3 * size_t(c) + j] = uint8_t(std::clamp(
                                channel[j] + int(rng() % (2 * spread + 1)) - spread, 0, 255));
                    }
                    std::vector<uint8_t> row(size_t(width) + 1);
                    for (uint8_t& v : row)
                        v = uint8_t(rng());
                    const std::vector<uint8_t> old = row;
                    MatchOpaqueRow(colours.data(), row.data(), width, r, seed, fresh);
                    for (int c = 0; c < width; ++c) {
                        const uint8_t* p = &colours[3 * size_t(c)];
                        const bool near = std::abs(p[2] - seed.red) + std::abs(p[1] - seed.green) +
                                              std::abs(p[0] - seed.blue) <=
                                          seed.threshold;
                        const int expected = near ? CheckerValue(c, r) : fresh ? 0 : old[size_t(c)];
                        ASSERT_EQ(row[size_t(c)], expected)
                            << "width " << width << " column " << c << " row " << r << " fresh "
                            << fresh << " threshold " << seed.threshold;
                    }
                    EXPECT_EQ(row[size_t(width)], old[size_t(width)]); // nothing past the row
                }
}

} // namespace

} // namespace pelto
