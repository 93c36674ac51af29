#include "dsp/ChainResume.h"

#include <algorithm>

namespace vireon {

namespace {

class Discard final : public FrameSink {
public:
    void DrawSpectrum(const float*, int32_t) override {}
};

}  // namespace

ChainCounters CountersOf(const SignalChain& chain) {
    return {chain.OscillatorPhase, chain.FrameCounter, chain.Decimator, chain.Engine.WriteIndex};
}

int64_t AdvanceCounters(ChainCounters& counters, int32_t ringSize, int64_t count) {
    int64_t frames = 0;
    for (int64_t i = 0; i < count; ++i) {
        StepOscillator(counters.OscillatorPhase);
        counters.Decimator.Tick();
        if (counters.Decimator.Count != 0) continue;
        counters.WriteIndex = SpectrumEngine::NextWriteIndex(counters.WriteIndex, ringSize);
        if (CountKeptSample(counters.FrameCounter)) ++frames;
    }
    return frames;
}

int32_t LeadSamples(const SignalChain& chain) {
    const int32_t taps = std::max(chain.FilterSin.TapCount, chain.FilterCos.TapCount);
    const int32_t factor = std::max(chain.Decimator.Factor, 1);
    return std::max(taps, 0) + factor * (chain.Engine.N + 1);
}

void ResumeChain(SignalChain& chain, const ChainCounters& counters, const uint8_t* lead,
                 int32_t leadCount) {
    chain.OscillatorPhase = counters.OscillatorPhase;
    chain.FrameCounter = counters.FrameCounter;
    chain.Decimator = counters.Decimator;
    chain.Engine.WriteIndex = counters.WriteIndex;
    Discard discard;
    ProcessSamples(chain, lead, leadCount, discard);
}

}  // namespace vireon
