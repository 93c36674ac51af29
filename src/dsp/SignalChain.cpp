#include "dsp/SignalChain.h"

#include <algorithm>

#include "dsp/Kernels.h"
#include "dsp/Mixer.h"

namespace vireon {

namespace {

static_assert(FirRunCapacity <= MixRunCapacity);

// Ring and frame trigger for one kept sample's filter outputs.
void Keep(SignalChain& chain, float yS, float yC, FrameSink& sink) {
    SpectrumEngine& engine = chain.Engine;
    engine.Push(yC, yS);
    if (CountKeptSample(chain.FrameCounter)) {
        engine.ApplyWindow();
        engine.Transform();
        engine.Magnitudes();
        sink.DrawSpectrum(engine.Magnitude, engine.N);
    }
}

// Which samples of the next count the decimation keeps: after the first, every Factor-th.
KeptOutputs KeptIn(DecimationCounter counter, int32_t count) {
    KeptOutputs kept;
    kept.stride = counter.Factor >= 2 ? counter.Factor : 1;
    for (int32_t j = 0; j < count; ++j) {
        counter.Tick();
        if (counter.Count == 0) {
            kept.first = j;
            kept.count = (count - 1 - j) / kept.stride + 1;
            break;
        }
    }
    return kept;
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
    const MixKernel kernel = Chosen().mix.run;
    // Runs of samples: the filter outputs of one run are independent of everything that follows
    // them in the chain, so they are computed together first, and only where a sample is kept.
    for (int32_t k = 0; k < count;) {
        const int32_t n = std::min(FirRunCapacity, count - k);
        float s[FirRunCapacity], c[FirRunCapacity], yS[FirRunCapacity], yC[FirRunCapacity];
        MixRun(chain.OscillatorPhase, data + k, n, s, c, kernel);
        StepPairRun(chain.FilterSin, s, yS, chain.FilterCos, c, yC, n, KeptIn(chain.Decimator, n));
        int32_t next = 0;
        for (int32_t j = 0; j < n; ++j) {
            chain.Decimator.Tick();
            if (chain.Decimator.Count != 0) continue;
            Keep(chain, yS[next], yC[next], sink);
            ++next;
        }
        k += n;
    }
}

}  // namespace vireon
