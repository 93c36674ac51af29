#pragma once
// The image control that shows the waterfall bitmap: unscaled, from its top-left corner.
// The bitmap keeps its pixels between paints and may be larger than the control.
#include <QImage>
#include <QWidget>

namespace vireon {

class WaterfallImage final : public QWidget {
    Q_OBJECT
public:
    explicit WaterfallImage(QWidget* parent = nullptr);

    QImage& Bitmap() { return bitmap_; }
    const QImage& Bitmap() const { return bitmap_; }

    // Gives the bitmap a new size: existing pixels stay where they are from the top-left
    // corner, newly added area is white.
    void ResizeBitmap(int width, int height);

    // The bitmap moved one pixel left and has a new column in its last two columns of the
    // control: moves what is already on screen instead of repainting all of it.
    void ShowScrolledColumn();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage bitmap_;
};

// The same resize on any RGB32 image.
QImage ResizedKeepingPixels(const QImage& source, int width, int height);

}  // namespace vireon
