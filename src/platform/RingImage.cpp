#include "platform/RingImage.h"

#include <algorithm>

#include "platform/QImageSurface.h"

namespace vireon {

QImage RingImage::Shown() const {
    if (start_ == 0) {
        bits_ = nullptr;  // shared from here on: the next write must detach first
        return pixels_;
    }
    QImage shown(pixels_.size(), QImage::Format_RGB32);
    ForEachPiece(pixels_.rect(), [&](QPoint target, const QImage& storage, const QRect& source) {
        for (int y = 0; y < source.height(); ++y)
            std::copy_n(
                reinterpret_cast<const QRgb*>(storage.constScanLine(source.y() + y)) + source.x(),
                source.width(),
                reinterpret_cast<QRgb*>(shown.scanLine(target.y() + y)) + target.x());
    });
    return shown;
}

void RingImage::Assign(const QImage& picture) {
    pixels_ = picture.format() == QImage::Format_RGB32 || picture.isNull()
                  ? picture
                  : picture.convertToFormat(QImage::Format_RGB32);
    ringWidth_ = ringHeight_ = start_ = 0;
    bits_ = nullptr;
    ++generation_;
}

void RingImage::SetGreysUpwards(int x, int bottom, const uint8_t* greys, int count) {
    Refresh();
    if (x < 0 || x >= width_) return;
    // Only the rows the picture has; the ring's rows keep column x elsewhere in storage.
    const int from = std::max(0, bottom - height_ + 1);
    const int to = std::min(count, bottom + 1);
    if (from >= to) return;
    // Grey k goes to row bottom - k: first the rows below the ring's, in column x, then the
    // ring's, in its storage column.
    const int ringRows = x < ringWidth_ ? ringHeight_ : 0;
    const int split = std::clamp(bottom - ringRows + 1, from, to);
    const qsizetype step = stride_ / qsizetype{sizeof(QRgb)};
    const auto fill = [&](int first, int end, int column) {
        QRgb* const lowest = Row(bottom - first) + column;
        for (int k = first; k < end; ++k)
            lowest[-(k - first) * step] = 0xff000000u | 0x010101u * greys[k];
    };
    fill(from, split, x);
    if (split < to) fill(split, to, StorageX(x));
}

void RingImage::ScrollLeft(int width, int height) {
    if (width != ringWidth_ || height != ringHeight_) {
        Unroll();
        ringWidth_ = width;
        ringHeight_ = height;
    }
    start_ = StorageX(1);
    // The last column stays as it was, that is equal to the one now left of it.
    const int last = StorageX(width - 1), beforeLast = StorageX(width - 2);
    const qsizetype step = stride_ / qsizetype{sizeof(QRgb)};
    QRgb* row = Row(0);
    for (int y = 0; y < height; ++y, row += step) row[last] = row[beforeLast];
}

QImage& RingImage::Plain() {
    Unroll();
    ringWidth_ = ringHeight_ = 0;
    bits_ = nullptr;  // the caller may share or replace it
    ++generation_;
    return pixels_;
}

void RingImage::Unroll() {
    if (start_ != 0) {
        for (int y = 0; y < ringHeight_; ++y) {
            QRgb* row = Row(y);
            std::rotate(row, row + start_, row + ringWidth_);
        }
        ++generation_;
    }
    start_ = 0;
}

void RingImageSurface::SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
    image_.SetPixel(x, y, qRgb(r, g, b));
}

void RingImageSurface::SetGreysUpwards(int32_t x, int32_t bottom, const uint8_t* greys,
                                       int32_t count) {
    image_.SetGreysUpwards(x, bottom, greys, count);
}

void RingImageSurface::CopyRect(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX,
                                int32_t dstY) {
    // The renderer's scroll: everything of its area one pixel to the left.
    if (srcX == 1 && srcY == 0 && dstX == 0 && dstY == 0 && w >= 1 && h >= 1 &&
        w < image_.Width() && h <= image_.Height()) {
        image_.ScrollLeft(w + 1, h);
        return;
    }
    // Any other copy works on the plain layout, pixel for pixel.
    QImageSurface(image_.Plain()).CopyRect(srcX, srcY, w, h, dstX, dstY);
}

}  // namespace vireon
