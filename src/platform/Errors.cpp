#include "platform/Errors.h"

namespace vireon {

std::string FormatMessage(std::string_view pattern, std::string_view argument) {
    std::string out(pattern);
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        if (out[i] == '%' && (out[i + 1] == 's' || out[i + 1] == 'd')) {
            out.replace(i, 2, argument);
            break;
        }
    }
    return out;
}

std::string ErrorReportText(std::string_view message) {
    std::string out(message);
    // Compared as unsigned bytes: a message ending in a non-ASCII letter also gets its full stop.
    if (!out.empty() && static_cast<unsigned char>(out.back()) > static_cast<unsigned char>('.'))
        out += '.';
    return out;
}

FileOpenError::FileOpenError(const std::string& path)
    : Error(FormatMessage("Cannot open file %s", path)) {}

FileCreateError::FileCreateError(const std::string& path)
    : Error(FormatMessage("Cannot create file %s", path)) {}

WriteError::WriteError() : Error("Stream write error") {}

ListIndexError::ListIndexError(long long index)
    : Error(FormatMessage("List index out of bounds (%d)", std::to_string(index))) {}

}  // namespace vireon
