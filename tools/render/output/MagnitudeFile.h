#pragma once
// Every frame's magnitudes as little-endian 32-bit floats, frame after frame.
#include <cstdint>

#include "platform/AtomicFile.h"

namespace vireon::render {

void AppendMagnitudes(AtomicFile& file, const float* values, int32_t count);

}  // namespace vireon::render
