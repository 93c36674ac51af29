#pragma once
// The two ways vireon-render fails: a wrong command line (exit 2) and everything else (exit 1).
// Each message already names the file it is about.
#include <stdexcept>

namespace vireon::render {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class RenderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vireon::render
