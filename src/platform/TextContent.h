#pragma once
// What ReadLines keeps of a file while reading it, on any system: the bytes before the first
// NUL, within the size limits of TextFile.h.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vireon {

class TextContent {
public:
    // path names the file in the errors.
    explicit TextContent(const std::string& path) : path_(path) {}

    // The size the file claims, as a hint only (a sparse file may claim far more than it holds
    // before a NUL).
    void Expect(std::uint64_t size);
    // Takes the next bytes read; false once a NUL has ended the text, so nothing more is
    // needed. Throws FileOpenError when the text grows past MaxTextFileBytes.
    bool Append(const char* data, std::size_t size);
    // The text as lines. Throws FileOpenError when they would be more than MaxTextFileLines.
    std::vector<std::string> Lines() const;

private:
    const std::string& path_;
    std::string text_;
};

}  // namespace vireon
