#pragma once
// Message boxes shown through Qt: modal, one OK button, icon chosen by the flags.
#include <string>
#include <utility>

#include "platform/MessageBox.h"

namespace vireon {

class QtMessageBox final : public MessageBoxService {
public:
    // A box without a caption gets untitledCaption in its title bar: X11 cannot show an empty
    // title, and window managers put the executable's name there instead.
    explicit QtMessageBox(std::string untitledCaption = {})
        : untitledCaption_(std::move(untitledCaption)) {}
    void Show(const std::string& text, const std::string& caption, int32_t flags) override;

private:
    std::string untitledCaption_;
};

}  // namespace vireon
