#pragma once
// Mono float samples at a recording's rate in, at 8000 Hz out, through libsamplerate's fastest
// sinc converter. The reader has always fed the converter one chunk at a time with the calls
// of ConvertChunk; what comes out depends on them, at the very end of a recording.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "tools/render/SincSchedule.h"

namespace vireon::render {

constexpr long ConverterOutputFrames = 4096;

// The calls for one chunk of `frames` input frames (0 at the end of the input): the converter
// is called until it has used the chunk, and at the end until it gives nothing more.
template <class Convert>
void ConvertChunk(long frames, bool endOfInput, Convert&& convert) {
    long used = 0;
    for (;;) {
        const ConverterCall call = convert(used, frames - used, endOfInput);
        used += call.used;
        if (used == frames && (!endOfInput || call.generated == 0)) break;
        if (!endOfInput && call.used == 0 && call.generated == 0) break;
    }
}

class Resampler {
public:
    virtual ~Resampler() = default;
    // The next chunk; frames == 0 marks the end of the input.
    virtual void Push(const float* mono, std::size_t frames) = 0;
    // Appends what has been converted: the samples in order, possibly not yet the latest
    // (they come with a later call), and all of them once the end has been pushed.
    virtual void Take(std::vector<float>& out) = 0;
};

// The library itself, one output after the other.
std::unique_ptr<Resampler> MakeLibraryResampler(double ratio, const std::string& path);

// The library's outputs computed by our own code on every core when the installed library gives,
// on a test signal at this ratio, exactly what ours gives; else the library itself.
std::unique_ptr<Resampler> MakeResampler(double ratio, const std::string& path);

// For tests: the parallel converter with a given filter, unchecked.
std::unique_ptr<Resampler> MakeParallelResampler(const SincFilter& filter, double ratio,
                                                 int threads);

}  // namespace vireon::render
