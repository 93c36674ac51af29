#include "dsp/SignalChain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "dsp/ChainResume.h"
#include "dsp/math/ChainMath.h"
#include "tests/dsp/AllocationCounter.h"
#include "tests/dsp/ChainTestSupport.h"

namespace vireon {
namespace {

using testing::MakeChain;
using testing::RecordingSink;

void Feed(SignalChain& chain, const std::vector<uint8_t>& bytes, FrameSink& sink) {
    ProcessSamples(chain, bytes.data(), static_cast<int32_t>(bytes.size()), sink);
}

// Both filters pass their input straight through, so pushes show the mixer's products.
void PassThrough(SignalChain& chain) {
    chain.FilterSin.TapCount = chain.FilterCos.TapCount = 1;
    chain.FilterSin.Coefficients[0] = chain.FilterCos.Coefficients[0] = 1.0f;
}

TEST(ProcessSamples, OscillatorPhaseFollowsItsSinglePrecisionSteps) {
    auto chain = MakeChain();
    RecordingSink sink;
    const uint8_t byte = 128;
    struct Point {
        int k;
        double phase;
    };
    // k = 6 is the first wrap; k = 16 lands just below 2 pi and does not wrap.
    const Point points[] = {{1, 1.1780972480773926},
                            {5, 5.890486240386963},
                            {6, 0.7853981852531433},
                            {16, 6.283185005187988},
                            {17, 1.178096890449524}};
    int k = 0;
    for (const Point& p : points) {
        for (; k < p.k; ++k) ProcessSamples(*chain, &byte, 1, sink);
        EXPECT_EQ(chain->OscillatorPhase, static_cast<float>(p.phase)) << "k = " << p.k;
    }
    // Over a long run the phase stays in [0, 2 pi].
    for (int i = 0; i < 100000; ++i) {
        ProcessSamples(*chain, &byte, 1, sink);
        ASSERT_GE(chain->OscillatorPhase, 0.0f);
        ASSERT_LE(double(chain->OscillatorPhase), 6.283185307179586);
    }
}

TEST(ProcessSamples, MixesTheSignedSampleWithTheOscillator) {
    auto chain = MakeChain();
    chain->Decimator.Factor = 1;  // keep every sample to see each product
    PassThrough(*chain);
    RecordingSink sink;
    const std::vector<uint8_t> bytes = {0, 255, 128, 200, 1};
    float phase = 0.0f;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        Feed(*chain, {bytes[i]}, sink);
        const double x = int(bytes[i]) - 128;
        EXPECT_EQ(chain->Engine.RingRe[i], static_cast<float>(x * ChainCos(double(phase)))) << i;
        EXPECT_EQ(chain->Engine.RingIm[i], static_cast<float>(x * ChainSin(double(phase)))) << i;
        phase = static_cast<float>(double(phase) + 1.1780972450961724);
    }
    EXPECT_EQ(chain->Engine.RingRe[0], -128.0f);  // byte 0 is -128, at phase 0
    EXPECT_EQ(chain->Engine.RingIm[0], 0.0f);
    EXPECT_EQ(chain->Engine.RingRe[2], 0.0f);  // byte 128 is silence
}

TEST(ProcessSamples, KeepsEveryThirdSampleAndItsOwnFilterOutputs) {
    auto chain = MakeChain();
    PassThrough(*chain);
    // The cosine branch delays by one sample, which shows that its filter runs for every
    // input sample and that the pushed value is its output at the kept sample.
    chain->FilterCos.TapCount = 2;
    chain->FilterCos.Coefficients[0] = 1.0f;
    chain->FilterCos.Coefficients[1] = 0.0f;
    RecordingSink sink;
    Feed(*chain, {130, 140}, sink);
    EXPECT_EQ(chain->Engine.WriteIndex, 0);  // nothing pushed for samples 1 and 2
    Feed(*chain, {160}, sink);
    ASSERT_EQ(chain->Engine.WriteIndex, 1);
    const double phase2 = static_cast<float>(1.1780972450961724);
    const double phase3 = static_cast<float>(phase2 + 1.1780972450961724);
    EXPECT_EQ(chain->Engine.RingRe[0], static_cast<float>(12.0 * ChainCos(phase2)));
    EXPECT_EQ(chain->Engine.RingIm[0], static_cast<float>(32.0 * ChainSin(phase3)));
    EXPECT_EQ(chain->FrameCounter, 1);
}

TEST(ProcessSamples, TheFirstFrameComesWithThe255thSample) {
    auto chain = MakeChain();
    RecordingSink sink;
    std::vector<uint8_t> block(128, 100);
    Feed(*chain, block, sink);
    ProcessSamples(*chain, block.data(), 126, sink);  // 254 samples: 84 pushes, no frame
    EXPECT_EQ(chain->Engine.WriteIndex, 84);
    EXPECT_EQ(chain->FrameCounter, 84);
    EXPECT_TRUE(sink.frames.empty());
    ProcessSamples(*chain, block.data(), 1, sink);  // the 127th byte of the second block
    ASSERT_EQ(sink.frames.size(), 1u);
    EXPECT_EQ(sink.frames[0].size(), 256u);
    EXPECT_EQ(chain->FrameCounter, 0);
}

TEST(ProcessSamples, NothingHappensForAnEmptyOrNegativeBlock) {
    auto chain = MakeChain();
    RecordingSink sink;
    const uint8_t bytes[7] = {0, 9, 200, 255, 3, 128, 77};
    ProcessSamples(*chain, bytes, 7, sink);
    auto before = std::make_unique<SignalChain>(*chain);
    ProcessSamples(*chain, bytes, 0, sink);
    ProcessSamples(*chain, bytes, -5, sink);
    ProcessSamples(*chain, nullptr, 5, sink);
    EXPECT_EQ(0, std::memcmp(before.get(), chain.get(), sizeof(SignalChain)));
}

// Everything a chain carries, compared bit for bit.
void ExpectSameState(const SignalChain& a, const SignalChain& b) {
    EXPECT_EQ(std::bit_cast<uint32_t>(a.OscillatorPhase),
              std::bit_cast<uint32_t>(b.OscillatorPhase));
    EXPECT_EQ(a.FrameCounter, b.FrameCounter);
    EXPECT_EQ(a.Decimator.Count, b.Decimator.Count);
    EXPECT_EQ(
        0, std::memcmp(a.FilterSin.DelayLine, b.FilterSin.DelayLine, sizeof a.FilterSin.DelayLine));
    EXPECT_EQ(
        0, std::memcmp(a.FilterCos.DelayLine, b.FilterCos.DelayLine, sizeof a.FilterCos.DelayLine));
    EXPECT_EQ(0, std::memcmp(a.Engine.RingRe, b.Engine.RingRe, sizeof a.Engine.RingRe));
    EXPECT_EQ(0, std::memcmp(a.Engine.RingIm, b.Engine.RingIm, sizeof a.Engine.RingIm));
    EXPECT_EQ(a.Engine.WriteIndex, b.Engine.WriteIndex);
}

TEST(ProcessSamples, BlockBoundariesDoNotChangeTheResult) {
    std::mt19937 random(5);
    std::vector<uint8_t> bytes(765);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());

