#include "tools/render/input/RecordingReader.h"

#include "tools/render/input/RawRecordingReader.h"
#include "tools/render/input/SndFileRecordingReader.h"

namespace vireon::render {

std::unique_ptr<RecordingReader> OpenRecording(const std::string& path, bool raw) {
    if (raw || path == "-") return std::make_unique<RawRecordingReader>(path);
    return OpenSndFileRecording(path);
}

}  // namespace vireon::render
