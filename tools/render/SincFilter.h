#pragma once
// The filter behind libsamplerate's fastest sinc converter, read back from the library itself
// so that a converter of our own can give its results bit for bit.
#include <cstdint>
#include <optional>
#include <vector>

namespace vireon::render {

struct SincFilter {
    // The half filter's coefficients at 1/step of an input sample apart, index 0 the centre,
    // followed by zeros for reads past the end.
    std::vector<float> coefficients;
    int32_t halfLength = 0;  // the last index the converter reads
    int32_t step = 0;        // coefficients per input sample at unit ratio
};

// The filter as the installed library uses it, read once from its impulse response: at a ratio
// of `step` (128) every output lands exactly on a coefficient, so an impulse gives each one
// unrounded. nullopt when the library does not answer as expected.
const std::optional<SincFilter>& FastestSincFilter();

}  // namespace vireon::render
