#include "engine/Angles.h"
#include "engine/Bevel.h"
#include "engine/RoundedTrig.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

namespace pelto {

namespace {

constexpr int kReach = kWidthRange.high;

bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

} // namespace

// Where the light factor differs from the one the library's atan2 and sin
// gave (glibc is not correctly rounded), every height either double can give
// is compared; elsewhere the same double goes through the same arithmetic. So
// no height of any button changes.
TEST(RoundedTrig, EveryBevelHeightStaysTheLibrarys) {
    int differing = 0, total = 0;
    for (int dy = -kReach; dy <= kReach; ++dy)
        for (int dx = -kReach; dx <= kReach; ++dx)
            for (int angle = kAngleRange.low; angle <= kAngleRange.high; ++angle) {
                const double bearing = std::atan2(double(dx), double(dy));
                const double library = std::sin(angle * kRadiansPerDegree - bearing);
                const double light = LightFactor(dx, dy, angle);
                ++total;
                if (SameBits(light, library)) continue;
                ++differing;
                EXPECT_EQ(light, std::nextafter(library, light)) << dx << "," << dy; // one unit
                ButtonParams p;
                p.angle = angle;
                for (p.contrast = kContrastRange.low; p.contrast <= kContrastRange.high;
                     ++p.contrast)
                    for (int shape = 0; shape < 2; ++shape)
                        for (int outline = 0; outline < 2; ++outline)
                            for (p.width = 1; p.width <= kReach; ++p.width) {
                                p.shape = BevelShape(shape);
                                p.outline = BevelOutline(outline);
                                ASSERT_EQ(HeightOfLight(light, dx, dy, p),
                                          HeightOfLight(library, dx, dy, p))
                                    << dx << "," << dy << " angle " << angle << " contrast "
                                    << p.contrast << " width " << p.width;
                            }
            }
    // A light factor far from correctly rounded would differ much more often.
    EXPECT_LT(differing, total / 200);
}

// Axes, signed zeros and arguments far from the bevel's, against the library.
TEST(RoundedTrig, EdgesAsTheLibrary) {
    const double z = -0.0;
    const struct {
        double y, x;
    } atan2Cases[] = {{0, 0},  {z, 0},   {0, -1},     {z, -1},     {1, 0},
                      {-1, z}, {-3, -4}, {1e-300, 1}, {5, 1e-300}, {-2, -1e300}};
    for (const auto& c : atan2Cases)
        EXPECT_TRUE(SameBits(trig::Atan2(c.y, c.x), std::atan2(c.y, c.x))) << c.y << "," << c.x;
    for (double x : {0.0, z, 1e-300, -1e-10, 0.5, kPi, -100.25, 1e6, 1e300})
        EXPECT_TRUE(SameBits(trig::Sin(x), std::sin(x))) << x;
}

} // namespace pelto
