#pragma once
// Opens a web address with the desktop's default browser (QDesktopServices).
#include "app/UrlOpener.h"

namespace vireon {

class QtUrlOpener final : public UrlOpener {
public:
    void Open(const std::string& url) override;
};

}  // namespace vireon
