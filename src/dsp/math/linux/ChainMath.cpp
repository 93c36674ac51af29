// glibc's own functions.
#include <cmath>

#include "dsp/math/ChainMath.h"

namespace vireon {

double ChainSin(double x) {
    return std::sin(x);
}

double ChainCos(double x) {
    return std::cos(x);
}

void ChainLogs(float* values, int32_t count) {
    for (int32_t i = 0; i < count; ++i) values[i] = static_cast<float>(std::log(double(values[i])));
}

}  // namespace vireon
