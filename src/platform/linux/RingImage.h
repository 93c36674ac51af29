#pragma once
// The waterfall bitmap on Linux: a QImage of Format_RGB32 holding a PixelRing's storage. Qt may
// share the image's pixels with a copy (one handed out to draw); the first write after that makes
// them the image's own again before the ring touches them.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>

#include "platform/ImageSurface.h"
#include "platform/PixelRing.h"

namespace vireon {

class RingImage {
public:
    // The picture as it is seen, laid out plainly.
    QImage Shown() const;
    // Takes the picture over as it is (converted to Format_RGB32).
    void Assign(const QImage& picture);

    int Width() const { return pixels_.width(); }
    int Height() const { return pixels_.height(); }
    bool IsNull() const { return pixels_.isNull(); }
    QRect Rect() const { return pixels_.rect(); }

    // The ring, for writing: its storage is the image's own.
    PixelRing& Ring() {
        if (!owned_) {
            ring_.Rebase(reinterpret_cast<uint32_t*>(pixels_.bits()), pixels_.bytesPerLine());
            owned_ = true;
        }
        return ring_;
    }
    void SetPixel(int x, int y, QRgb colour) { Ring().SetPixel(x, y, colour); }
    void SetGreysUpwards(int x, int bottom, const uint8_t* greys, int count) {
        Ring().SetGreysUpwards(x, bottom, greys, count);
    }
    void ScrollLeft(int width, int height) { Ring().ScrollLeft(width, height); }
    void Unroll() { Ring().Unroll(); }
    // The storage, laid out plainly, for drawing on as an ordinary picture.
    QImage& Plain();
    // The storage as it is, to read at once (not to keep: later writes may go to it).
    const QImage& Storage() const { return pixels_; }

    // Goes up whenever pixels may have moved in the storage, or been written other than by
    // SetPixel, SetGreysUpwards and ScrollLeft: a copy of the storage kept up to date with what
    // those wrote is then stale.
    std::uint64_t Generation() const { return ring_.Generation(); }

    // Calls draw(target, storage, source) for each plain piece of the storage that makes up the
    // part rect of the picture: source in storage, drawn with its top-left at target.
    template <typename Draw>
    void ForEachPiece(const QRect& rect, Draw draw) const {
        owned_ = false;  // draw may keep a copy of the storage
        ring_.ForEachPiece({rect.x(), rect.y(), rect.width(), rect.height()},
                           [&](int32_t x, int32_t y, const PixelRect& source) {
                               draw(QPoint(x, y), pixels_,
                                    QRect(source.X, source.Y, source.Width, source.Height));
                           });
    }

private:
    QImage pixels_;
    PixelRing ring_;
    mutable bool owned_ = false;  // the pixels are not shared with a copy, and the ring knows them
};

// The renderer's surface over a ring picture: its scroll of the whole area is the ring's.
class RingImageSurface final : public ImageSurface {
public:
    explicit RingImageSurface(RingImage& image) : image_(image) {}
    int32_t Width() const override { return image_.Width(); }
    int32_t Height() const override { return image_.Height(); }
    void SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override {
        image_.SetPixel(x, y, qRgb(r, g, b));
    }
    void SetGreysUpwards(int32_t x, int32_t bottom, const uint8_t* greys, int32_t count) override {
        image_.SetGreysUpwards(x, bottom, greys, count);
    }
    void CopyRect(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX,
                  int32_t dstY) override {
        image_.Ring().CopyRect(srcX, srcY, w, h, dstX, dstY);
    }

private:
    RingImage& image_;
};

}  // namespace vireon
