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

float ChainLog(float f) {
    return static_cast<float>(std::log(double(f)));
}

}  // namespace vireon
