#pragma once
// Message boxes through MessageBoxW: one OK button, the icon the flags ask for, the caption as
// given (a capture warning has none). Owned by the main window once there is one, so that the
// rest of the program waits while a box is up; task-modal before.
#include "platform/MessageBox.h"
#include "platform/windows/WindowsApi.h"

namespace vireon {

class Win32MessageBox final : public MessageBoxService {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void Show(const std::string& text, const std::string& caption, int32_t flags) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace vireon
