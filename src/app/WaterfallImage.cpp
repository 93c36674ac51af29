#include "app/WaterfallImage.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace vireon {

WaterfallImage::WaterfallImage(QWidget* parent) : QWidget(parent) {
    // The bitmap covers the whole control, so no background needs to be drawn first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void WaterfallImage::ResizeBitmap(int width, int height) {
    if (bitmap_.width() == width && bitmap_.height() == height && !bitmap_.isNull()) return;
    bitmap_ = ResizedKeepingPixels(bitmap_, width, height);
}

void WaterfallImage::ShowScrolledColumn() {
    // Pending repaints move along with the picture, so the screen stays a copy of the bitmap.
    scroll(-1, 0);
    update(width() - 2, 0, 2, height());
}

void WaterfallImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Only the parts asked for; the bitmap's pixels map 1:1 onto the control's.
    for (const QRect& rect : event->region()) {
        const QRect inside = rect & bitmap_.rect();
        if (!inside.isEmpty()) painter.drawImage(inside.topLeft(), bitmap_, inside);
        // Anything beyond the bitmap (only while it cannot be allocated) is left white.
        const QRegion outside = QRegion(rect) - QRegion(inside);
        for (const QRect& r : outside) painter.fillRect(r, Qt::white);
    }
}

QImage ResizedKeepingPixels(const QImage& source, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    QImage result(width, height, QImage::Format_RGB32);
    if (result.isNull()) return result;  // too large to allocate: shown white, drawn nowhere
    result.fill(Qt::white);
    if (source.isNull()) return result;
    const QImage from = source.format() == QImage::Format_RGB32
                            ? source
                            : source.convertToFormat(QImage::Format_RGB32);
    const int rows = std::min(height, from.height());
    const std::size_t bytes = static_cast<std::size_t>(std::min(width, from.width())) * 4;
    for (int y = 0; y < rows; ++y) std::memcpy(result.scanLine(y), from.constScanLine(y), bytes);
    return result;
}

}  // namespace vireon
