#include "tools/render/Progress.h"

namespace vireon::render {

namespace {
constexpr int64_t SamplesPerMinute = 8000 * 60;
}

Progress::Progress(FILE* out, bool enabled, int64_t expectedSamples)
    : out_(out),
      active_(enabled && (expectedSamples < 0 || expectedSamples >= SamplesPerMinute)),
      expected_(expectedSamples) {}

void Progress::Update(int64_t samplesRead) {
    if (!active_) return;
    if (expected_ > 0) {
        // The expected length of a resampled recording is a little off; never show past 99.
        const int64_t percent = samplesRead >= expected_ ? 99 : samplesRead * 100 / expected_;
        if (percent == lastShown_) return;
        lastShown_ = percent;
        std::fprintf(out_, "\rvireon-render: %3lld%%", static_cast<long long>(percent));
    } else {
        const int64_t minutes = samplesRead / SamplesPerMinute;
        if (minutes == lastShown_) return;
        lastShown_ = minutes;
        std::fprintf(out_, "\rvireon-render: %lld min read", static_cast<long long>(minutes));
    }
    std::fflush(out_);
}

void Progress::Finish() {
    if (!active_ || lastShown_ < 0) return;
    // Clear the line so that a following message starts clean.
    std::fputs("\r\033[K", out_);
    std::fflush(out_);
    lastShown_ = -1;
}

}  // namespace vireon::render
