#include "dsp/SpectrumEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <memory>
#include <numbers>
#include <random>
#include <stdexcept>
#include <vector>

#include "dsp/math/ChainMath.h"

namespace vireon {
namespace {

std::unique_ptr<SpectrumEngine> MakeEngine(int32_t n) {
    auto engine = std::make_unique<SpectrumEngine>();
    engine->Init(n);
    return engine;
}

void Frame(SpectrumEngine& e) {
    e.ApplyWindow();
    e.Transform();
    e.Magnitudes();
}

// Magnitudes straight from the definition, in double: the ring oldest first, times the periodic
// Hann window of peak 2, a DFT with a positive exponent, the halves of the result exchanged.
std::vector<double> ReferenceMagnitudes(const std::vector<std::complex<double>>& oldestFirst) {
    const std::size_t n = oldestFirst.size();
    std::vector<std::complex<double>> x(n);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = oldestFirst[i] * (1.0 - std::cos(2.0 * std::numbers::pi * double(i) / double(n)));
    std::vector<double> out(n);
    for (std::size_t k = 0; k < n; ++k) {
        std::complex<double> sum = 0.0;
        for (std::size_t t = 0; t < n; ++t)
            sum += x[t] * std::polar(1.0, 2.0 * std::numbers::pi * double((t * k) % n) / double(n));
        out[(k + n / 2) % n] = std::abs(sum);
    }
    return out;
}

TEST(SpectrumEngineInit, BuildsTheTablesFor256) {
    auto e = MakeEngine(256);
    EXPECT_EQ(e->N, 256);
    EXPECT_EQ(e->BitReverse[0], 0);
    EXPECT_EQ(e->BitReverse[2], 64);
    EXPECT_EQ(e->BitReverse[3], 192);
    EXPECT_EQ(e->BitReverse[255], 255);
    EXPECT_EQ(e->SinTable[0], 0.0f);
    EXPECT_EQ(e->SinTable[64], 1.0f);
    EXPECT_EQ(e->CosTable[0], 1.0f);
    // The cosine of the double nearest pi/2, not 0.
    EXPECT_EQ(e->CosTable[64], 6.1232343e-17f);
    EXPECT_EQ(e->CosTable[128], -1.0f);
}

TEST(SpectrumEngineInit, EveryPowerOfTwoGivesAPermutationAndItsStages) {
    for (int32_t n = 2, bits = 1; n <= SpectrumCapacity; n *= 2, ++bits) {
        SCOPED_TRACE(n);
        auto e = MakeEngine(n);
        EXPECT_EQ(e->Log2N, bits);
        std::vector<bool> seen(static_cast<std::size_t>(n));
        for (int32_t i = 0; i < n; ++i) {
            const int32_t r = e->BitReverse[i];
            ASSERT_GE(r, 0);
            ASSERT_LT(r, n);
            EXPECT_FALSE(seen[r]);
            seen[r] = true;
            EXPECT_EQ(e->BitReverse[r], i);  // reversing twice gives the index back
        }
        EXPECT_EQ(e->BitReverse[1], n / 2);
        EXPECT_EQ(e->SinTable[n / 2], static_cast<float>(ChainSin(n / 2 * 6.283185307179586 / n)));
        if (n < SpectrumCapacity) {
            EXPECT_EQ(e->BitReverse[n], 0);  // nothing written past N
        }
    }
}

TEST(SpectrumEngineInit, RejectsSizesThatAreNotPowersOfTwoAndKeepsItsState) {
    auto e = MakeEngine(256);
    e->Push(1.0f, 2.0f);
    for (int32_t n : {0, 1, 3, 100, 255, 257, 4097, 8192, -256, -2147483647 - 1}) {
        SCOPED_TRACE(n);
        EXPECT_THROW(e->Init(n), std::invalid_argument);
        EXPECT_EQ(e->N, 256);
        EXPECT_EQ(e->Log2N, 8);
        EXPECT_EQ(e->BitReverse[1], 128);
    }
    // A second Init touches only the size and the tables.
    e->Magnitude[3] = 9.0f;
    e->Init(64);
    EXPECT_EQ(e->WriteIndex, 1);
    EXPECT_EQ(e->RingRe[0], 1.0f);
    EXPECT_EQ(e->RingIm[0], 2.0f);
    EXPECT_EQ(e->Magnitude[3], 9.0f);
}

TEST(SpectrumEnginePush, WrapsAtN) {
    auto e = MakeEngine(256);
    for (int i = 0; i < 256; ++i) e->Push(float(i), -float(i));
    EXPECT_EQ(e->WriteIndex, 0);
    for (int i = 256; i < 300; ++i) e->Push(float(i), -float(i));
    EXPECT_EQ(e->WriteIndex, 44);
    EXPECT_EQ(e->RingRe[43], 299.0f);
    EXPECT_EQ(e->RingIm[44], -44.0f);
    EXPECT_EQ(e->RingRe[256], 0.0f);  // the ring is N long, not the capacity
}

TEST(SpectrumEnginePush, AWriteIndexLeftBeyondASmallerSizeRestartsTheRing) {
    auto e = MakeEngine(256);
    for (int i = 0; i < 200; ++i) e->Push(1.0f, 1.0f);
    e->Init(64);
    e->ApplyWindow();  // must stay inside the 64-entry ring
    e->Push(5.0f, 6.0f);
    EXPECT_EQ(e->RingRe[0], 5.0f);
    EXPECT_EQ(e->WriteIndex, 1);
}

TEST(SpectrumEngineWindow, StartsAtTheOldestSampleAndKeepsTheWeightInDouble) {
    auto e = MakeEngine(256);
    std::mt19937 random(3);
    std::uniform_real_distribution<float> value(-500.0f, 500.0f);
    std::vector<float> pushedRe, pushedIm;
    for (int i = 0; i < 300; ++i) {
        pushedRe.push_back(value(random));
        pushedIm.push_back(value(random));
        e->Push(pushedRe.back(), pushedIm.back());
    }
    float ringBefore[SpectrumCapacity];
    std::memcpy(ringBefore, e->RingRe, sizeof ringBefore);
    e->ApplyWindow();
    for (int i = 0; i < 256; ++i) {
        const double w = 1.0 - double(e->CosTable[i]);
        // Slot 44 (push 44) comes first with weight 0; slot 43 (push 299) comes last.
        ASSERT_EQ(e->WorkRe[i], static_cast<float>(w * pushedRe[44 + i])) << i;
        ASSERT_EQ(e->WorkIm[i], static_cast<float>(w * pushedIm[44 + i])) << i;
    }
    EXPECT_EQ(e->WorkRe[0], 0.0f);
    EXPECT_EQ(0, std::memcmp(ringBefore, e->RingRe, sizeof ringBefore));
}

TEST(SpectrumEngineFrame, SilenceGivesZeros) {
    auto e = MakeEngine(256);
    for (int i = 0; i < 256; ++i) e->Magnitude[i] = 1.0f;
    Frame(*e);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(e->Magnitude[i], 0.0f) << i;
}

// A tone gives a peak of N beside two of N/2 and nothing elsewhere: a constant (k0 = 0) in the
// middle, positive frequencies below it.
TEST(SpectrumEngineFrame, PositiveFrequenciesLandBelowTheMiddle) {
    struct Case {
        int32_t n, k0, peak;
    };
    for (const Case c : {Case{256, 0, 128}, Case{256, 10, 118}, Case{256, -10, 138},
                         Case{256, 128, 0}, Case{64, 5, 27}, Case{4096, 1000, 1048}}) {
        SCOPED_TRACE(std::to_string(c.n) + " " + std::to_string(c.k0));
        auto e = MakeEngine(c.n);
        for (int i = 0; i < c.n; ++i) {
            const double a = 2.0 * std::numbers::pi * double(c.k0) * i / c.n;
            e->Push(static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a)));
        }
        Frame(*e);
        const float* m = e->Magnitude;
        EXPECT_EQ(std::max_element(m, m + c.n) - m, c.peak);
        const float tolerance = 2e-3f * float(c.n) / 256.0f;
        EXPECT_NEAR(m[c.peak], float(c.n), tolerance);
        EXPECT_NEAR(m[(c.peak + 1) % c.n], float(c.n) / 2, tolerance);
        EXPECT_NEAR(m[(c.peak + c.n - 1) % c.n], float(c.n) / 2, tolerance);
        for (int32_t i = 2; i < c.n - 1; ++i) EXPECT_NEAR(m[(c.peak + i) % c.n], 0.0f, tolerance);
    }
}

TEST(SpectrumEngineFrame, MatchesADirectTransformOfTheWindowedRing) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> value(-100.0f, 100.0f);
    for (int32_t n : {2, 4, 16, 256, 1024}) {
        SCOPED_TRACE(n);
        auto e = MakeEngine(n);
        const int pushes = n + n / 3 + 1;  // the ring has wrapped
        std::vector<std::complex<double>> all;
        for (int i = 0; i < pushes; ++i) {
            const float re = value(random), im = value(random);
            e->Push(re, im);
            all.emplace_back(re, im);
        }
        const std::vector<std::complex<double>> lastN(all.end() - n, all.end());
        const std::vector<double> expected = ReferenceMagnitudes(lastN);
        Frame(*e);
        const double peak = *std::max_element(expected.begin(), expected.end());
        for (int i = 0; i < n; ++i) ASSERT_NEAR(e->Magnitude[i], expected[i], peak * 2e-6) << i;
    }
}

}  // namespace
}  // namespace vireon
