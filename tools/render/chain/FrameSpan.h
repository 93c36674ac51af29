#pragma once
// Which frames --start/--duration keep. A frame belongs to the moment it is computed: frame k
// (counted from 1) completes at input sample 255 k of the 8000 Hz stream, that is at
// 31.875 k ms. Times are held in whole nanoseconds so that a boundary typed in decimal
// (0.031875) lands exactly on a frame instead of a rounding error away from it.
#include <algorithm>
#include <cstdint>
#include <limits>

namespace vireon::render {

constexpr int64_t NanosecondsPerFrame = 31'875'000;  // 255 samples at 8000 Hz
constexpr int64_t NoEnd = std::numeric_limits<int64_t>::max();

constexpr int64_t FrameTimeNs(int64_t frame) {
    return frame * NanosecondsPerFrame;
}

// The half-open interval [startNs, endNs).
struct FrameSpan {
    int64_t startNs = 0;
    int64_t endNs = NoEnd;

    constexpr bool Contains(int64_t frame) const {
        const int64_t t = FrameTimeNs(frame);
        return t >= startNs && t < endNs;
    }
    constexpr bool IsWhole() const { return startNs == 0 && endNs == NoEnd; }

    // How many of the frames 1 .. frames lie in the span.
    constexpr int64_t CountIn(int64_t frames) const {
        const int64_t first = startNs <= NanosecondsPerFrame
                                  ? 1
                                  : (startNs + NanosecondsPerFrame - 1) / NanosecondsPerFrame;
        const int64_t last =
            endNs == NoEnd ? frames : std::min(frames, (endNs - 1) / NanosecondsPerFrame);
        return last >= first ? last - first + 1 : 0;
    }
};

}  // namespace vireon::render
