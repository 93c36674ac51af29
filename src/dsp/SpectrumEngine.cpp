#include "dsp/SpectrumEngine.h"

#include <stdexcept>
#include <string>

#include "dsp/math/ChainMath.h"

namespace vireon {

namespace {

constexpr double TwoPi = 6.283185307179586;

}  // namespace

void SpectrumEngine::Init(int32_t n) {
    if (n < 2 || n > SpectrumCapacity || (n & (n - 1)) != 0)
        throw std::invalid_argument("spectrum size " + std::to_string(n) +
                                    " is not a power of two from 2 to 4096");
    N = n;
    for (int32_t i = 0; i < n; ++i) {
        const double a = (double(i) * TwoPi) / double(n);
        SinTable[i] = static_cast<float>(ChainSin(a));
        CosTable[i] = static_cast<float>(ChainCos(a));
    }
    int32_t bits = 0;
    while (((n - 1) >> bits) & 1) ++bits;
    Log2N = bits;
    for (int32_t i = 0; i < n; ++i) {
        int32_t reversed = 0;
        for (int32_t j = 0; j < bits; ++j)
            if ((i >> j) & 1) reversed |= 1 << (bits - 1 - j);
        BitReverse[i] = reversed;
    }
}

void SpectrumEngine::Push(float re, float im) {
    // A WriteIndex left beyond a smaller N by a second Init restarts at slot 0 instead of
    // running past the end of the ring.
    if (WriteIndex < 0 || WriteIndex >= N) WriteIndex = 0;
    RingRe[WriteIndex] = re;
    RingIm[WriteIndex] = im;
    WriteIndex = NextWriteIndex(WriteIndex, N);
}

int32_t SpectrumEngine::NextWriteIndex(int32_t index, int32_t n) {
    if (index < 0 || index >= n) index = 0;
    index = index + 1;
    return index >= n ? 0 : index;
}

void SpectrumEngine::ApplyWindow(WindowKernel window) {
    const int32_t oldest = (WriteIndex >= 0 && WriteIndex < N) ? WriteIndex : 0;
    window(RingRe, RingIm, oldest, N, CosTable, WorkRe, WorkIm);
}

void SpectrumEngine::Transform(FftStage stage) {
    if (N < 2) return;
    int32_t h = N / 2;
    int32_t s = Log2N - 1;
    for (int32_t k = 1; k <= Log2N; ++k) {
        stage(WorkRe, WorkIm, N, h, int32_t{1} << s, BitReverse, CosTable, SinTable);
        s = s - 1;
        h = h / 2;
    }
}

void SpectrumEngine::Magnitudes(MagnitudeKernel magnitudes) {
    magnitudes(WorkRe, WorkIm, BitReverse, N, Magnitude);
}

}  // namespace vireon
