#pragma once
// Finding, reading and rewriting the Key=Value line of one key among the lines of the file.
// Every other line is left exactly as it is, in its place.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vireon {

constexpr std::size_t NoLine = static_cast<std::size_t>(-1);

// Index of the first line whose text before its first "=" equals the key, ignoring ASCII
// letter case; NoLine when there is none. Nothing is trimmed.
std::size_t FindKeyLine(const std::vector<std::string>& lines, std::string_view key);

// The text after the first "=" of the key's line, or the empty text when the key has none.
std::string ReadValue(const std::vector<std::string>& lines, std::string_view key);

// A non-empty text replaces the key's line (appended when missing) by key "=" text, with the
// key as given; an empty text deletes the key's line.
void WriteValue(std::vector<std::string>& lines, std::string_view key, std::string_view text);

}  // namespace vireon
