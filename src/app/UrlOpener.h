#pragma once
// Opens a web address in the desktop's browser. The outcome is never examined.
#include <string>

namespace vireon {

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void Open(const std::string& url) = 0;
};

}  // namespace vireon
