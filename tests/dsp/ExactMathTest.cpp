// ExactSin, ExactCos and LogOfFloat against glibc over every input the chain gives the library:
// each oscillator phase, each transform table angle, each float the column renderer takes the
// logarithm of. The optimised build runs them all (on two threads); a build with sanitizers, or
// without optimisation, every VIREON_EXHAUSTIVE_STRIDE-th input.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "dsp/SignalChain.h"
#include "dsp/math/ExactMath.h"

namespace vireon {
namespace {

constexpr int64_t Stride = VIREON_EXHAUSTIVE_STRIDE;

// Through pointers the compiler cannot see, so that each call is the library's at run time.
double (*volatile const glibcSin)(double) = ::sin;
double (*volatile const glibcCos)(double) = ::cos;
double (*volatile const glibcLog)(double) = ::log;

uint32_t Bits(float f) {
    return std::bit_cast<uint32_t>(f);
}

// Runs part(0) on a second thread and part(1) on this one; each adds to its own counts.
template <class Counts, class Part>
Counts OnTwoThreads(Part part) {
    Counts counts[2];
    std::thread other([&] { counts[0] = part(0); });
    counts[1] = part(1);
    other.join();
    return counts[0] + counts[1];
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct SineCounts {
    int64_t phases = 0, sinDoubles = 0, cosDoubles = 0, products = 0;
    SineCounts operator+(const SineCounts& o) const {
        return {phases + o.phases, sinDoubles + o.sinDoubles, cosDoubles + o.cosDoubles,
                products + o.products};
    }
};

// Where our double is not glibc's, the mixer's rounded products must still be, for every byte.
int64_t ProductsThatDiffer(double ours, double glibc) {
    int64_t differ = 0;
    for (int32_t x = -128; x < 128; ++x)
        differ += Bits(static_cast<float>(double(x) * ours)) !=
                  Bits(static_cast<float>(double(x) * glibc));
    return differ;
}

TEST(ExactMathAgainstGlibc, SineAndCosineAtEveryOscillatorPhase) {
    // From 0 the phase passes two values and then runs round a cycle of 13,176,795.
    constexpr int64_t Lead = 2, Cycle = 13176795;
    const auto start = std::chrono::steady_clock::now();
    const SineCounts counts = OnTwoThreads<SineCounts>([](int64_t half) {
        SineCounts c;
        float phase = 0.0f;
        for (int64_t j = 0; j < Lead + Cycle; ++j, StepOscillator(phase)) {
            if (j % Stride != 0 || (j / Stride) % 2 != half) continue;
            const double p = phase, s = ExactSin(p), co = ExactCos(p);
            const double gs = glibcSin(p), gc = glibcCos(p);
            ++c.phases;
            if (s != gs || std::signbit(s) != std::signbit(gs)) {
                ++c.sinDoubles;
                c.products += ProductsThatDiffer(s, gs);
            }
            if (co != gc) {
                ++c.cosDoubles;
                c.products += ProductsThatDiffer(co, gc);
            }
        }
        return c;
    });
    std::printf(
        "oscillator: %lld phases, sin differs in %lld doubles, cos in %lld, products in "
        "%lld; %.1f s\n",
        static_cast<long long>(counts.phases), static_cast<long long>(counts.sinDoubles),
        static_cast<long long>(counts.cosDoubles), static_cast<long long>(counts.products),
        SecondsSince(start));
    EXPECT_EQ(counts.phases, (Lead + Cycle + Stride - 1) / Stride);
    EXPECT_EQ(counts.products, 0);

    // The phases above are all there are: the step after the last is back in the cycle.
    float phase = 0.0f, cycleStart = 0.0f;
    for (int64_t j = 0; j < Lead + Cycle; ++j) {
        if (j == Lead) cycleStart = phase;
        StepOscillator(phase);
    }
    EXPECT_EQ(Bits(phase), Bits(cycleStart));
}

TEST(ExactMathAgainstGlibc, SineAndCosineAtEveryTransformTableAngle) {
    int64_t angles = 0, doubles = 0;
    for (int32_t n = 2; n <= 4096; n *= 2)
        for (int32_t i = 0; i < n; ++i) {
            const double a = (double(i) * 6.283185307179586) / double(n);  // SpectrumEngine::Init
            const double s = ExactSin(a), c = ExactCos(a);
            ++angles;
            doubles += (s != glibcSin(a)) + (c != glibcCos(a));
            ASSERT_EQ(Bits(static_cast<float>(s)), Bits(static_cast<float>(glibcSin(a))))
                << "sin, n " << n << ", i " << i;
            ASSERT_EQ(Bits(static_cast<float>(c)), Bits(static_cast<float>(glibcCos(a))))
                << "cos, n " << n << ", i " << i;
        }
    std::printf("table angles: %lld, doubles that differ: %lld\n", static_cast<long long>(angles),
                static_cast<long long>(doubles));
    EXPECT_EQ(angles, 8190);
}

// Steps between two doubles of the same sign.
int64_t Ulps(double a, double b) {
    return std::abs(static_cast<int64_t>(std::bit_cast<uint64_t>(a) - std::bit_cast<uint64_t>(b)));
}

struct LogCounts {
    int64_t inputs = 0, slow = 0, wrong = 0, fastUlps = 0;
    uint32_t firstWrong = 0;
    LogCounts operator+(const LogCounts& o) const {
        return {inputs + o.inputs, slow + o.slow, wrong + o.wrong, std::max(fastUlps, o.fastUlps),
                firstWrong != 0 ? firstWrong : o.firstWrong};
    }
};

// LogOfFloat against glibc for every Stride-th float with bits in [first, last], both halves
// of it at once; and how far the fast path's double strays from glibc's.
LogCounts CompareLogs(uint32_t first, uint32_t last) {
    return OnTwoThreads<LogCounts>([=](int64_t half) {
        LogCounts c;
        const int64_t count = (int64_t{last} - first) / Stride + 1;
        const int64_t begin = half * (count / 2), end = half == 0 ? count / 2 : count;
        for (int64_t k = begin; k < end; ++k) {
            const float f = std::bit_cast<float>(static_cast<uint32_t>(first + k * Stride));
            const double glibc = glibcLog(double(f));
            const float ours = LogOfFloat(f);
            double fast;
            if (LogOfFloatFast(f, fast))
                c.fastUlps = std::max(c.fastUlps, Ulps(fast, glibc));
            else
                ++c.slow;
            ++c.inputs;
            if (Bits(ours) != Bits(static_cast<float>(glibc)) && c.wrong++ == 0)
                c.firstWrong = Bits(f);
        }
        return c;
    });
}

TEST(ExactMathAgainstGlibc, LogOfEveryFloatFromOneToInfinity) {
    const auto start = std::chrono::steady_clock::now();
    const LogCounts c = CompareLogs(Bits(1.0f), Bits(INFINITY));
    std::printf(
        "log: %lld floats from 1 to +inf, %lld took the slow path, %lld differ, fast "
        "doubles at most %lld units from glibc's; %.1f s\n",
        static_cast<long long>(c.inputs), static_cast<long long>(c.slow),
        static_cast<long long>(c.wrong), static_cast<long long>(c.fastUlps), SecondsSince(start));
    EXPECT_EQ(c.inputs, ((int64_t{1} << 30) + Stride) / Stride);
    EXPECT_EQ(c.wrong, 0) << "first at " << std::bit_cast<float>(c.firstWrong) << " (bits "
                          << std::hex << c.firstWrong << ")";
    // Within 1.7 units of the logarithm, glibc's within 1 (2 of ours): what the check of the
    // fast path's rounding counts on.
    EXPECT_LE(c.fastUlps, 4);
}

TEST(ExactMathAgainstGlibc, LogOfEveryNaN) {
    // Quiet and signalling, every payload, both signs: glibc hands back the NaN made quiet.
    for (uint32_t sign : {0u, 0x80000000u}) {
        const LogCounts c = CompareLogs(sign | 0x7F800001u, sign | 0x7FFFFFFFu);
        EXPECT_EQ(c.wrong, 0) << "first at bits " << std::hex << c.firstWrong;
    }
}

// The slow path decides only a few dozen floats above, and floats below 1 are not in the
// exhaustive run: both are held to glibc here on a spread of inputs, the slow path's doubles
// within a unit in the last place of glibc's (each is within one of the logarithm, ours half).
TEST(ExactMathAgainstGlibc, SlowPathAndFloatsBelowOneOnASample) {
    int64_t inputs = 0, doubles = 0;
    for (uint32_t bits = 1; bits < 0x7F800000u; bits += static_cast<uint32_t>(4099 * Stride)) {
        const float f = std::bit_cast<float>(bits);
        const double glibc = glibcLog(double(f)), slow = LogOfFloatSlow(f);
        ASSERT_LE(Ulps(slow, glibc), 1) << f << " (bits " << std::hex << bits << ")";
        ASSERT_EQ(Bits(LogOfFloat(f)), Bits(static_cast<float>(glibc)))
            << f << " (bits " << std::hex << bits << ")";
        ++inputs;
        doubles += slow != glibc;
    }
    std::printf("slow path: %lld floats, %lld doubles not glibc's\n",
                static_cast<long long>(inputs), static_cast<long long>(doubles));
}

}  // namespace
}  // namespace vireon
