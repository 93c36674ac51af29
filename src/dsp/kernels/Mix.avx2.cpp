// Built with -mavx2 (and nothing that fuses or reorders arithmetic); only called where the
// processor has AVX2.
#include "dsp/kernels/Mix.h"
#include "dsp/kernels/MixBody.h"

namespace vireon {

void MixAvx2(const double* phases, const uint8_t* bytes, int32_t count, float* s, float* c,
             uint8_t* unsure) {
    MixBody(phases, bytes, count, s, c, unsure);
}

}  // namespace vireon
