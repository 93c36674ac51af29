#pragma once
// Ring of complex baseband samples -> window -> radix-2 FFT -> magnitudes in display order.
#include <cstdint>

namespace vireon {

constexpr int32_t SpectrumCapacity = 4096;

// One stage of the transform: every block of 2h entries, with the twiddle of the block. The
// wider ones (dsp/Kernels lists them) form in each lane what the portable one forms.
using FftStage = void (*)(float* re, float* im, int32_t n, int32_t h, int32_t d,
                          const int32_t* bitReverse, const float* cosTable, const float* sinTable);

void FftStagePortable(float* re, float* im, int32_t n, int32_t h, int32_t d,
                      const int32_t* bitReverse, const float* cosTable, const float* sinTable);
// Built for x86-64 only.
#if defined(__x86_64__)
void FftStageAvx2(float* re, float* im, int32_t n, int32_t h, int32_t d, const int32_t* bitReverse,
                  const float* cosTable, const float* sinTable);
#endif

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
    void ApplyWindow();
    // With the stage dsp/Kernels chose for this processor.
    void Transform();
    void TransformWith(FftStage stage);
    void Magnitudes();
};

}  // namespace vireon
