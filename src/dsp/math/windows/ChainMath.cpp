// The program's own functions, built into the program: Windows' C runtime (and Wine's, on which
// the Windows build is tested) gives other bits than glibc.
#include "dsp/math/ChainMath.h"
#include "dsp/math/ExactMath.h"

namespace vireon {

double ChainSin(double x) {
    return ExactSin(x);
}

double ChainCos(double x) {
    return ExactCos(x);
}

void ChainLogs(float* values, int32_t count) {
    for (int32_t i = 0; i < count; ++i) values[i] = LogOfFloat(values[i]);
}

}  // namespace vireon
