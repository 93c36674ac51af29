#include "dsp/SignalChain.h"

#include <algorithm>
#include <cmath>

namespace vireon {

namespace {

constexpr int32_t SampleZero = 128;
constexpr double OscillatorStep = 1.1780972450961724;  // 2 pi * 1500 / 8000
constexpr double FullTurn = 6.283185307179586;

// Mixes one byte with the oscillator and advances the phase by one sample.
void Mix(SignalChain& chain, uint8_t byte, float& s, float& c) {
    const float x = static_cast<float>(int32_t{byte} - SampleZero);  // exact
    const double phase = chain.OscillatorPhase;
    s = static_cast<float>(double(x) * std::sin(phase));
    c = static_cast<float>(double(x) * std::cos(phase));
    chain.OscillatorPhase = static_cast<float>(phase + OscillatorStep);
    if (double(chain.OscillatorPhase) > FullTurn)
        chain.OscillatorPhase = static_cast<float>(double(chain.OscillatorPhase) - FullTurn);
}

// Decimation, ring and frame trigger for one input sample's filter outputs.
void Keep(SignalChain& chain, float yS, float yC, FrameSink& sink) {
    chain.Decimator.Tick();
    if (chain.Decimator.Count != 0) return;
    SpectrumEngine& engine = chain.Engine;
    engine.Push(yC, yS);
    chain.FrameCounter = chain.FrameCounter + 1;
    if (chain.FrameCounter >= KeptSamplesPerFrame) {
        chain.FrameCounter = 0;
        engine.ApplyWindow();
        engine.Transform();
        engine.Magnitudes();
        sink.DrawSpectrum(engine.Magnitude, engine.N);
    }
}

}  // namespace

void SetUpChain(SignalChain& chain, const std::string& firPath, MessageBoxService& boxes) {
    chain.Engine.Init(SpectrumSize);
    chain.Decimator.Factor = DecimationFactor;
    chain.FilterSin.Load(firPath, boxes);
    chain.FilterCos.Load(firPath, boxes);
}

void ProcessSamples(SignalChain& chain, const uint8_t* data, int32_t count, FrameSink& sink) {
    if (data == nullptr || count <= 0) return;
    int32_t k = 0;
    // Whole runs of FirBlock samples: the filter outputs of one run are independent of
    // everything that follows them in the chain, so they are computed together first.
    for (; count - k >= FirBlock; k += FirBlock) {
        float s[FirBlock], c[FirBlock], yS[FirBlock], yC[FirBlock];
        for (int32_t j = 0; j < FirBlock; ++j) Mix(chain, data[k + j], s[j], c[j]);
        StepPairBlock(chain.FilterSin, s, yS, chain.FilterCos, c, yC);
        for (int32_t j = 0; j < FirBlock; ++j) Keep(chain, yS[j], yC[j], sink);
    }
    for (; k < count; ++k) {
        float s = 0.0f, c = 0.0f, yS = 0.0f, yC = 0.0f;
        Mix(chain, data[k], s, c);
        StepPair(chain.FilterSin, s, yS, chain.FilterCos, c, yC);
        Keep(chain, yS, yC, sink);
    }
}

}  // namespace vireon
