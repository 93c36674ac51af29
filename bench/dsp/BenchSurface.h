#pragma once
// The surface the window draws on: a ring picture of Format_RGB32 when Qt is built, otherwise a
// plain buffer with the same row layout and a memmove scroll.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/ImageSurface.h"

#ifdef VIREON_BENCH_QIMAGE
#include <QImage>

#include "platform/linux/RingImage.h"
#endif

namespace vireon::bench {

class BufferSurface final : public ImageSurface {
public:
    BufferSurface(int32_t w, int32_t h) : w_(w), h_(h), pixels_(std::size_t(w) * std::size_t(h)) {}
    int32_t Width() const override { return w_; }
    int32_t Height() const override { return h_; }
    void SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        pixels_[std::size_t(y) * std::size_t(w_) + std::size_t(x)] =
            0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
    }
    // Only the left shift the renderer asks for is needed here (rows never overlap).
    void CopyRect(int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t dx, int32_t dy) override {
        for (int32_t i = 0; i < h; ++i)
            std::memmove(&pixels_[std::size_t(dy + i) * std::size_t(w_) + std::size_t(dx)],
                         &pixels_[std::size_t(sy + i) * std::size_t(w_) + std::size_t(sx)],
                         std::size_t(w) * sizeof(uint32_t));
    }

private:
    int32_t w_, h_;
    std::vector<uint32_t> pixels_;
};

// Owns whatever the surface draws into.
struct BenchCanvas {
    BenchCanvas(int32_t w, int32_t h) {
#ifdef VIREON_BENCH_QIMAGE
        QImage black(w, h, QImage::Format_RGB32);
        black.fill(Qt::black);
        image = std::make_unique<RingImage>();
        image->Assign(black);
        surface = std::make_unique<RingImageSurface>(*image);
#else
        surface = std::make_unique<BufferSurface>(w, h);
#endif
    }
#ifdef VIREON_BENCH_QIMAGE
    std::unique_ptr<RingImage> image;
#endif
    std::unique_ptr<ImageSurface> surface;
};

}  // namespace vireon::bench