    auto setUp = [] {
        auto chain = MakeChain();
        // Asymmetric filters, different per branch, so that any mix-up of samples or branches
        // shows.
        chain->FilterSin.TapCount = chain->FilterCos.TapCount = 11;
        for (int i = 0; i < 11; ++i) {
            chain->FilterSin.Coefficients[i] = 0.1f * float(i + 1);
            chain->FilterCos.Coefficients[i] = 1.0f / float(i + 2);
        }
        return chain;
    };
    auto whole = setUp();
    RecordingSink wholeFrames;
    Feed(*whole, bytes, wholeFrames);
    ASSERT_EQ(wholeFrames.frames.size(), 3u);
    EXPECT_EQ(whole->Engine.WriteIndex, 255);  // 255 pushes, all still in the ring

    for (int32_t blockSize : {128, 1, 255, 764}) {
        SCOPED_TRACE(blockSize);
        auto split = setUp();
        RecordingSink splitFrames;
        for (int32_t start = 0; start < 765; start += blockSize)
            ProcessSamples(*split, bytes.data() + start, std::min(blockSize, 765 - start),
                           splitFrames);
        ExpectSameState(*whole, *split);
        EXPECT_EQ(splitFrames.frames, wholeFrames.frames);
    }
}

// Pieces of one stream, each on a chain of its own resumed from the samples before it, give the
// frames and the final state of the whole stream run on one chain.
TEST(ResumeChain, PiecesGiveTheFramesOfTheWholeStream) {
    std::mt19937 random(9);
    std::vector<uint8_t> bytes(40000);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    for (const int32_t taps : {0, 1, 127, 1024}) {
        SCOPED_TRACE(taps);
        auto setUp = [taps] {
            auto chain = MakeChain();
            chain->FilterSin.TapCount = chain->FilterCos.TapCount = taps;
            for (int i = 0; i < taps; ++i) {
                chain->FilterSin.Coefficients[i] = 1.0f / float(i + 2);
                chain->FilterCos.Coefficients[i] = 0.01f * float(i % 13) - 0.05f;
            }
            return chain;
        };
        auto whole = setUp();
        RecordingSink wholeFrames;
        Feed(*whole, bytes, wholeFrames);

        RecordingSink pieceFrames;
        ChainCounters counters = CountersOf(*setUp());
        int64_t counted = 0;  // samples the counters have taken
        std::unique_ptr<SignalChain> last;
        for (int32_t start = 0; start < int32_t(bytes.size());) {
            const int32_t end =
                std::min<int32_t>(start + 1 + int32_t(random() % 9000), int32_t(bytes.size()));
            auto piece = setUp();
            const int32_t lead = std::min(start, LeadSamples(*piece));
            AdvanceCounters(counters, piece->Engine.N, start - lead - counted);
            counted = start - lead;
            ResumeChain(*piece, counters, bytes.data() + (start - lead), lead);
            ProcessSamples(*piece, bytes.data() + start, end - start, pieceFrames);
            last = std::move(piece);
            start = end;
        }
        EXPECT_EQ(pieceFrames.frames, wholeFrames.frames);
        ExpectSameState(*whole, *last);
    }
}

