#include "tools/render/output/MagnitudeFile.h"

#include <bit>
#include <cstring>

namespace vireon::render {

void AppendMagnitudes(AtomicFile& file, const float* values, int32_t count) {
    if constexpr (std::endian::native == std::endian::little) {
        file.Write(values, static_cast<std::size_t>(count) * sizeof(float));
    } else {
        for (int32_t i = 0; i < count; ++i) {
            const uint32_t bits = std::bit_cast<uint32_t>(values[i]);
            const unsigned char le[4] = {
                static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
            file.Write(le, sizeof le);
        }
    }
}

}  // namespace vireon::render
