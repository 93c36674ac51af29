#pragma once
// Raw unsigned 8-bit mono samples at 8000 Hz, from a file or standard input (read as bytes,
// never as text). Each system has its own reader: linux/ and windows/RawRecordingReader.cpp.
#include <memory>
#include <string>

#include "tools/render/input/RecordingReader.h"

namespace vireon::render {

// path "-" reads standard input. Throws RenderError naming the file when it cannot be opened
// or is a directory.
std::unique_ptr<RecordingReader> OpenRawRecording(const std::string& path);

}  // namespace vireon::render
