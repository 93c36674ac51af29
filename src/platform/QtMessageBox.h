#pragma once
// Message boxes shown through Qt: modal, one OK button, icon chosen by the flags.
#include "platform/MessageBox.h"

namespace vireon {

class QtMessageBox final : public MessageBoxService {
public:
    void Show(const std::string& text, const std::string& caption, int32_t flags) override;
};

}  // namespace vireon
