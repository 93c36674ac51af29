#pragma once
// A drawing surface whose pixels persist between calls. The renderer only needs these four
// operations, so it never sees the GUI toolkit.
#include <cstdint>

namespace vireon {

class ImageSurface {
public:
    virtual ~ImageSurface() = default;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    // Out-of-range coordinates are ignored.
    virtual void SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) = 0;
    // Copies the w x h rectangle at (srcX, srcY) to (dstX, dstY); correct when the two overlap.
    // The rectangle is clipped to the surface.
    virtual void CopyRect(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX,
                          int32_t dstY) = 0;
};

}  // namespace vireon
