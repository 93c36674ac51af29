#include "platform/linux/RingImage.h"

#include <algorithm>

namespace vireon {

QImage RingImage::Shown() const {
    if (!ring_.Rolled()) {
        owned_ = false;  // shared from here on: the next write must detach first
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
    // Not the pixels' address yet: taking it would copy a picture that may still be shared.
    ring_.Attach(nullptr, 0, pixels_.width(), pixels_.height());
    owned_ = false;
}

QImage& RingImage::Plain() {
    Ring().Flatten();
    owned_ = false;  // the caller may share or replace it
    return pixels_;
}

}  // namespace vireon
