#pragma once
// The per-sample front end: byte -> 1500 Hz oscillator -> two FIR filters -> keep one in three
// -> spectrum engine, with a frame every 85 kept samples.
#include <cstdint>
#include <string>

#include "dsp/DecimationCounter.h"
#include "dsp/FirFilter.h"
#include "dsp/Oscillator.h"
#include "dsp/SpectrumEngine.h"
#include "platform/MessageBox.h"

namespace vireon {

// Receives each finished spectrum (the engine's Magnitude array and N).
class FrameSink {
public:
    virtual void DrawSpectrum(const float* values, int32_t count) = 0;

protected:
    ~FrameSink() = default;
};

// All state the front end carries from one sample to the next; never reset while running.
struct SignalChain {
    float OscillatorPhase = 0.0f;
    int32_t FrameCounter = 0;
    DecimationCounter Decimator;
    FirFilter FilterSin;
    FirFilter FilterCos;
    SpectrumEngine Engine;
};

constexpr int32_t DecimationFactor = 3;
constexpr int32_t KeptSamplesPerFrame = 85;
constexpr int32_t SpectrumSize = 256;

// Puts a chain into the state the program runs it in: 256-point spectra, one sample in three
// kept, both filters loaded from firPath, the sine branch first. Each load reports a missing file
// through boxes and leaves its filter as it was; a malformed file throws.
void SetUpChain(SignalChain& chain, const std::string& firPath, MessageBoxService& boxes);

// Counts one kept sample; true (and the counter back at 0) when it completes a frame.
inline bool CountKeptSample(int32_t& frameCounter) {
    frameCounter = frameCounter + 1;
    if (frameCounter < KeptSamplesPerFrame) return false;
    frameCounter = 0;
    return true;
}

// Runs every byte of the block through the chain; a count of 0 or less does nothing.
void ProcessSamples(SignalChain& chain, const uint8_t* data, int32_t count, FrameSink& sink);

}  // namespace vireon
