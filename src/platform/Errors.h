#pragma once
// The errors the file, list and number services raise. Each carries its fixed message with the
// placeholder already filled in; nothing in the program's own code catches them except the
// error report at the top of the event loop and at start-up.
#include <stdexcept>
#include <string>
#include <string_view>

namespace vireon {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FileOpenError : public Error {  // "Cannot open file %s"
public:
    explicit FileOpenError(const std::string& path);
};

class FileCreateError : public Error {  // "Cannot create file %s"
public:
    explicit FileCreateError(const std::string& path);
};

class WriteError : public Error {  // "Stream write error"
public:
    WriteError();
};

class ConvertError : public Error {  // "'%s' is not a valid ... value"
public:
    using Error::Error;
};

class ListIndexError : public Error {  // "List index out of bounds (%d)"
public:
    explicit ListIndexError(long long index);
};

// Replaces the first "%s" or "%d" of a fixed message with the argument.
std::string FormatMessage(std::string_view pattern, std::string_view argument);

// The text the error report shows: the message, with "." appended when its last
// character's code is above that of ".".
std::string ErrorReportText(std::string_view message);

}  // namespace vireon
