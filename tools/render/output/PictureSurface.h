#pragma once
// The renderer's surface over a colour Picture, for the window-sized picture.
#include "platform/ImageSurface.h"
#include "tools/render/output/Picture.h"

namespace vireon::render {

class PictureSurface final : public ImageSurface {
public:
    explicit PictureSurface(Picture& picture) : picture_(picture) {}  // three channels
    int32_t Width() const override { return picture_.width; }
    int32_t Height() const override { return picture_.height; }
    void SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override;
    void CopyRect(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX,
                  int32_t dstY) override;

private:
    Picture& picture_;
};

}  // namespace vireon::render
