#pragma once
// A drawing surface whose pixels persist between calls. The renderer only needs these
// operations, so it never sees the GUI toolkit.
#include <algorithm>
#include <cstdint>

namespace vireon {

class ImageSurface {
public:
    virtual ~ImageSurface() = default;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    // Out-of-range coordinates are ignored.
    virtual void SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) = 0;
    // Greys up column x: greys[k] at (x, bottom - k). A surface may do this faster than pixel
    // by pixel; out-of-range pixels are ignored all the same.
    virtual void SetGreysUpwards(int32_t x, int32_t bottom, const uint8_t* greys, int32_t count) {
        for (int32_t k = 0; k < count; ++k) SetPixel(x, bottom - k, greys[k], greys[k], greys[k]);
    }
    // Copies the w x h rectangle at (srcX, srcY) to (dstX, dstY); correct when the two overlap.
    // The rectangle is clipped to the surface.
    virtual void CopyRect(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX,
                          int32_t dstY) = 0;
};

// Clips a CopyRect to a width x height surface, so that both the source and the destination
// lie inside it; false when nothing is left to copy.
inline bool ClipCopyRect(int32_t& srcX, int32_t& srcY, int32_t& w, int32_t& h, int32_t& dstX,
                         int32_t& dstY, int32_t width, int32_t height) {
    auto clip = [](int32_t& a, int32_t& b, int32_t& len, int32_t limit) {
        const int32_t lead = std::max({0, -a, -b});
        a += lead, b += lead, len -= lead;
        len = std::min({len, limit - a, limit - b});
    };
    clip(srcX, dstX, w, width);
    clip(srcY, dstY, h, height);
    return w > 0 && h > 0;
}

}  // namespace vireon
