// Every kernel of every family this processor runs, the portable ones included, held bit for bit
// to the family's scalar reference, worked out once for all of them on the same inputs: the FIR's
// to FirFilter::Step, the mixer's to the C library's sine and cosine, the transform's stages to
// the butterfly written out one at a time, the window and the magnitudes to their definitions.
#include "dsp/kernels/Kernels.h"

#include <gtest/gtest.h>

#include <math.h>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dsp/FirRun.h"
#include "dsp/Mixer.h"
#include "dsp/SignalChain.h"
#include "dsp/math/ChainMath.h"

namespace vireon {
namespace {

uint32_t Bits(float v) {
    return std::bit_cast<uint32_t>(v);
}

// A filter of the given tap count with random coefficients and a random history.
std::unique_ptr<FirFilter> RandomFilter(int32_t taps, std::mt19937& random) {
    std::uniform_real_distribution<float> value(-128.0f, 128.0f);
    auto f = std::make_unique<FirFilter>();
    f->TapCount = taps;
    for (int i = 0; i < FirCapacity; ++i) {
        f->Coefficients[i] = value(random) / 128.0f;
        f->DelayLine[i] = value(random);
    }
    return f;
}

// The kernels of a family this processor runs.
template <class Run>
using Runnable = std::vector<const Kernel<Run>*>;

// Random filters of 0 to 1024 taps (equal and unequal pairs), runs of odd and even lengths up to
// the capacity, every stride: the kept outputs and the filters afterwards are those of Step, as
// are those of StepPair, the path for what the kernels do not take.
struct FirFamily {
    static constexpr const char* Name = "FirFilter";
    static std::span<const Kernel<FirKernel>> All() { return FirKernels(); }
    static FirKernel ChosenOne() { return Chosen().fir.run; }

    static void Check(const Runnable<FirKernel>& kernels) {
        std::mt19937 random(13);
        std::uniform_real_distribution<float> value(-128.0f, 128.0f);
        std::uniform_int_distribution<int32_t> anyTaps(0, FirCapacity);
        std::uniform_int_distribution<int32_t> anyRun(1, FirRunCapacity);
        // The edges first (no taps, one, around a vector's width, the capacity, unequal counts),
        // then random ones.
        std::vector<std::pair<int32_t, int32_t>> taps = {
            {0, 0}, {1, 1}, {2, 2}, {9, 9}, {127, 127}, {1024, 1024}, {127, 31}, {0, 5}};
        for (int i = 0; i < 6; ++i) {
            const int32_t t = anyTaps(random);
            taps.emplace_back(t, i % 3 == 0 ? anyTaps(random) : t);
        }
        for (const auto& [tapsA, tapsB] : taps) {
            SCOPED_TRACE(std::to_string(tapsA) + "/" + std::to_string(tapsB));
            std::unique_ptr<FirFilter> solo[2] = {RandomFilter(tapsA, random),
                                                  RandomFilter(tapsB, random)};
            // Copies of the two for each kernel, and the last for StepPair.
            std::vector<std::array<std::unique_ptr<FirFilter>, 2>> copies(kernels.size() + 1);
            for (auto& pair : copies)
                for (int f = 0; f < 2; ++f) pair[f] = std::make_unique<FirFilter>(*solo[f]);
            const int32_t stride = 1 + int32_t(random() % FirMaxStride);
            int32_t phase = int32_t(random() % uint32_t(stride));  // inputs until the next kept
            for (const int32_t n : {1, 3, FirRunCapacity - 1, FirRunCapacity, anyRun(random),
                                    anyRun(random), anyRun(random)}) {
                const KeptOutputs keep{phase, stride, phase < n ? (n - 1 - phase) / stride + 1 : 0};
                std::vector<float> x[2], kept[2],
                    y[2] = {std::vector<float>(n), std::vector<float>(n)};
                for (auto& v : x)
                    std::generate_n(std::back_inserter(v), n, [&] { return value(random); });
                auto& pair = copies.back();
                for (int32_t k = 0; k < n; ++k) {
                    float p[2];
                    StepPair(*pair[0], x[0][k], p[0], *pair[1], x[1][k], p[1]);
                    for (int f = 0; f < 2; ++f) {
                        const float expected = solo[f]->Step(x[f][k]);
                        ASSERT_EQ(Bits(p[f]), Bits(expected)) << "StepPair, input " << k;
                        if (k >= phase && (k - phase) % stride == 0) kept[f].push_back(expected);
                    }
                }
                for (std::size_t i = 0; i < kernels.size(); ++i) {
                    SCOPED_TRACE(kernels[i]->name);
                    StepPairRun(*copies[i][0], x[0].data(), y[0].data(), *copies[i][1], x[1].data(),
                                y[1].data(), n, keep, kernels[i]->run);
                    for (int f = 0; f < 2; ++f)
                        for (int32_t m = 0; m < keep.count; ++m)
                            ASSERT_EQ(Bits(y[f][m]), Bits(kept[f][m])) << "run " << n << ", " << m;
                }
                phase = keep.count > 0 ? keep.first + keep.count * stride - n : phase - n;
                for (const auto& copy : copies)
                    for (int f = 0; f < 2; ++f)
                        ASSERT_EQ(0, std::memcmp(copy[f].get(), solo[f].get(), sizeof(FirFilter)));
            }
        }
    }
};

// Every phase the oscillator reaches (from 0 it passes two values, then runs round a cycle of
// 13,176,795; all of them distinct), every byte value meeting every part of the period, against
// the chain's sine and cosine (the C library's, dsp/math/ChainMath) called through pointers, so
// that nothing is merged or folded.
struct MixerFamily {
    static constexpr const char* Name = "Mixer";
    static constexpr int32_t OscillatorPhases = 13176797;
    static std::span<const Kernel<MixKernel>> All() { return MixKernels(); }
    static MixKernel ChosenOne() { return Chosen().mix.run; }

