#include "dsp/SignalChain.h"

#include <algorithm>

#include "dsp/FirRun.h"
#include "dsp/Mixer.h"
#include "dsp/kernels/Kernels.h"

namespace vireon {

namespace {

static_assert(FirRunCapacity <= MixRunCapacity);

// Ring and frame trigger for one kept sample's filter outputs.
void Keep(SignalChain& chain, float yS, float yC, FrameSink& sink, const ChosenKernels& kernels) {
    SpectrumEngine& engine = chain.Engine;
    engine.Push(yC, yS);
    if (CountKeptSample(chain.FrameCounter)) {
        engine.ApplyWindow(kernels.window.run);
        engine.Transform(kernels.fft.run);
        engine.Magnitudes(kernels.magnitudes.run);
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
    // The only place the chain asks which kernels this processor runs.
    const ChosenKernels& kernels = Chosen();
    // Runs of samples: the filter outputs of one run are independent of everything that follows
    // them in the chain, so they are computed together first, and only where a sample is kept.
    for (int32_t k = 0; k < count;) {
        const int32_t n = std::min(FirRunCapacity, count - k);
        float s[FirRunCapacity], c[FirRunCapacity], yS[FirRunCapacity], yC[FirRunCapacity];
        MixRun(chain.OscillatorPhase, data + k, n, s, c, kernels.mix.run);
        StepPairRun(chain.FilterSin, s, yS, chain.FilterCos, c, yC, n, KeptIn(chain.Decimator, n),
                    kernels.fir.run);
        int32_t next = 0;
        for (int32_t j = 0; j < n; ++j) {
            chain.Decimator.Tick();
            if (chain.Decimator.Count != 0) continue;
            Keep(chain, yS[next], yC[next], sink, kernels);
            ++next;
        }
        k += n;
    }
}

}  // namespace vireon
