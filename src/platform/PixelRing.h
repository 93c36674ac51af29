#pragma once
// The waterfall bitmap's pixels, 32 bits each (0xffRRGGBB), whose top-left area scrolls left as
// a ring: a one-pixel scroll of that whole area moves the column where the ring starts instead
// of every pixel. Outside the area (and whenever the ring starts at column 0) the storage is
// the picture itself. No toolkit: the storage belongs to whoever shows it (a QImage on Linux, a
// DIB section on Windows), and drawing the picture takes its pieces (ForEachPiece).
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/ImageSurface.h"

namespace vireon {

struct PixelRect {
    int32_t X = 0, Y = 0, Width = 0, Height = 0;
    bool Empty() const { return Width <= 0 || Height <= 0; }
    PixelRect Intersected(const PixelRect& o) const {
        const int32_t left = std::max(X, o.X), top = std::max(Y, o.Y);
        const int32_t right = std::min(X + Width, o.X + o.Width);
        const int32_t bottom = std::min(Y + Height, o.Y + o.Height);
        return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
    }
    bool operator==(const PixelRect&) const = default;
};

// Opaque grey of the given level.
constexpr uint32_t GreyPixel(uint8_t level) {
    return 0xff000000u | 0x010101u * level;
}

class PixelRing {
public:
    // Takes over width x height pixels at pixels, rows stride bytes apart, laid out plainly.
    // pixels may come later, by Rebase, but before anything is written.
    void Attach(uint32_t* pixels, std::ptrdiff_t stride, int32_t width, int32_t height);
    // The same pixels now live at another address (a copy the toolkit made): the ring stays.
    void Rebase(uint32_t* pixels, std::ptrdiff_t stride) {
        pixels_ = pixels;
        stride_ = stride;
    }

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool Rolled() const { return start_ != 0; }

    void SetPixel(int32_t x, int32_t y, uint32_t colour) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        if (x < ringWidth_ && y < ringHeight_) x = StorageX(x);
        Row(y)[x] = colour;
    }
    // Greys up column x from row bottom: greys[k] at (x, bottom - k). Rows the picture lacks
    // are skipped.
    void SetGreysUpwards(int32_t x, int32_t bottom, const uint8_t* greys, int32_t count);
    // Moves columns 1 .. width - 1 of the top width x height area one to the left; the last
    // column keeps what it had. The area must lie inside the picture.
    void ScrollLeft(int32_t width, int32_t height);
    // The renderer's block copy: its scroll of a whole top-left area is the ring's, any other
    // copy works on the plain layout (correct for overlapping rectangles, clipped).
    void CopyRect(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX, int32_t dstY);
    // Lays the storage out plainly again, so that it is the picture itself.
    void Unroll();
    // The same, and the ring ends: the storage may now be drawn on as a plain picture.
    void Flatten();

    // Goes up whenever pixels may have moved in the storage: a copy of the storage kept up to
    // date with what SetPixel, SetGreysUpwards and ScrollLeft wrote is then stale.
    std::uint64_t Generation() const { return generation_; }
    void Touch() { ++generation_; }

    // Calls draw(targetX, targetY, source) for each plain piece of the storage that makes up the
    // part rect of the picture: source in storage, drawn with its top-left at target.
    template <typename Draw>
    void ForEachPiece(const PixelRect& rect, Draw draw) const;

private:
    // Storage column of picture column x on the rows inside the ring.
    int32_t StorageX(int32_t x) const {
        return x + start_ < ringWidth_ ? x + start_ : x + start_ - ringWidth_;
    }
    uint32_t* Row(int32_t y) const {
        return reinterpret_cast<uint32_t*>(reinterpret_cast<std::byte*>(pixels_) + y * stride_);
    }

    uint32_t* pixels_ = nullptr;
    std::ptrdiff_t stride_ = 0;
    int32_t width_ = 0, height_ = 0;
    int32_t ringWidth_ = 0, ringHeight_ = 0;
    int32_t start_ = 0;  // storage column of the ring's first picture column
    std::uint64_t generation_ = 0;
};

// The renderer's surface over a ring.
class PixelRingSurface final : public ImageSurface {
public:
    explicit PixelRingSurface(PixelRing& ring) : ring_(ring) {}
    int32_t Width() const override { return ring_.Width(); }
    int32_t Height() const override { return ring_.Height(); }
    void SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override {
        ring_.SetPixel(x, y, 0xff000000u | uint32_t{r} << 16 | uint32_t{g} << 8 | b);
    }
    void SetGreysUpwards(int32_t x, int32_t bottom, const uint8_t* greys, int32_t count) override {
        ring_.SetGreysUpwards(x, bottom, greys, count);
    }
    void CopyRect(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX,
                  int32_t dstY) override {
        ring_.CopyRect(srcX, srcY, w, h, dstX, dstY);
    }

private:
    PixelRing& ring_;
};

template <typename Draw>
void PixelRing::ForEachPiece(const PixelRect& rect, Draw draw) const {
    const PixelRect wanted = rect.Intersected({0, 0, width_, height_});
    if (wanted.Empty()) return;
    const PixelRect ring = PixelRect{0, 0, ringWidth_, ringHeight_}.Intersected(wanted);
    if (start_ == 0 || ring.Empty()) {
        draw(wanted.X, wanted.Y, wanted);
        return;
    }
    // Inside the ring: the columns up to the ring's end in storage, then those from its start.
    const int32_t seam = ringWidth_ - start_;
    const PixelRect before = ring.Intersected({0, ring.Y, seam, ring.Height});
    const PixelRect after = ring.Intersected({seam, ring.Y, ringWidth_ - seam, ring.Height});
    if (!before.Empty())
        draw(before.X, before.Y,
             PixelRect{before.X + start_, before.Y, before.Width, before.Height});
    if (!after.Empty())
        draw(after.X, after.Y, PixelRect{after.X - seam, after.Y, after.Width, after.Height});
    // Outside it the storage is the picture: the strip to the right, then the one below.
    const PixelRect right{ringWidth_, wanted.Y, wanted.X + wanted.Width - ringWidth_, ring.Height};
    if (!right.Empty()) draw(right.X, right.Y, right);
    const PixelRect below{wanted.X, ringHeight_, wanted.Width,
                          wanted.Y + wanted.Height - ringHeight_};
    if (!below.Empty()) draw(below.X, below.Y, below);
}

}  // namespace vireon
