#include "platform/TextFile.h"

#include <algorithm>
#include <cstring>

#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/TextContent.h"

namespace vireon {

namespace {

// How many lines SplitLines makes of text that holds no NUL.
std::size_t CountLines(std::string_view text) {
    std::size_t ends = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++ends;
    const bool unterminated = !text.empty() && text.back() != '\n' && text.back() != '\r';
    return ends + (unterminated ? 1 : 0);
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
    if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    // Counted first so a file of millions of short lines takes one allocation, not a doubling
    // series that briefly needs half as much again.
    std::vector<std::string> lines;
    lines.reserve(CountLines(text));
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

void TextContent::Expect(std::uint64_t size) {
    if (size > 0)
        text_.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(size, MaxTextFileBytes)));
}

bool TextContent::Append(const char* data, std::size_t size) {
    const char* nul = static_cast<const char*>(std::memchr(data, '\0', size));
    const std::size_t taken = nul ? static_cast<std::size_t>(nul - data) : size;
    // A FIFO with a busy writer, or a file something keeps appending to, has no end.
    if (text_.size() + taken > MaxTextFileBytes) throw FileOpenError(path_);
    text_.append(data, taken);
    return nul == nullptr;  // the text ends at the NUL; nothing after it matters
}

std::vector<std::string> TextContent::Lines() const {
    // Every line costs a string's worth of memory however short it is; a text of nothing but
    // line ends would take many times its size.
    if (CountLines(text_) > MaxTextFileLines) throw FileOpenError(path_);
    return SplitLines(text_);
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    try {
        AtomicFile file(path, AtomicFile::InPlace::Allow);
        for (const auto& line : lines) {
            file.Write(line.data(), line.size());
            file.Write("\r\n", 2);
        }
        file.Commit();
        // A minute is far longer than any save takes, so a younger leftover may be another
        // running instance's save.
        file.RemoveLeftovers(std::chrono::minutes(1));
    } catch (const AtomicFileError& e) {
        if (e.GetKind() == AtomicFileError::Kind::Write) throw WriteError();
        throw FileCreateError(path);
    }
}

}  // namespace vireon
