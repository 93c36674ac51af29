#pragma once
// ImageHz on Windows: a child window that shows the waterfall bitmap unscaled from its top-left
// corner, one bitmap pixel per screen pixel. The bitmap is a 32-bit top-down DIB section whose
// pixels the renderer writes through a PixelRing; the window shows the ring's pieces.
#include <cstdint>

#include "app/MainWindowShell.h"
#include "platform/PixelRing.h"
#include "platform/windows/WindowsApi.h"

namespace vireon {

class WaterfallImage final : public WaterfallPicture {
public:
    WaterfallImage() = default;
    ~WaterfallImage();
    WaterfallImage(const WaterfallImage&) = delete;
    WaterfallImage& operator=(const WaterfallImage&) = delete;

    // Makes the control's window, a visible child of parent; throws when Windows will not.
    void Create(HINSTANCE instance, HWND parent);
    HWND Handle() const { return window_; }

    ImageSurface& Surface() override { return surface_; }
    // The window's client size, in screen pixels.
    PictureSize Size() const override;
    void ResizeBitmap(int32_t width, int32_t height) override;
    // Scrolls what the window shows one pixel left and paints the two new columns, at once.
    void ShowScrolledColumn(PictureSize size) override;

    // The bitmap as it is: its size, and the picture's pixel (0xRRGGBB) at x, y inside it.
    PictureSize BitmapSize() const { return {ring_.Width(), ring_.Height()}; }
    uint32_t PixelAt(int32_t x, int32_t y) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Draws the part area of the control: the bitmap's pieces, and white beyond the bitmap.
    void Paint(HDC dc, const RECT& area) const;
    const uint32_t* Row(int32_t y) const {
        return pixels_ + static_cast<std::ptrdiff_t>(y) * ring_.Width();
    }

    HWND window_ = nullptr;
    HDC memory_ = nullptr;  // holds the bitmap, for BitBlt
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ memoryDefault_ = nullptr;
    uint32_t* pixels_ = nullptr;  // the bitmap's storage, rows Width() pixels apart
    PixelRing ring_;
    PixelRingSurface surface_{ring_};
};

}  // namespace vireon
