#pragma once
// Opens a web address (or a file: URL) with whatever Windows opens it with (ShellExecuteW).
#include "app/UrlOpener.h"

namespace vireon {

class Win32UrlOpener final : public UrlOpener {
public:
    void Open(const std::string& url) override;
};

}  // namespace vireon
