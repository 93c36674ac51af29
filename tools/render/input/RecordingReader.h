#pragma once
// A recording as a stream of unsigned 8-bit samples at 8000 Hz, read in chunks so that a
// recording of any length needs only a fixed amount of memory.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vireon::render {

class RecordingReader {
public:
    virtual ~RecordingReader() = default;
    // Fills up to capacity samples; returns how many, 0 only at the end. Throws RenderError.
    virtual std::size_t Read(uint8_t* samples, std::size_t capacity) = 0;
    // How many 8000 Hz samples the whole recording gives, roughly; -1 when unknown.
    virtual int64_t ExpectedSamples() const = 0;
};

// Opens path ("-" is standard input) as raw bytes or, on Linux, through libsndfile; Windows
// reads raw bytes only. Throws RenderError naming the file when it cannot be opened or is not a
// recording this system reads.
std::unique_ptr<RecordingReader> OpenRecording(const std::string& path, bool raw);

// The help's paragraph on what INPUT may be on this system, ending in a line end.
std::string InputHelpText();

// The version's line on how recordings are read ("resampler: ...").
std::string DescribeInput();

}  // namespace vireon::render