    static void Check(const Runnable<MixKernel>& kernels) {
        double (*volatile separateSin)(double) = ChainSin;
        double (*volatile separateCos)(double) = ChainCos;
        float phase = 0.0f;
        uint8_t bytes[MixRunCapacity];
        float es[MixRunCapacity], ec[MixRunCapacity], s[MixRunCapacity], c[MixRunCapacity];
        for (int32_t done = 0; done < OscillatorPhases; done += MixRunCapacity) {
            const int32_t n = std::min(MixRunCapacity, OscillatorPhases - done);
            float next = phase;
            for (int32_t j = 0; j < n; ++j) {
                bytes[j] = static_cast<uint8_t>((done + j) * 101 / 7);
                const double x = int32_t{bytes[j]} - 128;
                es[j] = static_cast<float>(x * separateSin(next));
                ec[j] = static_cast<float>(x * separateCos(next));
                StepOscillator(next);
            }
            for (const Kernel<MixKernel>* kernel : kernels) {
                float at = phase;
                MixRun(at, bytes, n, s, c, kernel->run);
                for (int32_t j = 0; j < n; ++j)
                    if (Bits(s[j]) != Bits(es[j]) || Bits(c[j]) != Bits(ec[j]))
                        FAIL() << kernel->name << ", sample " << done + j << ", byte "
                               << int{bytes[j]} << ": " << s[j] << ", " << c[j] << " instead of "
                               << es[j] << ", " << ec[j];
                ASSERT_EQ(Bits(at), Bits(next)) << kernel->name;
            }
            phase = next;
        }
    }
};

// The butterfly as the transform defines it, one after the other.
void ReferenceStage(float* re, float* im, int32_t n, int32_t h, int32_t d,
                    const int32_t* bitReverse, const float* cosTable, const float* sinTable) {
    for (int32_t a0 = 0; a0 < n; a0 += 2 * h)
        for (int32_t a = a0; a < a0 + h; ++a) {
            const int32_t b = a + h;
            const int32_t t = bitReverse[a / d];
            const double c = cosTable[t], s = sinTable[t];
            const float tr = static_cast<float>(double(re[b]) * c - double(im[b]) * s);
            const float ti = static_cast<float>(double(im[b]) * c + double(re[b]) * s);
            const double aRe = re[a], aIm = im[a];
            re[b] = static_cast<float>(aRe - double(tr));
            im[b] = static_cast<float>(aIm - double(ti));
            re[a] = static_cast<float>(aRe + double(tr));
            im[a] = static_cast<float>(aIm + double(ti));
        }
}

// Every size from 2 to 4096, the whole transform stage by stage.
struct SpectrumEngineFamily {
    static constexpr const char* Name = "SpectrumEngine";
    static std::span<const Kernel<FftStage>> All() { return FftStages(); }
    static FftStage ChosenOne() { return Chosen().fft.run; }

    static void Check(const Runnable<FftStage>& kernels) {
        std::mt19937 random(5);
        std::uniform_real_distribution<float> value(-1000.0f, 1000.0f);
        for (int32_t n = 2; n <= SpectrumCapacity; n *= 2) {
            SCOPED_TRACE(n);
            auto start = std::make_unique<SpectrumEngine>();
            start->Init(n);
            for (int32_t i = 0; i < n; ++i)
                start->WorkRe[i] = value(random), start->WorkIm[i] = value(random);
            auto expected = std::make_unique<SpectrumEngine>(*start);
            expected->Transform(ReferenceStage);
            for (const Kernel<FftStage>* kernel : kernels) {
                auto e = std::make_unique<SpectrumEngine>(*start);
                e->Transform(kernel->run);
                ASSERT_TRUE(std::memcmp(e->WorkRe, expected->WorkRe, sizeof e->WorkRe) == 0 &&
                            std::memcmp(e->WorkIm, expected->WorkIm, sizeof e->WorkIm) == 0)
                    << kernel->name;
            }
        }
    }
};

// A ring of random samples, every size from 2 to 4096 and a write index at each edge and in
// between: the window taken from the oldest slot on, wrapping at the size.
struct WindowFamily {
    static constexpr const char* Name = "HannWindow";
    static std::span<const Kernel<WindowKernel>> All() { return WindowKernels(); }
    static WindowKernel ChosenOne() { return Chosen().window.run; }

