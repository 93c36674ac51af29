#include "app/linux/ShutdownRequest.h"

#include <QApplication>
#include <cstdio>

#include "app/linux/QtMainWindow.h"

namespace vireon {

void ShutdownRequest::Show(const std::string& text, const std::string& caption, int32_t flags) {
    if (!requested_) {
        boxes_.Show(text, caption, flags);
        return;
    }
    std::fprintf(stderr, "vireon: %s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ",
                 text.c_str());
}

void ShutdownRequest::Request() {
    requested_ = true;
    // Boxes and dialogs waiting for OK: each returns from its own loop as if answered.
    for (int i = 0; i < 100; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) break;
        modal->close();
    }
    if (window_ != nullptr) window_->close();
}

void ShutdownRequest::RunEventLoop(QtMainWindow& window) {
    if (requested_) {
        window.close();
        return;
    }
    window_ = &window;
    QApplication::exec();
    window_ = nullptr;
}

}  // namespace vireon
