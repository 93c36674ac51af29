#pragma once
// Records every message box instead of showing it.
#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace vireon::testing {

struct ShownBox {
    std::string text;
    std::string caption;
    int32_t flags;
    bool operator==(const ShownBox&) const = default;
};

class FakeMessageBoxes final : public MessageBoxService {
public:
    void Show(const std::string& text, const std::string& caption, int32_t flags) override {
        shown.push_back({text, caption, flags});
    }
    std::vector<ShownBox> shown;
};

}  // namespace vireon::testing
