// Linux reads every recording libsndfile reads, and resamples it with libsoxr.
#include "tools/render/input/RecordingReader.h"

#include "tools/render/input/RawRecordingReader.h"
#include "tools/render/input/Resampler.h"
#include "tools/render/input/SndFileRecordingReader.h"

namespace vireon::render {

std::unique_ptr<RecordingReader> OpenRecording(const std::string& path, bool raw) {
    if (raw || path == "-") return OpenRawRecording(path);
    return OpenSndFileRecording(path);
}

std::string InputHelpText() {
    return R"(INPUT is any recording libsndfile reads. A name ending in .u8 or .raw, "-" for
standard input, or any file with --raw, is read as raw unsigned 8-bit mono samples at
8000 Hz. An unsigned 8-bit mono WAV at 8000 Hz is used byte for byte; anything else is
mixed to mono, resampled to 8000 Hz and quantised to unsigned 8 bits (128 = silence).
)";
}

std::string DescribeInput() {
    return "resampler: " + DescribeResampler();
}

}  // namespace vireon::render
