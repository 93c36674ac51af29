#include "app/windows/Dpi.h"

namespace vireon {
namespace {

// A function of user32 that older Windows lack: looked up, so that the program still starts
// there.
template <typename Function>
Function User32Function(const char* name) {
    const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

}  // namespace

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    }
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : DesignDpi;
}

void AddFrame(RECT& client, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustFunction>("AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr || !adjustForDpi(&client, style, menu, exStyle, dpi))
        ::AdjustWindowRectEx(&client, style, menu, exStyle);
}

}  // namespace vireon
