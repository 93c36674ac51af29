// Windows reads raw 8000 Hz unsigned 8-bit recordings only: Debian has neither libsndfile nor
// libsoxr for MinGW, so other formats are converted before.
#include "tools/render/input/RecordingReader.h"

#include "tools/render/RenderError.h"
#include "tools/render/input/RawRecordingReader.h"

namespace vireon::render {

std::unique_ptr<RecordingReader> OpenRecording(const std::string& path, bool raw) {
    if (raw || path == "-") return OpenRawRecording(path);
    throw RenderError(path +
                      ": only raw 8000 Hz unsigned 8-bit input is read on Windows (a name "
                      "ending in .u8 or .raw, or --raw)");
}

std::string InputHelpText() {
    return R"(INPUT is raw unsigned 8-bit mono samples at 8000 Hz (128 = silence): a name ending
in .u8 or .raw, "-" for standard input, or any file with --raw. Only such raw input is
read on Windows; convert other recordings first, for example with sox:
  sox recording.wav -r 8000 -c 1 recording.u8
)";
}

std::string DescribeInput() {
    return "resampler: none (only raw 8000 Hz unsigned 8-bit input is read on Windows)";
}

}  // namespace vireon::render
