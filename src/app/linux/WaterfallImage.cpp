#include "app/linux/WaterfallImage.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/linux/XcbPictureMirror.h"

namespace vireon {

WaterfallImage::WaterfallImage(QWidget* parent) : QWidget(parent) {
    // The bitmap covers the whole control, so no background needs to be drawn first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // A column through the toolkit's painting costs several times what the column's own
    // arithmetic does (a paint, a scroll and a flush of its back buffer, and an extra pass of
    // the event loop); on X the control draws itself. Scaled screens keep the toolkit's path, as
    // does VIREON_NO_X_MIRROR=1, to compare the two.
    if (QGuiApplication::platformName() == QLatin1String("xcb") && devicePixelRatioF() == 1.0 &&
        qEnvironmentVariableIntValue("VIREON_NO_X_MIRROR") == 0) {
        native_ = true;
        setAttribute(Qt::WA_DontCreateNativeAncestors);
        setAttribute(Qt::WA_NativeWindow);
        setAttribute(Qt::WA_PaintOnScreen);
    }
}

WaterfallImage::~WaterfallImage() = default;

QPaintEngine* WaterfallImage::paintEngine() const {
    return native_ ? nullptr : QWidget::paintEngine();
}

XcbPictureMirror* WaterfallImage::Mirror() {
    if (!native_) return nullptr;
    // Not winId(): before the main window exists, it would make Qt create the control's window
    // twice over (and lose one). Qt creates it with the main window; until then nothing shows.
    const auto window = static_cast<std::uint32_t>(internalWinId());
    if (window == 0) return nullptr;
    if (mirror_ == nullptr || mirror_->Window() != window) {
        mirror_ = XcbPictureMirror::ForWindow(window);
        // A window that cannot take the bitmap's pixels as they are: the toolkit draws.
        if (mirror_ == nullptr) return DrawWithToolkit();
        mirroredGeneration_ = bitmap_.Generation() - 1;
    }
    if (mirroredGeneration_ != bitmap_.Generation() ||
        mirror_->Size() != bitmap_.Storage().size()) {
        // A bitmap the server cannot hold: the toolkit draws, from now on.
        if (!mirror_->UploadAll(bitmap_.Storage())) return DrawWithToolkit();
        mirroredGeneration_ = bitmap_.Generation();
    }
    return mirror_.get();
}

XcbPictureMirror* WaterfallImage::DrawWithToolkit() {
    mirror_.reset();
    native_ = false;
    setAttribute(Qt::WA_PaintOnScreen, false);
    update();
    return nullptr;
}

void WaterfallImage::ShowMirror(XcbPictureMirror& mirror, QSize size) {
    // All of it, copied within the server: a part left out would show what the window system
    // had there.
    const QRect area(QPoint(0, 0), size);
    bitmap_.ForEachPiece(area, [&](QPoint target, const QImage&, const QRect& source) {
        mirror.Show(target, source);
    });
    if (!bitmap_.Rect().contains(area)) {
        for (const QRect& r : QRegion(area) - QRegion(bitmap_.Rect())) mirror.FillWhite(r);
    }
    mirror.Flush();
}

QSize WaterfallImage::DeviceSize() const {
    return DevicePixels(*this);
}

PictureSize WaterfallImage::Size() const {
    const QSize size = DeviceSize();
    return {size.width(), size.height()};
}

void WaterfallImage::ShowScrolledColumn(PictureSize size) {
    ShowScrolledColumn(QSize(size.Width, size.Height));
}

void WaterfallImage::ResizeBitmap(int32_t width, int32_t height) {
    if (bitmap_.Width() == width && bitmap_.Height() == height && !bitmap_.IsNull()) return;
    bitmap_.Assign(ResizedKeepingPixels(bitmap_.Plain(), width, height));
}

void WaterfallImage::ShowScrolledColumn(QSize size) {
    if (XcbPictureMirror* mirror = Mirror()) {
        // Only the two new columns travel to the server.
        bitmap_.ForEachPiece(QRect(size.width() - 2, 0, 2, size.height()),
                             [&](QPoint, const QImage& storage, const QRect& source) {
                                 mirror->Upload(storage, source);
                             });
        ShowMirror(*mirror, size);
        return;
    }
    if (native_) return;  // its window is not made yet: nothing is on screen
    // Painted at once rather than on a posted request: one pass of the event loop per column.
    if (devicePixelRatioF() == 1.0) {
        // Pending repaints move along with the picture, so the screen stays a copy of the
        // bitmap.
        scroll(-1, 0);
        repaint(width() - 2, 0, 2, height());
        return;
    }
    // A scroll moves whole logical pixels, more than one screen pixel here.
    repaint();
}

void WaterfallImage::paintEvent(QPaintEvent* event) {
    if (native_) {
        if (XcbPictureMirror* mirror = Mirror()) ShowMirror(*mirror, DeviceSize());
        return;
    }
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    QRegion wanted = event->region();
    if (ratio != 1.0) {
        // Draw in screen pixels, from the one where the control starts.
        const QPointF origin = painter.deviceTransform().map(QPointF(0, 0));
        const qreal dx = qRound(origin.x()) - origin.x();
        const qreal dy = qRound(origin.y()) - origin.y();
        painter.setWorldTransform(QTransform(1 / ratio, 0, 0, 1 / ratio, dx / ratio, dy / ratio));
        QRegion inDevicePixels;
        for (const QRect& rect : wanted) {
            // Rounded outwards: the window system clips to what it really exposed.
            const int left = int(std::floor(rect.x() * ratio)) - 1;
            const int top = int(std::floor(rect.y() * ratio)) - 1;
            const int right = int(std::ceil((rect.x() + rect.width()) * ratio)) + 1;
            const int bottom = int(std::ceil((rect.y() + rect.height()) * ratio)) + 1;
            inDevicePixels += QRect(left, top, right - left, bottom - top);
        }
        wanted = inDevicePixels & QRect(QPoint(0, 0), DeviceSize());
    }
    for (const QRect& rect : wanted) {
        // The bitmap's pixels map 1:1 onto the screen's.
        bitmap_.ForEachPiece(rect, [&](QPoint target, const QImage& storage, const QRect& source) {
            painter.drawImage(target, storage, source);
        });
        // Anything beyond the bitmap (only while it cannot be allocated) is left white.
        const QRegion outside = QRegion(rect) - QRegion(bitmap_.Rect());
        for (const QRect& r : outside) painter.fillRect(r, Qt::white);
    }
}

QSize DevicePixels(const QWidget& widget) {
    const qreal ratio = widget.devicePixelRatioF();
    if (ratio == 1.0) return widget.size();
    // The window system rounds each edge in the window, so the size depends on the place too.
    const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
    const auto edge = [ratio](int logical) { return qRound(logical * ratio); };
    return {edge(at.x() + widget.width()) - edge(at.x()),
            edge(at.y() + widget.height()) - edge(at.y())};
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
