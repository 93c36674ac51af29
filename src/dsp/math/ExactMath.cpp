#include "dsp/math/ExactMath.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

// Everything here is double addition, subtraction, multiplication and division, each rounded
// once to nearest (no fused multiply-add: the build has -ffp-contract=off), so it gives the same
// bits on every processor and compiler. The tables are worked out at compile time with the same
// operations.

namespace vireon {
namespace {

// A double-double: hi + lo, |lo| at most half a unit in the last place of hi, about 106 bits.
struct DD {
    double hi;
    double lo;
};

constexpr double Abs(double x) {
    return x < 0.0 ? -x : x;
}
constexpr DD Negate(DD a) {
    return {-a.hi, -a.lo};
}

// a + b exactly.
constexpr DD TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// a + b exactly, when a is 0 or its exponent is at least b's.
constexpr DD FastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a * b exactly (Dekker's product; Veltkamp's split into halves of 26 bits).
constexpr DD Split(double a) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    const double hi = c - (c - a);
    return {hi, a - hi};
}
constexpr DD TwoProd(double a, double b) {
    const double p = a * b;
    const DD x = Split(a), y = Split(b);
    return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

// Joldes, Muller and Popescu (2017): the sum within 3 * 2^-106 of itself, the product within
// 7 * 2^-106 (both relative).
constexpr DD Add(DD a, DD b) {
    const DD s = TwoSum(a.hi, b.hi);
    const DD t = TwoSum(a.lo, b.lo);
    const DD v = FastTwoSum(s.hi, s.lo + t.hi);
    return FastTwoSum(v.hi, t.lo + v.lo);
}
constexpr DD Mul(DD a, DD b) {
    const DD c = TwoProd(a.hi, b.hi);
    return FastTwoSum(c.hi, c.lo + (a.hi * b.lo + a.lo * b.hi));
}
constexpr DD MulDouble(DD a, double b) {
    const DD c = TwoProd(a.hi, b);
    return FastTwoSum(c.hi, c.lo + a.lo * b);
}
constexpr DD DivDouble(DD a, double b) {
    const double q = a.hi / b;
    const DD p = TwoProd(q, b);
    return FastTwoSum(q, (((a.hi - p.hi) - p.lo) + a.lo) / b);
}
constexpr DD Div(DD a, DD b) {
    const double q1 = a.hi / b.hi;
    const DD r1 = Add(a, Negate(MulDouble(b, q1)));
    const double q2 = r1.hi / b.hi;
    const DD r2 = Add(r1, Negate(MulDouble(b, q2)));
    return Add(FastTwoSum(q1, q2), DD{r2.hi / b.hi, 0.0});
}

// v rounded to a multiple of 1 / scale (v * scale below 2^51 in size).
constexpr double RoundToGrid(double v, double scale) {
    constexpr double Rounder = 6755399441055744.0;  // 1.5 * 2^52
    return ((v * scale + Rounder) - Rounder) / scale;
}

// log(1 + r) for an exact r in [-1/2, 1], as 2 atanh(s) with s = r / (2 + r): the series
// s + s^3/3 + s^5/5 + ... until a term falls below 2^-110 of the sum (|s| <= 1/3).
constexpr DD Log1p(double r) {
    const DD s = Div(DD{r, 0.0}, TwoSum(2.0, r));
    const DD s2 = Mul(s, s);
    DD term = s, sum = s;
    for (double n = 3.0;; n += 2.0) {
        term = Mul(term, s2);
        const DD next = DivDouble(term, n);
        if (Abs(next.hi) <= Abs(sum.hi) * 0x1p-110) break;
        sum = Add(sum, next);
    }
    return {2.0 * sum.hi, 2.0 * sum.lo};
}

// ---- Logarithm of a float -------------------------------------------------------------------
//
// f = 2^e * m with m in [1, 2); c = 1 + i/256 is the nearest of 257 points to m, and invc is 1/c
// to 29 bits, so that r = m * invc - 1 is exact (24 + 29 bits) and |r| <= 2^-9 + 2^-29.
// Then log f = e log 2 - log(invc) + log(1 + r).
//
// Fast path: log 2 and -log(invc) are each split into a part on a grid of 2^-44 and the rest, so
// that w = e * Ln2Grid + LogGrid is exact (|e| < 2^8, |w| < 2^7: 51 bits), and log(1 + r) is
// r + r^2 P(r), Taylor to r^6. Then y = w + (r + ((e * Ln2Rest + LogRest) + r^2 P(r))).
// Where w = 0 (f in [1 - 2^-10, 1 + 2^-9)) every error is relative to y: its last rounding, half
// a unit in the last place of y (ulp), and the series' tail |r|^6/7 <= 2^-56.8 of it. Elsewhere
// |y| >= 2^-10, so an ulp of y is at least 2^-62, and y is within 0.5 ulp (its rounding) +
// 2^-62 (the sum with r, below 2^-8) + 2^-65.8 (the tail |r|^7/7) + 2^-70 (the roundings in
// r^2 P(r)) + 2^-90 (the splits and the rest) <= 1.7 ulp of log f. glibc's log is within one
// ulp of log f (its manual's table for x86-64), at most 2 ulp of y. So glibc's double is
// within 4 ulp of y, and if no float's rounding boundary (half a float's last place, 2^28 ulp
// of y away from the float) lies within UnsureUlps = 8 ulp of y, glibc's double rounds to the
// same float as y.
//
// Slow path: the same reduction in double-double (log(1 + r) by Log1p), good to about 2^-100,
// rounded first to the nearest double, as glibc's result is (bar its rare near-halfway cases),
// and then to float as the chain does.

constexpr int32_t LogTableSize = 257;
constexpr uint32_t UnsureUlps = 8;

struct LogEntry {
    double invc;
    double logGrid;  // -log(invc) on the grid of 2^-44
    double logRest;  // and the rest
};

struct LogTables {
    std::array<LogEntry, LogTableSize> fast;
    std::array<DD, LogTableSize> exact;  // -log(invc)
};

constexpr LogTables MakeLogTables() {
    LogTables t{};
    for (int32_t i = 0; i < LogTableSize; ++i) {
        const double c = 1.0 + double(i) / double(LogTableSize - 1);
        const double invc = RoundToGrid(1.0 / c, 0x1p29);
        const DD minusLog = Negate(Log1p(invc - 1.0));
        const double grid = RoundToGrid(minusLog.hi, 0x1p44);
        t.fast[std::size_t(i)] = {invc, grid, (minusLog.hi - grid) + minusLog.lo};
        t.exact[std::size_t(i)] = minusLog;
    }
    return t;
}
constexpr LogTables Log = MakeLogTables();

// log 2 = -log(1/2), the last entry.
constexpr DD Ln2 = Log.exact[LogTableSize - 1];
constexpr double Ln2Grid = RoundToGrid(Ln2.hi, 0x1p44);
constexpr double Ln2Rest = (Ln2.hi - Ln2Grid) + Ln2.lo;
static_assert(Ln2.hi == 0x1.62e42fefa39efp-1 && Abs(Ln2.lo - 0x1.abc9e3b39803fp-56) < 0x1p-104,
              "the double-double arithmetic does not give log 2");
static_assert(Log.fast[0].invc == 1.0 && Log.fast[0].logGrid == 0.0 && Log.fast[0].logRest == 0.0);
static_assert(Log.fast[LogTableSize - 1].invc == 0.5);

// The reduction both paths share, for a positive normal or subnormal float.
struct LogReduction {
    double e;
    const LogEntry* entry;
    const DD* exact;
    double r;
};

inline LogReduction Reduce(int32_t exponent, uint32_t fraction) {
    const uint32_t i = (fraction + 0x4000u) >> 15;  // the nearest of the 257 points: 0 .. 256
    const double m = std::bit_cast<double>(0x3FF0000000000000ull | uint64_t{fraction} << 29);
    const LogEntry& entry = Log.fast[i];
    return {double(exponent), &entry, &Log.exact[i], m * entry.invc - 1.0};
}

// ---- Sine and cosine --------------------------------------------------------------------------
//
// x = k pi/2 + t with |t| <= pi/4 (a little more where k was rounded the other way), then sin t
// or cos t from its Taylor series to t^29 or t^28 (the next term is below 2^-110 of the sum), in
// double-double, with the sign and the choice that k's quarter asks for.
//
// pi/2 in four pieces: three of 33 bits, so that k times each is exact for |k| < 2^20, then 53
// more bits; the part left out is below 2^-160, so k pi/2 is good to 2^-140 (2^-158 for the
// chain's k <= 4). With the sums and products of double-doubles, sin t and cos t come out within
// about 2^-100 of themselves; the closest the chain's angles come to a multiple of pi/2 is
// 2^-53 (pi/2, pi, 3 pi/2 and 2 pi as doubles), where t is still good to 2^-104 of itself.
constexpr double PiOver2[4] = {0x1.921fb544p+0, 0x1.0b4611a6p-34, 0x1.3198a2ep-69,
                               0x1.b839a252049c1p-104};
constexpr double TwoOverPi = 0x1.45f306dc9c883p-1;
constexpr double ReductionLimit = 0x1p19;
constexpr int32_t SeriesTerms = 15;

// (-1)^n / (2n + 1)! and (-1)^n / (2n)!, n = 0 .. 14.
struct TaylorTables {
    std::array<DD, SeriesTerms> sin;
    std::array<DD, SeriesTerms> cos;
};
constexpr TaylorTables MakeTaylorTables() {
    TaylorTables t{};
    t.sin[0] = t.cos[0] = {1.0, 0.0};
    for (int32_t n = 1; n < SeriesTerms; ++n) {
        const double twoN = 2.0 * n;
        t.sin[std::size_t(n)] = DivDouble(t.sin[std::size_t(n - 1)], -twoN * (twoN + 1.0));
        t.cos[std::size_t(n)] = DivDouble(t.cos[std::size_t(n - 1)], -(twoN - 1.0) * twoN);
    }
    return t;
}
constexpr TaylorTables Taylor = MakeTaylorTables();

DD Series(const std::array<DD, SeriesTerms>& c, DD t2) {
    DD sum = c[SeriesTerms - 1];
    for (int32_t n = SeriesTerms - 2; n >= 0; --n) sum = Add(Mul(sum, t2), c[std::size_t(n)]);
    return sum;
}

// sin(x + quarter * pi/2).
double SinOfQuarter(double x, int32_t quarter) {
    if (!(Abs(x) <= ReductionLimit)) return std::numeric_limits<double>::quiet_NaN();
    constexpr double Rounder = 6755399441055744.0;  // 1.5 * 2^52
    const double k = (x * TwoOverPi + Rounder) - Rounder;
    // x - k P0 is exact (TwoSum), and so is each k Pj for j < 3.
    DD t = TwoSum(x, -k * PiOver2[0]);
    t = Add(t, DD{-k * PiOver2[1], 0.0});
    t = Add(t, DD{-k * PiOver2[2], 0.0});
    t = Add(t, Negate(TwoProd(k, PiOver2[3])));
    const DD t2 = Mul(t, t);
    const int32_t q = (static_cast<int32_t>(k) + quarter) & 3;
    const DD v = (q & 1) != 0 ? Series(Taylor.cos, t2) : Mul(Series(Taylor.sin, t2), t);
    return (q & 2) != 0 ? -v.hi : v.hi;
}

}  // namespace

double ExactSin(double x) {
    if (x == 0.0) return x;  // keeps the sign of zero
    return SinOfQuarter(x, 0);
}

double ExactCos(double x) {
    return SinOfQuarter(x, 1);
}

namespace {

inline bool FastLog(float f, double& y) {
    const uint32_t bits = std::bit_cast<uint32_t>(f);
    if (bits - 0x00800000u >= 0x7F000000u) {  // not a positive normal float
        y = 0.0;
        return false;
    }
    const LogReduction a = Reduce(static_cast<int32_t>(bits >> 23) - 127, bits & 0x007FFFFFu);
    const double r = a.r;
    const double w = a.e * Ln2Grid + a.entry->logGrid;  // exact
    constexpr double C2 = -1.0 / 2, C3 = 1.0 / 3, C4 = -1.0 / 4, C5 = 1.0 / 5, C6 = -1.0 / 6;
    const double p = r * r * (C2 + r * (C3 + r * (C4 + r * (C5 + r * C6))));
    y = w + (r + ((a.e * Ln2Rest + a.entry->logRest) + p));
    // y's 29 bits below a float's last place, against the half of that place where the
    // rounding turns: unsure within UnsureUlps of it.
    const uint32_t below = static_cast<uint32_t>(std::bit_cast<uint64_t>(y)) & 0x1FFFFFFFu;
    return below - (0x10000000u - UnsureUlps) > 2 * UnsureUlps;
}

}  // namespace

bool LogOfFloatFast(float f, double& y) {
    return FastLog(f, y);
}

double LogOfFloatSlow(float f) {
    const uint32_t bits = std::bit_cast<uint32_t>(f);
    const uint32_t magnitude = bits & 0x7FFFFFFFu;
    if (magnitude > 0x7F800000u) {  // NaN: made quiet, its sign and payload kept
        const uint64_t sign = uint64_t{bits >> 31} << 63;
        return std::bit_cast<double>(sign | 0x7FF8000000000000ull | uint64_t{magnitude} << 29);
    }
    if (magnitude == 0) return -std::numeric_limits<double>::infinity();
    if (bits >= 0x80000000u) return std::numeric_limits<double>::quiet_NaN();
    if (bits == 0x7F800000u) return std::numeric_limits<double>::infinity();
    int32_t exponent = static_cast<int32_t>(bits >> 23) - 127;
    uint32_t fraction = bits & 0x007FFFFFu;
    if (exponent == -127) {  // subnormal: bring the leading one to bit 23
        const int32_t shift = std::countl_zero(bits) - 8;
        fraction = (bits << shift) & 0x007FFFFFu;
        exponent = -126 - shift;
    }
    const LogReduction a = Reduce(exponent, fraction);
    const DD eLn2 = Add(TwoProd(a.e, Ln2.hi), DD{a.e * Ln2.lo, 0.0});
    return Add(Add(eLn2, *a.exact), Log1p(a.r)).hi;
}

float LogOfFloat(float f) {
    double y;
    if (!FastLog(f, y)) [[unlikely]]
        y = LogOfFloatSlow(f);
    return static_cast<float>(y);
}

}  // namespace vireon
