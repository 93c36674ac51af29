#pragma once
// The image control that shows the waterfall bitmap: unscaled, from its top-left corner, one
// bitmap pixel per screen pixel whatever the screen's scale. The bitmap keeps its pixels
// between paints and may be larger than the control.
#include <QImage>
#include <QSize>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "app/MainWindowShell.h"
#include "platform/linux/RingImage.h"

namespace vireon {

class XcbPictureMirror;

class WaterfallImage final : public QWidget, public WaterfallPicture {
    Q_OBJECT
public:
    explicit WaterfallImage(QWidget* parent = nullptr);
    ~WaterfallImage() override;

    // What the renderer draws on.
    RingImage& Pixels() { return bitmap_; }
    // The bitmap as it is shown, and a replacement for it.
    QImage Bitmap() const { return bitmap_.Shown(); }
    void SetBitmap(const QImage& picture) { bitmap_.Assign(picture); }

    // The control's size in screen pixels, the size the renderer draws at.
    QSize DeviceSize() const;

    // The picture as the window's logic sees it (see WaterfallPicture).
    ImageSurface& Surface() override { return surface_; }
    PictureSize Size() const override;
    void ResizeBitmap(int32_t width, int32_t height) override;
    void ShowScrolledColumn(PictureSize size) override;
    // The same, of size (its DeviceSize()), with as little drawing as the scale allows.
    void ShowScrolledColumn(QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;
    QPaintEngine* paintEngine() const override;

private:
    // On an X display the control is a window of its own that shows a copy of the bitmap kept
    // in the X server (drawn there, not by the toolkit): the copy, brought up to date with the
    // bitmap, or null when the toolkit draws the control.
    XcbPictureMirror* Mirror();
    // Leaves the control to the toolkit's painting for good; null.
    XcbPictureMirror* DrawWithToolkit();
    // Shows all of the control's area, of size (its DeviceSize()).
    void ShowMirror(XcbPictureMirror& mirror, QSize size);

    RingImage bitmap_;
    RingImageSurface surface_{bitmap_};
    bool native_ = false;
    std::unique_ptr<XcbPictureMirror> mirror_;
    std::uint64_t mirroredGeneration_ = 0;
};

// A widget's size in screen pixels, as the window system shows it.
QSize DevicePixels(const QWidget& widget);

// The same resize on any RGB32 image.
QImage ResizedKeepingPixels(const QImage& source, int width, int height);

}  // namespace vireon
