#pragma once
// Raw file bytes for the file tests, beside the shared scratch directory; the POSIX modes and
// child processes are in linux/PosixFiles.h.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace vireon::testing {

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A big list of lines, far past any small file-size limit.
inline std::vector<std::string> ManyLines(std::size_t count) {
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back("Key" + std::to_string(i) + "=" + std::string(40, 'v'));
    return lines;
}

}  // namespace vireon::testing