    static void Check(const Runnable<WindowKernel>& kernels) {
        std::mt19937 random(7);
        std::uniform_real_distribution<float> value(-1000.0f, 1000.0f);
        auto e = std::make_unique<SpectrumEngine>();
        for (int32_t n = 2; n <= SpectrumCapacity; n *= 2) {
            e->Init(n);
            for (int32_t i = 0; i < n; ++i)
                e->RingRe[i] = value(random), e->RingIm[i] = value(random);
            for (const int32_t oldest : {0, 1, std::min(n / 2 + 1, n - 1), n - 2, n - 1}) {
                float re[SpectrumCapacity], im[SpectrumCapacity];
                for (int32_t i = 0; i < n; ++i) {
                    const int32_t r = (oldest + i) % n;
                    const double w = 1.0 - double(e->CosTable[i]);
                    re[i] = static_cast<float>(w * double(e->RingRe[r]));
                    im[i] = static_cast<float>(w * double(e->RingIm[r]));
                }
                for (const Kernel<WindowKernel>* kernel : kernels) {
                    std::fill_n(e->WorkRe, n, -1.0f);
                    std::fill_n(e->WorkIm, n, -1.0f);
                    kernel->run(e->RingRe, e->RingIm, oldest, n, e->CosTable, e->WorkRe, e->WorkIm);
                    ASSERT_TRUE(std::memcmp(e->WorkRe, re, sizeof(float) * std::size_t(n)) == 0 &&
                                std::memcmp(e->WorkIm, im, sizeof(float) * std::size_t(n)) == 0)
                        << kernel->name << ", n " << n << ", oldest " << oldest;
                }
            }
        }
    }
};

// Random work arrays of every size, the square root of the sum of squares in double.
struct MagnitudeFamily {
    static constexpr const char* Name = "Magnitudes";
    static std::span<const Kernel<MagnitudeKernel>> All() { return MagnitudeKernels(); }
    static MagnitudeKernel ChosenOne() { return Chosen().magnitudes.run; }

    static void Check(const Runnable<MagnitudeKernel>& kernels) {
        std::mt19937 random(11);
        std::uniform_real_distribution<float> value(-1e6f, 1e6f);
        auto e = std::make_unique<SpectrumEngine>();
        for (int32_t n = 2; n <= SpectrumCapacity; n *= 2) {
            e->Init(n);
            for (int32_t i = 0; i < n; ++i)
                e->WorkRe[i] = value(random), e->WorkIm[i] = value(random);
            float expected[SpectrumCapacity];
            for (int32_t i = 0; i < n; ++i) {
                const int32_t p = e->BitReverse[i ^ (n / 2)];
                const double re = e->WorkRe[p], im = e->WorkIm[p];
                expected[i] = static_cast<float>(std::sqrt(re * re + im * im));
            }
            for (const Kernel<MagnitudeKernel>* kernel : kernels) {
                std::fill_n(e->Magnitude, n, -1.0f);
                kernel->run(e->WorkRe, e->WorkIm, e->BitReverse, n, e->Magnitude);
                ASSERT_EQ(std::memcmp(e->Magnitude, expected, sizeof(float) * std::size_t(n)), 0)
                    << kernel->name << ", n " << n;
            }
        }
    }
};

template <class Family>
class EveryKernel : public ::testing::Test {};

struct FamilyName {
    template <class Family>
    static std::string GetName(int) {
        return Family::Name;
    }
};

using Families =
    ::testing::Types<FirFamily, MixerFamily, SpectrumEngineFamily, WindowFamily, MagnitudeFamily>;
TYPED_TEST_SUITE(EveryKernel, Families, FamilyName);

// The portable kernel comes first and runs everywhere; the chain runs the last one this
// processor has.
TYPED_TEST(EveryKernel, GivesTheScalarReferencesBits) {
    const auto all = TypeParam::All();
    EXPECT_STREQ(all.front().name, "portable");
    EXPECT_EQ(all.front().needs, CpuFeature::None);
    Runnable<decltype(all.front().run)> runnable;
    for (const auto& kernel : all)
        if (CpuHas(kernel.needs)) runnable.push_back(&kernel);
    EXPECT_EQ(TypeParam::ChosenOne(), runnable.back()->run);
    TypeParam::Check(runnable);
}

}  // namespace
}  // namespace vireon
