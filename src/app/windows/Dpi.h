#pragma once
// Screen pixels per inch and the frame around a client area, per monitor where Windows knows
// them (Windows 10 1607 and later) and for the whole screen before.
#include "platform/windows/WindowsApi.h"

namespace vireon {

// 96 on a screen at 100 %.
inline constexpr UINT DesignDpi = 96;

UINT WindowDpi(HWND window);
// Grows client (screen pixels) by the frame, caption and menu bar a window of these styles has
// at the given DPI.
void AddFrame(RECT& client, DWORD style, bool menu, DWORD exStyle, UINT dpi);
// A length laid out at 96 pixels per inch, in pixels at dpi.
inline int Scaled(int designPixels, UINT dpi) {
    return ::MulDiv(designPixels, static_cast<int>(dpi), static_cast<int>(DesignDpi));
}

}  // namespace vireon
