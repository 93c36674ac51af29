#include "tools/render/output/PictureSurface.h"

#include <algorithm>
#include <cstring>

namespace vireon::render {

void PictureSurface::SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
    if (x < 0 || y < 0 || x >= picture_.width || y >= picture_.height) return;
    uint8_t* pixel = picture_.Row(y) + static_cast<std::size_t>(x) * 3;
    pixel[0] = r;
    pixel[1] = g;
    pixel[2] = b;
}

void PictureSurface::CopyRect(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX,
                              int32_t dstY) {
    if (!ClipCopyRect(srcX, srcY, w, h, dstX, dstY, picture_.width, picture_.height)) return;
    const std::size_t bytes = static_cast<std::size_t>(w) * 3;
    auto at = [&](int32_t y, int32_t x) {
        return picture_.Row(y) + static_cast<std::size_t>(x) * 3;
    };
    // Walk rows so that a source row is read before an overlapping copy overwrites it.
    if (dstY <= srcY) {
        for (int32_t i = 0; i < h; ++i) std::memmove(at(dstY + i, dstX), at(srcY + i, srcX), bytes);
    } else {
        for (int32_t i = h - 1; i >= 0; --i)
            std::memmove(at(dstY + i, dstX), at(srcY + i, srcX), bytes);
    }
}

}  // namespace vireon::render
