#include "tools/render/output/Picture.h"

#include <new>

namespace vireon::render {

Picture Picture::Filled(int32_t width, int32_t height, int32_t channels, uint8_t value) {
    Picture picture;
    if (width <= 0 || height <= 0 || channels <= 0) return picture;
    try {
        picture.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                                  static_cast<std::size_t>(channels),
                              value);
    } catch (const std::bad_alloc&) {
        return {};
    }
    picture.width = width;
    picture.height = height;
    picture.channels = channels;
    return picture;
}

}  // namespace vireon::render
