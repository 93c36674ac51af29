// Our sinc converter against libsamplerate's own, sample for sample and bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "tools/render/Resampler.h"
#include "tools/render/SincFilter.h"

namespace vireon::render {
namespace {

std::vector<float> Noise(std::size_t count, uint32_t seed) {
    std::vector<float> x(count);
    for (float& v : x) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<float>(static_cast<int32_t>(seed)) / 2147483648.0f;
    }
    return x;
}

// Feeds the same chunks to a converter, taking its output every `takeEvery` chunks.
std::vector<float> Convert(Resampler& resampler, const std::vector<float>& input, long chunk,
                           int takeEvery) {
    std::vector<float> out;
    std::size_t from = 0;
    for (int n = 1;; ++n) {
        const std::size_t count =
            std::min<std::size_t>(static_cast<std::size_t>(chunk), input.size() - from);
        resampler.Push(input.data() + from, count);
        from += count;
        if (count == 0 || n % takeEvery == 0) resampler.Take(out);
        if (count == 0) return out;
    }
}

TEST(Resampler, OnEveryCoreGivesTheLibrarysSamples) {
    const std::optional<SincFilter>& filter = FastestSincFilter();
    ASSERT_TRUE(filter.has_value());
    EXPECT_EQ(filter->step, 128);
    struct Row {
        int rate;
        std::size_t inputs;
        long chunk;  // as the reader reads: 4096 frames, fewer for many channels
        int takeEvery;
    };
    const Row rows[] = {
        {44100, 200003, 4096, 7}, {48000, 100000, 4096, 1},  {22050, 4097, 4096, 64},
        {11025, 30001, 1365, 3},  {96000, 150000, 4096, 64}, {16000, 4095, 4096, 1},
        {7999, 50000, 5461, 2},   {8001, 50000, 4096, 9},    {4000, 20000, 4096, 2},
        {1000, 3001, 16, 50},     {44100, 1, 4096, 1},       {44100, 0, 4096, 1},
        {192000, 100, 4096, 1},   {62, 300, 7, 5},
    };
    for (const Row& row : rows) {
        const double ratio = 8000.0 / row.rate;
        std::vector<float> input = Noise(row.inputs, static_cast<uint32_t>(row.rate));
        // A burst at full scale, and a stretch that overflows: the idle lanes must not leak.
        for (std::size_t i = input.size() / 3; i < input.size() / 3 + 40 && i < input.size(); ++i)
            input[i] = i % 2 ? 1.0f : -1.0f;
        if (input.size() > 1000) input[input.size() / 2] = std::numeric_limits<float>::infinity();
        const auto library = MakeLibraryResampler(ratio, "test");
        const std::vector<float> expected = Convert(*library, input, row.chunk, row.takeEvery);
        for (int threads : {1, 2}) {
            SCOPED_TRACE(testing::Message() << row.rate << " Hz, " << row.inputs << " inputs, "
                                            << threads << " threads");
            const auto ours = MakeParallelResampler(*filter, ratio, threads);
            const std::vector<float> got = Convert(*ours, input, row.chunk, row.takeEvery);
            ASSERT_EQ(got.size(), expected.size());
            std::size_t differ = 0;
            for (std::size_t i = 0; i < got.size(); ++i) {
                const bool same = std::isnan(got[i]) ? std::isnan(expected[i])
                                                     : std::bit_cast<uint32_t>(got[i]) ==
                                                           std::bit_cast<uint32_t>(expected[i]);
                if (!same && differ++ == 0) ADD_FAILURE() << "first difference at " << i;
            }
            EXPECT_EQ(differ, 0u);
        }
    }
}

}  // namespace
}  // namespace vireon::render
