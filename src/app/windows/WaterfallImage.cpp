#include "app/windows/WaterfallImage.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/SystemError.h"

namespace vireon {
namespace {

constexpr const wchar_t* ClassName = L"TImage";
constexpr uint32_t White = 0xffffffffu;

}  // namespace

WaterfallImage::~WaterfallImage() {
    if (memory_ != nullptr) {
        ::SelectObject(memory_, memoryDefault_);
        ::DeleteDC(memory_);
    }
    if (bitmap_ != nullptr) ::DeleteObject(bitmap_);
}

void WaterfallImage::Create(HINSTANCE instance, HWND parent) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = ClassName;  // no background: the paint covers everything
    ::RegisterClassExW(&windowClass);       // fails harmlessly for a second window
    memory_ = ::CreateCompatibleDC(nullptr);
    if (memory_ != nullptr) memoryDefault_ = ::GetCurrentObject(memory_, OBJ_BITMAP);
    window_ = ::CreateWindowExW(0, ClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                                nullptr, instance, this);
    if (window_ == nullptr || memory_ == nullptr)
        throw std::runtime_error("Cannot create the waterfall image: " +
                                 SystemErrorText(static_cast<int>(::GetLastError())));
}

PictureSize WaterfallImage::Size() const {
    RECT client{};
    ::GetClientRect(window_, &client);
    return {client.right, client.bottom};
}

uint32_t WaterfallImage::PixelAt(int32_t x, int32_t y) const {
    uint32_t pixel = White;
    ring_.ForEachPiece({x, y, 1, 1}, [&](int32_t, int32_t, const PixelRect& source) {
        pixel = Row(source.Y)[source.X];
    });
    return pixel & 0xffffffu;
}

void WaterfallImage::ResizeBitmap(int32_t width, int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (bitmap_ != nullptr && width == ring_.Width() && height == ring_.Height()) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first, as the ring lays rows out
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP made = width > 0 && height > 0
                       ? ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)
                       : nullptr;
    auto* pixels = static_cast<uint32_t*>(bits);
    if (made != nullptr) {
        // New area white; the picture's pixels kept from the top-left corner, taken piece by
        // piece from the old ring.
        std::fill_n(pixels, static_cast<std::size_t>(width) * height, White);
        const PixelRect kept{0, 0, std::min(width, ring_.Width()),
                             std::min(height, ring_.Height())};
        ring_.ForEachPiece(kept, [&](int32_t x, int32_t y, const PixelRect& source) {
            for (int32_t row = 0; row < source.Height; ++row)
                std::memcpy(pixels + static_cast<std::ptrdiff_t>(y + row) * width + x,
                            Row(source.Y + row) + source.X, source.Width * sizeof(uint32_t));
        });
        ::SelectObject(memory_, made);
    } else {
        // Too large to allocate (or empty): shown white, drawn nowhere.
        ::SelectObject(memory_, memoryDefault_);
        width = height = 0;
        pixels = nullptr;
    }
    if (bitmap_ != nullptr) ::DeleteObject(bitmap_);
    bitmap_ = made;
    pixels_ = pixels;
    ring_.Attach(pixels, static_cast<std::ptrdiff_t>(width) * sizeof(uint32_t), width, height);
}

void WaterfallImage::ShowScrolledColumn(PictureSize size) {
    // What is on screen moves with the ring (pending repaints along with it), so only the two
    // new columns are drawn. The column the scroll uncovers is asked for, not invalidated: asked
    // for nothing, Wine invalidates the whole window.
    RECT uncovered;
    ::ScrollWindowEx(window_, -1, 0, nullptr, nullptr, nullptr, &uncovered, 0);
    const RECT fresh{size.Width - 2, 0, size.Width, size.Height};
    ::InvalidateRect(window_, &fresh, FALSE);
    ::UpdateWindow(window_);
}

void WaterfallImage::Paint(HDC dc, const RECT& area) const {
    const PixelRect wanted{area.left, area.top, area.right - area.left, area.bottom - area.top};
    ring_.ForEachPiece(wanted, [&](int32_t x, int32_t y, const PixelRect& source) {
        ::BitBlt(dc, x, y, source.Width, source.Height, memory_, source.X, source.Y, SRCCOPY);
    });
    // Beyond the bitmap: the strip to its right, then the one below it.
    const auto white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    const RECT right{std::max<LONG>(area.left, ring_.Width()), area.top, area.right, area.bottom};
    if (right.left < right.right) ::FillRect(dc, &right, white);
    const RECT below{area.left, std::max<LONG>(area.top, ring_.Height()),
                     std::min<LONG>(area.right, ring_.Width()), area.bottom};
    if (below.left < below.right && below.top < below.bottom) ::FillRect(dc, &below, white);
}

LRESULT CALLBACK WaterfallImage::Procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    const auto* self =
        reinterpret_cast<const WaterfallImage*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the paint covers every pixel
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = ::BeginPaint(window, &paint);
            if (self != nullptr) self->Paint(dc, paint.rcPaint);
            ::EndPaint(window, &paint);
            return 0;
        }
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace vireon
