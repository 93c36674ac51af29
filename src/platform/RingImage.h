#pragma once
// A picture of Format_RGB32 whose top-left area scrolls left as a ring: a one-pixel scroll of
// that whole area moves the column where the ring starts instead of every pixel. Outside the
// area (and whenever the ring starts at column 0) the storage is the picture itself.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>

#include "platform/ImageSurface.h"

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

    void SetPixel(int x, int y, QRgb colour) {
        Refresh();
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        if (x < ringWidth_ && y < ringHeight_) x = StorageX(x);
        Row(y)[x] = colour;
    }
    // Greys up column x from row bottom: greys[k] at (x, bottom - k).
    void SetGreysUpwards(int x, int bottom, const uint8_t* greys, int count);
    // Moves columns 1 .. width - 1 of the top width x height area one to the left; the last
    // column keeps what it had. The area must lie inside the picture.
    void ScrollLeft(int width, int height);
    // Lays the storage out plainly again, so that it is the picture itself.
    void Unroll();
    // The storage, laid out plainly, for drawing on as an ordinary picture.
    QImage& Plain();
    // The storage as it is, to read at once (not to keep: later writes may go to it).
    const QImage& Storage() const { return pixels_; }

    // Goes up whenever pixels may have moved in the storage, or been written other than by
    // SetPixel, SetGreysUpwards and ScrollLeft: a copy of the storage kept up to date with what
    // those wrote is then stale.
    std::uint64_t Generation() const { return generation_; }

    // Calls draw(target, storage, source) for each plain piece of the storage that makes up the
    // part rect of the picture: source in storage, drawn with its top-left at target.
    template <typename Draw>
    void ForEachPiece(const QRect& rect, Draw draw) const;

private:
    // Storage column of picture column x on the rows inside the ring.
    int StorageX(int x) const {
        return x + start_ < ringWidth_ ? x + start_ : x + start_ - ringWidth_;
    }

    // QImage checks for sharing at every scanLine and answers width() and height() out of line,
    // which cost more than the pixel itself: the storage's layout is read once and dropped
    // whenever the storage may be shared or replaced.
    void Refresh() {
        if (bits_ != nullptr) return;
        bits_ = pixels_.bits();
        stride_ = pixels_.bytesPerLine();
        width_ = pixels_.width();
        height_ = pixels_.height();
    }
    QRgb* Row(int y) {
        Refresh();
        return reinterpret_cast<QRgb*>(bits_ + y * stride_);
    }

    QImage pixels_;
    mutable uchar* bits_ = nullptr;
    qsizetype stride_ = 0;
    int width_ = 0, height_ = 0;
    int ringWidth_ = 0, ringHeight_ = 0;
    int start_ = 0;  // storage column of the ring's first picture column
    std::uint64_t generation_ = 0;
};

// The renderer's surface over a ring picture: its scroll of the whole area is the ring's.
class RingImageSurface final : public ImageSurface {
public:
    explicit RingImageSurface(RingImage& image) : image_(image) {}
    int32_t Width() const override { return image_.Width(); }
    int32_t Height() const override { return image_.Height(); }
    void SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override;
    void SetGreysUpwards(int32_t x, int32_t bottom, const uint8_t* greys, int32_t count) override;
    void CopyRect(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX,
                  int32_t dstY) override;

private:
    RingImage& image_;
};

template <typename Draw>
void RingImage::ForEachPiece(const QRect& rect, Draw draw) const {
    bits_ = nullptr;  // draw may keep a copy of the storage
    const QRect wanted = rect & pixels_.rect();
    if (wanted.isEmpty()) return;
    const QRect ring = QRect(0, 0, ringWidth_, ringHeight_) & wanted;
    if (start_ == 0 || ring.isEmpty()) {
        draw(wanted.topLeft(), pixels_, wanted);
        return;
    }
    // Inside the ring: the columns up to the ring's end in storage, then those from its start.
    const int seam = ringWidth_ - start_;
    const QRect before = ring & QRect(0, ring.y(), seam, ring.height());
    const QRect after = ring & QRect(seam, ring.y(), ringWidth_ - seam, ring.height());
    if (!before.isEmpty()) draw(before.topLeft(), pixels_, before.translated(start_, 0));
    if (!after.isEmpty()) draw(after.topLeft(), pixels_, after.translated(-seam, 0));
    // Outside it the storage is the picture: the strip to the right, then the one below.
    const QRect right(ringWidth_, wanted.y(), wanted.right() + 1 - ringWidth_, ring.height());
    if (!right.isEmpty()) draw(right.topLeft(), pixels_, right);
    const QRect below(wanted.x(), ringHeight_, wanted.width(), wanted.bottom() + 1 - ringHeight_);
    if (!below.isEmpty()) draw(below.topLeft(), pixels_, below);
}

}  // namespace vireon
