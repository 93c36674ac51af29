#pragma once
// The names of the atomic writer's temporary files: the target's name, ".", six random letters
// and digits, then ".tmp", a name no one gives a file of their own, so that leftovers of saves
// that were cut short can be told apart and removed.
#include <cstddef>
#include <string_view>

namespace vireon {

inline constexpr std::string_view TempSuffix = ".tmp";
inline constexpr std::size_t TempRandomLength = 6;

inline bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// name is a temporary file of the file named base (both without their folder).
inline bool IsTemporaryOf(std::string_view name, std::string_view base) {
    if (name.size() != base.size() + 1 + TempRandomLength + TempSuffix.size()) return false;
    if (!name.starts_with(base) || name[base.size()] != '.' || !name.ends_with(TempSuffix))
        return false;
    for (std::size_t i = 0; i < TempRandomLength; ++i)
        if (!IsAsciiAlnum(name[base.size() + 1 + i])) return false;
    return true;
}

}  // namespace vireon
