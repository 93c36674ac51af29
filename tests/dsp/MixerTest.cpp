// The mixer's kernels against the C library's sine and cosine, over every phase the
// oscillator reaches.
#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "dsp/Mixer.h"
#include "dsp/SignalChain.h"

namespace vireon {
namespace {

// The phase's sequence from 0 repeats after this many samples, every value in between distinct.
constexpr int32_t OscillatorPeriod = 13176795;

TEST(Mixer, EveryKernelGivesTheLibrarysProductsOverTheWholePeriod) {
    float phase = 0.0f;
    std::vector<uint8_t> bytes(MixRunCapacity);
    std::vector<float> s(MixRunCapacity), c(MixRunCapacity);
    int64_t compared = 0;
    for (int32_t done = 0; done < OscillatorPeriod; done += MixRunCapacity) {
        const int32_t n = std::min(MixRunCapacity, OscillatorPeriod - done);
        // Every byte value meets every part of the period; 0 (a zero byte) and the extremes too.
        for (int32_t j = 0; j < n; ++j)
            bytes[static_cast<std::size_t>(j)] = static_cast<uint8_t>((done + j) * 101 / 7);
        for (const NamedMixKernel& kernel : MixKernelsForThisCpu()) {
            SCOPED_TRACE(kernel.name);
            float at = phase;
            MixRun(at, bytes.data(), n, s.data(), c.data(), kernel.run);
            float exact = phase;
            for (int32_t j = 0; j < n; ++j) {
                float es, ec;
                MixExactly(exact, bytes[static_cast<std::size_t>(j)], es, ec);
                StepOscillator(exact);
                const auto k = static_cast<std::size_t>(j);
                if (std::bit_cast<uint32_t>(s[k]) != std::bit_cast<uint32_t>(es) ||
                    std::bit_cast<uint32_t>(c[k]) != std::bit_cast<uint32_t>(ec)) {
                    FAIL() << "sample " << done + j << ", phase " << exact << ", byte "
                           << int{bytes[k]} << ": " << s[k] << ", " << c[k] << " instead of " << es
                           << ", " << ec;
                }
            }
            ASSERT_EQ(std::bit_cast<uint32_t>(at), std::bit_cast<uint32_t>(exact));
            ++compared;
        }
        for (int32_t j = 0; j < n; ++j) StepOscillator(phase);
    }
    EXPECT_GT(compared, 0);
}

}  // namespace
}  // namespace vireon
