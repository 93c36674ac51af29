#include "dsp/SpectrumEngine.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace vireon {

namespace {
constexpr double TwoPi = 6.283185307179586;
}

void SpectrumEngine::Init(int32_t n) {
    if (n < 2 || n > SpectrumCapacity || (n & (n - 1)) != 0)
        throw std::invalid_argument("spectrum size " + std::to_string(n) +
                                    " is not a power of two from 2 to 4096");
    N = n;
    for (int32_t i = 0; i < n; ++i) {
        const double a = (double(i) * TwoPi) / double(n);
        SinTable[i] = static_cast<float>(std::sin(a));
        CosTable[i] = static_cast<float>(std::cos(a));
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

void SpectrumEngine::ApplyWindow() {
    int32_t r = (WriteIndex >= 0 && WriteIndex < N) ? WriteIndex : 0;
    for (int32_t i = 0; i < N; ++i) {
        // The weight stays in double: only the products are rounded to float.
        const double w = 1.0 - double(CosTable[i]);
        WorkRe[i] = static_cast<float>(w * double(RingRe[r]));
        WorkIm[i] = static_cast<float>(w * double(RingIm[r]));
        if (++r >= N) r = 0;  // the ring wraps at N, not at its capacity
    }
}

void SpectrumEngine::Transform() {
    if (N < 2) return;
    int32_t h = N / 2;
    int32_t s = Log2N - 1;
    for (int32_t stage = 1; stage <= Log2N; ++stage) {
        const int32_t d = int32_t{1} << s;
        for (int32_t a0 = 0; a0 < N; a0 += 2 * h) {
            // Every butterfly of one block shares its twiddle: a / d is the same for all of them.
            const int32_t t = BitReverse[a0 / d];
            const double c = CosTable[t];
            const double sn = SinTable[t];
            for (int32_t a = a0; a < a0 + h; ++a) {
                const int32_t b = a + h;
                const double bRe = WorkRe[b];
                const double bIm = WorkIm[b];
                const float tr = static_cast<float>(bRe * c - bIm * sn);
                const float ti = static_cast<float>(bIm * c + bRe * sn);
                const double aRe = WorkRe[a];
                const double aIm = WorkIm[a];
                WorkRe[b] = static_cast<float>(aRe - double(tr));
                WorkIm[b] = static_cast<float>(aIm - double(ti));
                WorkRe[a] = static_cast<float>(aRe + double(tr));
                WorkIm[a] = static_cast<float>(aIm + double(ti));
            }
        }
        s = s - 1;
        h = h / 2;
    }
}

void SpectrumEngine::Magnitudes() {
    // BitReverse[i] ^ 1 == BitReverse[i ^ N/2]: the halves of the spectrum change places, so
    // zero frequency lands in the middle.
    for (int32_t i = 0; i < N; ++i) {
        const int32_t p = BitReverse[i] ^ 1;
        const double re = WorkRe[p];
        const double im = WorkIm[p];
        Magnitude[i] = static_cast<float>(std::sqrt(re * re + im * im));
    }
}

}  // namespace vireon
