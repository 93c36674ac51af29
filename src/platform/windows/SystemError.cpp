#include "platform/SystemError.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace vireon {

std::string SystemErrorText(int error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", length);
    ::LocalFree(text);
    // Worded as strerror words it: no line end, no full stop.
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    if (message.empty()) return "system error " + std::to_string(static_cast<unsigned>(error));
    return Narrow(message);
}

}  // namespace vireon
