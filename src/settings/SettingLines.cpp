#include "settings/SettingLines.h"

#include "platform/AsciiText.h"

namespace vireon {

std::size_t FindKeyLine(const std::vector<std::string>& lines, std::string_view key) {
    // The text before a line's first "=" never holds "=", so such a key matches no line.
    if (key.find('=') != std::string_view::npos) return NoLine;
    const std::size_t n = key.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        // Equal to the key means the first "=" sits right after it.
        if (line.size() > n && line[n] == '=' &&
            EqualsIgnoringAsciiCase(std::string_view(line).substr(0, n), key))
            return i;
    }
    return NoLine;
}

std::string ReadValue(const std::vector<std::string>& lines, std::string_view key) {
    const std::size_t at = FindKeyLine(lines, key);
    if (at == NoLine) return {};
    return lines[at].substr(key.size() + 1);
}

void WriteValue(std::vector<std::string>& lines, std::string_view key, std::string_view text) {
    std::size_t at = FindKeyLine(lines, key);
    if (text.empty()) {
        if (at != NoLine) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
        return;
    }
    if (at == NoLine) {
        at = lines.size();
        lines.emplace_back();
    }
    std::string& line = lines[at];
    line.assign(key);
    line += '=';
    line += text;
}

}  // namespace vireon
