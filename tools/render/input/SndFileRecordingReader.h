#pragma once
// Recordings in any format libsndfile reads. Unsigned 8-bit mono at 8000 Hz is handed over
// byte for byte; anything else is mixed to mono, resampled to 8000 Hz and quantised.
#include <memory>
#include <string>

#include "tools/render/input/RecordingReader.h"

namespace vireon::render {

std::unique_ptr<RecordingReader> OpenSndFileRecording(const std::string& path);

}  // namespace vireon::render
