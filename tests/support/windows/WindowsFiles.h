#pragma once
// Windows' own file attributes, and a folder this user may not make files in, for the tests of
// what the file services do on Windows.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/windows/WideText.h"

namespace vireon::testing {

inline DWORD AttributesOf(const std::string& path) {
    return ::GetFileAttributesW(Widen(path).c_str());
}

inline void SetAttributes(const std::string& path, DWORD attributes) {
    ::SetFileAttributesW(Widen(path).c_str(), attributes);
}

// A folder that takes no new file and holds a writable okaven.ini, as an administrator's folder
// in Program Files is to a standard user (tests/support/windows/with-locked-folder makes one);
// empty when the test runs without one.
inline std::string LockedFolder() {
    const char* folder = std::getenv("VIREON_LOCKED_FOLDER");
    return folder ? folder : "";
}

}  // namespace vireon::testing
