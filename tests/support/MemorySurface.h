#pragma once
// An image surface in plain memory, 0xRRGGBB per pixel, for tests that must not need Qt.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/ImageSurface.h"

namespace vireon::testing {

class MemorySurface final : public ImageSurface {
public:
    MemorySurface(int32_t w, int32_t h, uint32_t fill = 0xFFFFFF)
        : w_(w), h_(h), pixels_(static_cast<std::size_t>(w) * h, fill) {}
    int32_t Width() const override { return w_; }
    int32_t Height() const override { return h_; }
    void SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override {
        ++setPixelCalls;
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        at(x, y) = (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
    }
    void CopyRect(int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t dx, int32_t dy) override {
        ++copyCalls;
        // Copy through a snapshot: simple and obviously overlap-safe.
        std::vector<uint32_t> before = pixels_;
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                int32_t fx = sx + x, fy = sy + y, tx = dx + x, ty = dy + y;
                if (fx < 0 || fy < 0 || fx >= w_ || fy >= h_) continue;
                if (tx < 0 || ty < 0 || tx >= w_ || ty >= h_) continue;
                at(tx, ty) = before[static_cast<std::size_t>(fy) * w_ + fx];
            }
    }
    uint32_t& at(int32_t x, int32_t y) { return pixels_[static_cast<std::size_t>(y) * w_ + x]; }
    uint32_t Pixel(int32_t x, int32_t y) const {
        return pixels_[static_cast<std::size_t>(y) * w_ + x];
    }
    // Grey level of a pixel written as r = g = b.
    uint8_t Grey(int32_t x, int32_t y) const { return static_cast<uint8_t>(Pixel(x, y) & 0xFF); }

    int setPixelCalls = 0;
    int copyCalls = 0;

private:
    int32_t w_, h_;
    std::vector<uint32_t> pixels_;
};

}  // namespace vireon::testing
