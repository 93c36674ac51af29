#pragma once
// The system's own words for an error number, for messages.
#include <string>

namespace vireon {

// errno's strerror() text on Linux; on Windows the text of a GetLastError() code, as UTF-8
// without the closing full stop.
std::string SystemErrorText(int error);

}  // namespace vireon
