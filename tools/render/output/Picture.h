#pragma once
// A picture in memory, row after row from the top: one grey byte per pixel, or three (red,
// green, blue).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vireon::render {

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    int32_t channels = 1;
    std::vector<uint8_t> pixels;

    // Filled with one byte value; a null picture when it cannot be allocated.
    static Picture Filled(int32_t width, int32_t height, int32_t channels, uint8_t value);

    bool IsNull() const { return pixels.empty(); }
    std::size_t RowBytes() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(channels);
    }
    uint8_t* Row(int32_t y) { return pixels.data() + static_cast<std::size_t>(y) * RowBytes(); }
    const uint8_t* Row(int32_t y) const {
        return pixels.data() + static_cast<std::size_t>(y) * RowBytes();
    }
};

}  // namespace vireon::render
