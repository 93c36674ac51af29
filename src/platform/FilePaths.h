#pragma once
// How this system writes paths, and where the running program is.
#include <string>
#include <string_view>

namespace vireon {

// The characters that end a folder's name in a path: "/" on Linux; "\" and "/" on Windows.
std::string_view PathSeparators();

// Where the last part of the path, the file's own name, starts (0 when it has no folder).
inline std::size_t FileNameStart(std::string_view path) {
    return path.find_last_of(PathSeparators()) + 1;  // npos + 1 == 0
}

// The two paths are written the same as far as this system's file names go: byte for byte on
// Linux, regardless of letter case on Windows (whose names are case-insensitive).
bool SameFileName(std::string_view a, std::string_view b);

// The folder of the running program's file, ending in a separator; empty when it cannot be
// found. UTF-8 on every system.
std::string ProgramDirectory();

}  // namespace vireon
