#pragma once
// Modal message boxes with one OK button. The program never looks at the button pressed.
#include <cstdint>
#include <string>

namespace vireon {

enum MessageBoxFlags : int32_t {
    MB_ICONERROR = 16,
    MB_ICONEXCLAMATION = 48,
};

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual void Show(const std::string& text, const std::string& caption, int32_t flags) = 0;
};

}  // namespace vireon
