#pragma once
// The mixer's loop, built once per instruction set. Branch-free, so that the compiler can work
// on several samples per instruction; nothing here fuses or reorders arithmetic. Unnamed
// namespace: each kernel's source file, built for its own instruction set, gets a copy of its
// own; with external linkage the linker would keep one copy for every kernel, and a processor
// without AVX2 could be handed the AVX2 build of the loop.
#include <cmath>
#include <cstdint>
#include <cstring>

namespace vireon {
namespace {

// Bound on |our sine or cosine - the library's| for phases in [0, 2 pi]: the polynomials and
// the reduction are good to a few units in the last place of 1; this leaves a wide margin.
constexpr double ErrorBound = 1e-14;

// The float the library's product rounds to, if every value within `margin` of p rounds to
// it. Rounding is monotonic, so the two ends of the interval decide.
bool SureRounding(double p, double margin) {
    const float low = static_cast<float>(p - margin), high = static_cast<float>(p + margin);
    uint32_t lowBits, highBits;  // compared as bits: -0 and +0 are different floats here
    std::memcpy(&lowBits, &low, sizeof low);
    std::memcpy(&highBits, &high, sizeof high);
    return lowBits == highBits;
}

void MixBody(const double* phases, const uint8_t* bytes, int32_t count, float* s, float* c,
             uint8_t* unsure) {
    constexpr double TwoOverPi = 0.6366197723675814;
    constexpr double PiOver2High = 1.5707963267341256;  // 31 bits: exact times 0 .. 4
    constexpr double PiOver2Low = 6.077100506506192e-11;
    constexpr double Rounder = 6755399441055744.0;  // 1.5 * 2^52
    for (int32_t j = 0; j < count; ++j) {
        const double phase = phases[j];
        const double x = static_cast<double>(int32_t{bytes[j]} - 128);
        // The quarter turn nearest the phase, and what is left, within pi/4 of it.
        const double q = (phase * TwoOverPi + Rounder) - Rounder;
        const double t = (phase - q * PiOver2High) - q * PiOver2Low;
        const double t2 = t * t;
        const double sinT =
            t +
            t * t2 *
                (-1.0 / 6 +
                 t2 * (1.0 / 120 +
                       t2 * (-1.0 / 5040 +
                             t2 * (1.0 / 362880 +
                                   t2 * (-1.0 / 39916800 +
                                         t2 * (1.0 / 6227020800 +
                                               t2 * (-1.0 / 1307674368000 +
                                                     t2 * (1.0 / 355687428096000 +
                                                           t2 * (-1.0 / 121645100408832000)))))))));
        const double cosT =
            1.0 +
            t2 * (-0.5 +
                  t2 * (1.0 / 24 +
                        t2 * (-1.0 / 720 +
                              t2 * (1.0 / 40320 +
                                    t2 * (-1.0 / 3628800 +
                                          t2 * (1.0 / 479001600 +
                                                t2 * (-1.0 / 87178291200 +
                                                      t2 * (1.0 / 20922789888000 +
                                                            t2 * (-1.0 / 6402373705728000)))))))));
        // (An odd phase, marked unsure below, must not reach the conversion.)
        const double clamped = q > 0.0 ? (q < 4.0 ? q : 4.0) : 0.0;
        const int32_t quarter = static_cast<int32_t>(clamped);
        const bool odd = (quarter & 1) != 0;
        double sine = odd ? cosT : sinT;
        double cosine = odd ? sinT : cosT;
        sine = (quarter & 2) != 0 ? -sine : sine;
        cosine = ((quarter + 1) & 2) != 0 ? -cosine : cosine;

        const double ps = x * sine;
        const double pc = x * cosine;
        s[j] = static_cast<float>(ps);
        c[j] = static_cast<float>(pc);
        // Our product is within |x| * ErrorBound of the library's before rounding, and each
        // rounding to double moves it by less than 2^-52 of itself. A zero byte gives a zero
        // of the sine's sign, which ours shares unless the sine is nearly zero.
        const double reach = std::fabs(x) * ErrorBound;
        const int zero = x == 0.0;
        const int sureS = (zero & (std::fabs(sine) > 2 * ErrorBound)) |
                          ((1 - zero) & SureRounding(ps, reach + std::fabs(ps) * 0x1p-50));
        const int sureC = (zero & (std::fabs(cosine) > 2 * ErrorBound)) |
                          ((1 - zero) & SureRounding(pc, reach + std::fabs(pc) * 0x1p-50));
        const int inRange = (phase >= 0.0) & (phase <= 6.3);
        unsure[j] = static_cast<uint8_t>(1 - (sureS & sureC & inRange));
    }
}

}  // namespace
}  // namespace vireon
