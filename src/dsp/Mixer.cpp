#include "dsp/Mixer.h"

#include "dsp/Oscillator.h"
#include "dsp/math/ChainMath.h"

namespace vireon {

void MixExactly(double phase, uint8_t byte, float& s, float& c) {
    const float x = static_cast<float>(int32_t{byte} - 128);  // exact
    s = static_cast<float>(double(x) * ChainSin(phase));
    c = static_cast<float>(double(x) * ChainCos(phase));
}

void MixRun(float& phase, const uint8_t* bytes, int32_t count, float* s, float* c,
            MixKernel kernel) {
    double phases[MixRunCapacity];
    uint8_t unsure[MixRunCapacity];
    for (int32_t j = 0; j < count; ++j) {
        phases[j] = phase;
        StepOscillator(phase);
    }
    // The kernel reads only the first count phases, which GCC cannot see through the pointer.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
    kernel(phases, bytes, count, s, c, unsure);
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
    for (int32_t j = 0; j < count; ++j)
        if (unsure[j] != 0) MixExactly(phases[j], bytes[j], s[j], c[j]);
}

}  // namespace vireon
