#include "platform/PixelRing.h"

#include <cstring>

namespace vireon {

void PixelRing::Attach(uint32_t* pixels, std::ptrdiff_t stride, int32_t width, int32_t height) {
    pixels_ = pixels;
    stride_ = stride;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    ringWidth_ = ringHeight_ = start_ = 0;
    ++generation_;
}

void PixelRing::SetGreysUpwards(int32_t x, int32_t bottom, const uint8_t* greys, int32_t count) {
    if (x < 0 || x >= width_) return;
    // Only the rows the picture has; the ring's rows keep column x elsewhere in storage.
    const int32_t from = std::max(0, bottom - height_ + 1);
    const int32_t to = std::min(count, bottom + 1);
    if (from >= to) return;
    // Grey k goes to row bottom - k: first the rows below the ring's, in column x, then the
    // ring's, in its storage column.
    const int32_t ringRows = x < ringWidth_ ? ringHeight_ : 0;
    const int32_t split = std::clamp(bottom - ringRows + 1, from, to);
    const std::ptrdiff_t step = stride_ / std::ptrdiff_t{sizeof(uint32_t)};
    const auto fill = [&](int32_t first, int32_t end, int32_t column) {
        uint32_t* const lowest = Row(bottom - first) + column;
        for (int32_t k = first; k < end; ++k) lowest[-(k - first) * step] = GreyPixel(greys[k]);
    };
    fill(from, split, x);
    if (split < to) fill(split, to, StorageX(x));
}

void PixelRing::ScrollLeft(int32_t width, int32_t height) {
    if (width != ringWidth_ || height != ringHeight_) {
        Unroll();
        ringWidth_ = width;
        ringHeight_ = height;
    }
    start_ = StorageX(1);
    // The last column stays as it was, that is equal to the one now left of it.
    const int32_t last = StorageX(width - 1), beforeLast = StorageX(width - 2);
    const std::ptrdiff_t step = stride_ / std::ptrdiff_t{sizeof(uint32_t)};
    uint32_t* row = Row(0);
    for (int32_t y = 0; y < height; ++y, row += step) row[last] = row[beforeLast];
}

void PixelRing::CopyRect(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX,
                         int32_t dstY) {
    // The renderer's scroll: everything of its area one pixel to the left.
    if (srcX == 1 && srcY == 0 && dstX == 0 && dstY == 0 && w >= 1 && h >= 1 && w < width_ &&
        h <= height_) {
        ScrollLeft(w + 1, h);
        return;
    }
    // Any other copy works on the plain layout, pixel for pixel.
    Flatten();
    if (!ClipCopyRect(srcX, srcY, w, h, dstX, dstY, width_, height_)) return;
    const std::size_t rowBytes = static_cast<std::size_t>(w) * sizeof(uint32_t);
    // Walk rows so that a source row is read before an overlapping copy overwrites it.
    if (dstY <= srcY) {
        for (int32_t i = 0; i < h; ++i)
            std::memmove(Row(dstY + i) + dstX, Row(srcY + i) + srcX, rowBytes);
    } else {
        for (int32_t i = h - 1; i >= 0; --i)
            std::memmove(Row(dstY + i) + dstX, Row(srcY + i) + srcX, rowBytes);
    }
}

void PixelRing::Flatten() {
    Unroll();
    ringWidth_ = ringHeight_ = 0;
    ++generation_;
}

void PixelRing::Unroll() {
    if (start_ != 0) {
        for (int32_t y = 0; y < ringHeight_; ++y) {
            uint32_t* row = Row(y);
            std::rotate(row, row + start_, row + ringWidth_);
        }
        ++generation_;
    }
    start_ = 0;
}

}  // namespace vireon