TEST(ProcessSamples, CarriesOnAcrossAPause) {
    auto chain = MakeChain();
    RecordingSink sink;
    std::vector<uint8_t> bytes(100, 150);
    Feed(*chain, bytes, sink);
    const float phaseAfter100 = chain->OscillatorPhase;
    const int32_t pushes = chain->Engine.WriteIndex;
    EXPECT_EQ(pushes, 33);
    EXPECT_EQ(chain->Decimator.Count, 1);
    Feed(*chain, {150}, sink);
    EXPECT_EQ(chain->Engine.WriteIndex, pushes);
    EXPECT_NE(chain->OscillatorPhase, phaseAfter100);
    Feed(*chain, {150}, sink);  // the second sample after the pause completes the group
    EXPECT_EQ(chain->Engine.WriteIndex, pushes + 1);
}

TEST(ProcessSamples, ZeroTapsGiveZeroPushesButFramesStillCome) {
    auto chain = MakeChain();
    RecordingSink sink;
    Feed(*chain, testing::SineBytes(1000.0, 100.0, 2550), sink);
    EXPECT_EQ(sink.frames.size(), 10u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(chain->Engine.RingRe[i], 0.0f);
        EXPECT_EQ(chain->Engine.RingIm[i], 0.0f);
    }
    for (const auto& frame : sink.frames)
        EXPECT_TRUE(std::all_of(frame.begin(), frame.end(), [](float v) { return v == 0.0f; }));
}

TEST(ProcessSamples, AllocatesNothing) {
    auto chain = MakeChain();
    chain->FilterSin.TapCount = chain->FilterCos.TapCount = 127;
    class CountingSink final : public FrameSink {
    public:
        void DrawSpectrum(const float*, int32_t) override { ++frames; }
        int frames = 0;
    } sink;
    const std::vector<uint8_t> bytes = testing::SineBytes(700.0, 50.0, 8000);
    const long long before = testing::AllocationCount();
    ProcessSamples(*chain, bytes.data(), static_cast<int32_t>(bytes.size()), sink);
    EXPECT_EQ(testing::AllocationCount(), before);
    EXPECT_EQ(sink.frames, 31);
}

}  // namespace
}  // namespace vireon
