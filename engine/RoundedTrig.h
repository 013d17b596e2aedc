#pragma once
// sin and atan2 computed the same way on every machine, in double-double
// arithmetic (about 106 bits) and rounded once to the nearest double, so that
// the bevel's lighting gives the same heights wherever the engine runs (the
// desktop, the browser), whatever that machine's C library does.
// The desktop's C library (glibc) is not correctly rounded everywhere: it
// differs from these by one unit in the last place for about one in 700 of
// the bevel's arguments (Bevel.cpp keeps its doubles where a height depends
// on them).
// Sin's argument: |x| < 2^20; beyond that it answers std::sin's value.

namespace pelto::trig {

double Sin(double x);
// The angle of the point (x, y) from the positive x axis, in (-pi, pi].
double Atan2(double y, double x);

} // namespace pelto::trig
