#include "RoundedTrig.h"

#include <cmath>

// Built with -ffp-contract=off: a fused multiply-add would change the
// error terms below, which depend on each product being rounded on its own.

namespace pelto::trig {

namespace {

// A value as hi + lo, |lo| at most half an ulp of hi.
struct DD {
    double hi;
    double lo;
};

constexpr DD TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

constexpr DD QuickTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// Dekker's exact product, without a fused multiply-add.
constexpr DD TwoProd(double a, double b) {
    constexpr double kSplit = 134217729.0; // 2^27 + 1
    const double p = a * b;
    const double ta = kSplit * a, tb = kSplit * b;
    const double ahi = ta - (ta - a), alo = a - ahi;
    const double bhi = tb - (tb - b), blo = b - bhi;
    return {p, ((ahi * bhi - p) + ahi * blo + alo * bhi) + alo * blo};
}

constexpr DD Add(DD a, DD b) {
    DD s = TwoSum(a.hi, b.hi);
    const DD t = TwoSum(a.lo, b.lo);
    s = QuickTwoSum(s.hi, s.lo + t.hi);
    return QuickTwoSum(s.hi, s.lo + t.lo);
}

constexpr DD Neg(DD a) {
    return {-a.hi, -a.lo};
}
constexpr DD Sub(DD a, DD b) {
    return Add(a, Neg(b));
}

constexpr DD Mul(DD a, DD b) {
    const DD p = TwoProd(a.hi, b.hi);
    return QuickTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

constexpr DD Div(DD a, DD b) {
    const double q1 = a.hi / b.hi;
    DD r = Sub(a, Mul(b, {q1, 0}));
    const double q2 = r.hi / b.hi;
    r = Sub(r, Mul(b, {q2, 0}));
    const double q3 = r.hi / b.hi;
    return Add(QuickTwoSum(q1, q2), {q3, 0});
}

DD Sqrt(DD a) {
    if (a.hi <= 0) return {0, 0};
    const double s = std::sqrt(a.hi);
    // One Newton step from a correctly rounded start doubles the bits.
    const DD e = Sub(a, TwoProd(s, s));
    return QuickTwoSum(s, e.hi / (2 * s));
}

// pi / 2 in three parts, and pi in two.
constexpr double kHalfPi1 = 0x1.921fb54442d18p+0;
constexpr double kHalfPi2 = 0x1.1a62633145c07p-54;
constexpr double kHalfPi3 = -0x1.f1976b7ed8fbcp-110;
constexpr DD kPi{0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53};
constexpr DD kHalfPi{kHalfPi1, kHalfPi2};

// The Taylor series' coefficients, made at compile time: (-1)^k / (2k + 1)!
// and (-1)^k / (2k)! for sin and cos, (-1)^k / (2k + 1) for atan. The terms
// past these are below 2^-100 of the first for |r| <= pi / 4 (sin, cos) and
// |u| <= tan(pi / 16) (atan).
constexpr int kSinTerms = 15;
constexpr int kAtanTerms = 24;

struct Series {
    DD sin[kSinTerms];
    DD cos[kSinTerms];
    DD atan[kAtanTerms];
};

constexpr Series MakeSeries() {
    Series s{};
    DD sinTerm{1, 0}, cosTerm{1, 0};
    for (int k = 0; k < kSinTerms; ++k) {
        if (k > 0) {
            cosTerm = Div(cosTerm, {-double(2 * k - 1) * double(2 * k), 0});
            sinTerm = Div(sinTerm, {-double(2 * k) * double(2 * k + 1), 0});
        }
        s.sin[k] = sinTerm;
        s.cos[k] = cosTerm;
    }
    for (int k = 0; k < kAtanTerms; ++k)
        s.atan[k] = Div({k % 2 ? -1.0 : 1.0, 0}, {double(2 * k + 1), 0});
    return s;
}

constexpr Series kSeries = MakeSeries();

// The sum of terms[k] x^k, by Horner's rule. The terms from exact on are
// below 2^-50 of the first, so plain doubles carry them well enough, at a
// fraction of the cost.
template <int N> DD Polynomial(const DD (&terms)[N], DD x, int exact) {
    double tail = terms[N - 1].hi;
    for (int k = N - 2; k >= exact; --k)
        tail = tail * x.hi + terms[k].hi;
    DD s{tail, 0};
    for (int k = exact - 1; k >= 0; --k)
        s = Add(Mul(s, x), terms[k]);
    return s;
}

// sin r and cos r for |r| <= pi / 4.
DD SinReduced(DD r) {
    return Mul(Polynomial(kSeries.sin, Mul(r, r), 8), r);
}
DD CosReduced(DD r) {
    return Polynomial(kSeries.cos, Mul(r, r), 9);
}

// atan u for 0 <= u <= 1: two halvings of the angle bring u below
// tan(pi / 16), where the series converges fast.
DD AtanUnit(DD u) {
    for (int i = 0; i < 2; ++i)
        u = Div(u, Add({1, 0}, Sqrt(Add({1, 0}, Mul(u, u)))));
    return Mul(Mul(Polynomial(kSeries.atan, Mul(u, u), 11), u), {4, 0});
}

double Rounded(DD a) {
    return a.hi + a.lo;
}

} // namespace

double Sin(double x) {
    if (x == 0 || !(std::fabs(x) < 0x1p20)) return x == 0 ? x : std::sin(x);
    const double n = std::nearbyint(x / kHalfPi1);
    // x - n pi / 2, exactly enough: n times each part is exact or nearly so.
    DD r = Add(TwoSum(x, 0), Neg(TwoProd(n, kHalfPi1)));
    r = Sub(r, TwoProd(n, kHalfPi2));
    r = Sub(r, {n * kHalfPi3, 0});
    switch (static_cast<long>(n) & 3) {
    case 0:
        return Rounded(SinReduced(r));
    case 1:
        return Rounded(CosReduced(r));
    case 2:
        return -Rounded(SinReduced(r));
    default:
        return -Rounded(CosReduced(r));
    }
}

double Atan2(double y, double x) {
    if (std::isnan(x) || std::isnan(y) || std::isinf(x) || std::isinf(y)) return std::atan2(y, x);
    const double ay = std::fabs(y), ax = std::fabs(x);
    DD a;
    if (ay == 0)
        a = std::signbit(x) ? kPi : DD{0, 0};
    else if (ax == 0)
        a = kHalfPi;
    else {
        a = ay <= ax ? AtanUnit(Div({ay, 0}, {ax, 0}))
                     : Sub(kHalfPi, AtanUnit(Div({ax, 0}, {ay, 0})));
        if (x < 0) a = Sub(kPi, a);
    }
    const double angle = Rounded(a);
    return std::signbit(y) ? -angle : angle;
}

} // namespace pelto::trig
