#include "app/windows/Win32UrlOpener.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/windows/WideText.h"

namespace vireon {

void Win32UrlOpener::Open(const std::string& url) {
    ::ShellExecuteW(nullptr, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vireon
