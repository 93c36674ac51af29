#include "platform/linux/QImageSurface.h"

#include <algorithm>
#include <cstring>

namespace vireon {

void QImageSurface::SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = qRgb(r, g, b);
}

void QImageSurface::CopyRect(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX,
                             int32_t dstY) {
    if (!ClipCopyRect(srcX, srcY, w, h, dstX, dstY, image_.width(), image_.height())) return;

    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    const std::size_t rowBytes = static_cast<std::size_t>(w) * sizeof(QRgb);
    auto row = [&](int32_t y, int32_t x) {
        return bits + y * stride + x * qsizetype(sizeof(QRgb));
    };
    // Walk rows so that a source row is read before an overlapping copy overwrites it.
    if (dstY <= srcY) {
        for (int32_t i = 0; i < h; ++i)
            std::memmove(row(dstY + i, dstX), row(srcY + i, srcX), rowBytes);
    } else {
        for (int32_t i = h - 1; i >= 0; --i)
            std::memmove(row(dstY + i, dstX), row(srcY + i, srcX), rowBytes);
    }
}

}  // namespace vireon
