#pragma once
// The image surface over a QImage of Format_RGB32, used by the window and by vireon-render.
#include <QImage>

#include "platform/ImageSurface.h"

namespace vireon {

class QImageSurface final : public ImageSurface {
public:
    explicit QImageSurface(QImage& image) : image_(image) {}
    int32_t Width() const override { return image_.width(); }
    int32_t Height() const override { return image_.height(); }
    void SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override;
    void CopyRect(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX,
                  int32_t dstY) override;

private:
    QImage& image_;
};

}  // namespace vireon
