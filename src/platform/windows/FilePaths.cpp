#include "platform/FilePaths.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace vireon {

std::string_view PathSeparators() {
    return "\\/";
}

bool SameFileName(std::string_view a, std::string_view b) {
    const std::wstring wideA = Widen(a), wideB = Widen(b);
    return ::CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                  static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

std::string ProgramDirectory() {
    // The path may be longer than MAX_PATH: grow until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), size);
        if (length == 0) return {};
        if (length < size) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return {};
    return Narrow(path.substr(0, separator + 1));
}

}  // namespace vireon
