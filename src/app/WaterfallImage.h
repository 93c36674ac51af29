#pragma once
// The image control that shows the waterfall bitmap: unscaled, from its top-left corner, one
// bitmap pixel per screen pixel whatever the screen's scale. The bitmap keeps its pixels
// between paints and may be larger than the control.
#include <QImage>
#include <QSize>
#include <QWidget>

#include "platform/RingImage.h"

namespace vireon {

class WaterfallImage final : public QWidget {
    Q_OBJECT
public:
    explicit WaterfallImage(QWidget* parent = nullptr);

    // What the renderer draws on.
    RingImage& Pixels() { return bitmap_; }
    // The bitmap as it is shown, and a replacement for it.
    QImage Bitmap() const { return bitmap_.Shown(); }
    void SetBitmap(const QImage& picture) { bitmap_.Assign(picture); }

    // The control's size in screen pixels, the size the renderer draws at.
    QSize DeviceSize() const;

    // Gives the bitmap a new size in screen pixels: existing pixels stay where they are from
    // the top-left corner, newly added area is white.
    void ResizeBitmap(int width, int height);

    // The bitmap moved one pixel left and has a new column in its last two columns of the
    // control: puts that on screen with as little drawing as the scale allows.
    void ShowScrolledColumn();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    RingImage bitmap_;
};

// A widget's size in screen pixels, as the window system shows it.
QSize DevicePixels(const QWidget& widget);

// The same resize on any RGB32 image.
QImage ResizedKeepingPixels(const QImage& source, int width, int height);

}  // namespace vireon
