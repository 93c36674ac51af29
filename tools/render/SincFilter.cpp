#include "tools/render/SincFilter.h"

#include <samplerate.h>
#include <cmath>

namespace vireon::render {

namespace {

constexpr int32_t ProbeStep = 128;
constexpr int32_t ImpulseAt = 48;  // input samples before the impulse
constexpr int32_t ProbeInput = 2 * ImpulseAt;
constexpr int32_t MaxHalfLength = ImpulseAt * ProbeStep - 1;  // what the probe can see
// The last coefficient is read with a zero fraction of its difference to the next one, which
// must be there all the same.
constexpr int32_t ReadPadding = 2;

std::optional<std::vector<float>> ImpulseResponse() {
    int error = 0;
    SRC_STATE* state = src_new(SRC_SINC_FASTEST, 1, &error);
    if (state == nullptr) return std::nullopt;
    std::vector<float> in(ProbeInput, 0.0f);
    in[ImpulseAt] = 1.0f;
    std::vector<float> out(static_cast<std::size_t>(ProbeInput + 64) * ProbeStep);
    SRC_DATA data{};
    data.data_in = in.data();
    data.input_frames = ProbeInput;
    data.src_ratio = ProbeStep;
    data.end_of_input = 1;
    long made = 0;
    while (error == 0) {
        data.data_out = out.data() + made;
        data.output_frames = static_cast<long>(out.size()) - made;
        error = src_process(state, &data);
        made += data.output_frames_gen;
        data.data_in += data.input_frames_used;
        data.input_frames -= data.input_frames_used;
        if (data.output_frames_gen == 0 || data.output_frames == 0) break;
    }
    src_delete(state);
    if (error != 0) return std::nullopt;
    out.resize(static_cast<std::size_t>(made));
    return out;
}

std::optional<SincFilter> ProbeFastestSinc() {
    const std::optional<std::vector<float>> response = ImpulseResponse();
    constexpr std::size_t centre = static_cast<std::size_t>(ImpulseAt) * ProbeStep;
    if (!response || response->size() <= centre + MaxHalfLength) return std::nullopt;
    const std::vector<float>& r = *response;
    // Output centre + k lies k/128 of a sample after the impulse and reads coefficient k on
    // one side, centre - k on the other: the two must agree.
    int32_t extent = -1;
    for (int32_t k = 0; k <= MaxHalfLength; ++k) {
        const float after = r[centre + static_cast<std::size_t>(k)];
        const float before = r[centre - static_cast<std::size_t>(k)];
        if (!std::isfinite(after) || after != before) return std::nullopt;
        if (after != 0.0f) extent = k;
    }
    if (extent < ProbeStep || extent >= MaxHalfLength) return std::nullopt;
    SincFilter filter;
    filter.step = ProbeStep;
    filter.halfLength = extent;
    filter.coefficients.assign(r.begin() + static_cast<std::ptrdiff_t>(centre),
                               r.begin() + static_cast<std::ptrdiff_t>(centre) + extent + 1);
    filter.coefficients.resize(static_cast<std::size_t>(filter.halfLength) + ReadPadding, 0.0f);
    return filter;
}

}  // namespace

const std::optional<SincFilter>& FastestSincFilter() {
    static const std::optional<SincFilter> filter = ProbeFastestSinc();
    return filter;
}

}  // namespace vireon::render
