#pragma once
// Ring of complex baseband samples -> window -> radix-2 FFT -> magnitudes in display order.
#include <cstdint>

#include "dsp/kernels/FftStage.h"
#include "dsp/kernels/HannWindow.h"
#include "dsp/kernels/Magnitudes.h"

namespace vireon {

constexpr int32_t SpectrumCapacity = 4096;

struct SpectrumEngine {
    int32_t Log2N = 0;
    int32_t N = 0;
    float RingRe[SpectrumCapacity] = {};
    float RingIm[SpectrumCapacity] = {};
    int32_t WriteIndex = 0;
    float WorkRe[SpectrumCapacity] = {};
    float WorkIm[SpectrumCapacity] = {};
    float Magnitude[SpectrumCapacity] = {};
    int32_t BitReverse[SpectrumCapacity] = {};
    float SinTable[SpectrumCapacity] = {};
    float CosTable[SpectrumCapacity] = {};

    // n must be a power of two from 2 to 4096 (throws std::invalid_argument otherwise).
    void Init(int32_t n);
    void Push(float re, float im);
    // Where Push leaves WriteIndex when it finds it at index, for a ring of n.
    static int32_t NextWriteIndex(int32_t index, int32_t n);
    // The frame's three steps, each with the kernel given (the signal chain passes those
    // dsp/kernels/Kernels chose for this processor); every kernel gives the portable one's bits.
    void ApplyWindow(WindowKernel window = HannWindowPortable);
    void Transform(FftStage stage = FftStagePortable);
    void Magnitudes(MagnitudeKernel magnitudes = MagnitudesPortable);
};

}  // namespace vireon
