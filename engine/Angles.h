#pragma once
// Degrees and radians as the whole tool converts them: pi enters only through
// 3.1415926535, not the double nearest pi, so the bevel's lighting and the
// angle dial agree to the last bit.

namespace pelto {

constexpr double kPi = 3.1415926535;
constexpr double kRadiansPerDegree = 0.017453292519444445; // kPi / 180
constexpr double kDegreesPerRadian = 57.29577951471995;    // 180 / kPi

static_assert(kRadiansPerDegree == kPi / 180 && kDegreesPerRadian == 180 / kPi);

} // namespace pelto
