// The mixer in plain C++: the kernel for every processor.
#include "dsp/kernels/Mix.h"
#include "dsp/kernels/MixBody.h"

namespace vireon {

void MixPortable(const double* phases, const uint8_t* bytes, int32_t count, float* s, float* c,
                 uint8_t* unsure) {
    MixBody(phases, bytes, count, s, c, unsure);
}

}  // namespace vireon
