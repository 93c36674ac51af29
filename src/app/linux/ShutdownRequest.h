#pragma once
// Ending the program when the system asks for it (SIGTERM, SIGINT) as the Exit command would,
// at whatever point the request comes: the main window closes once it exists, a message box
// waiting for OK is closed, and no further box waits for a user who is not coming back (its text
// goes to standard error instead).
#include <string>

#include "platform/MessageBox.h"

namespace vireon {

class QtMainWindow;

class ShutdownRequest final : public MessageBoxService {
public:
    explicit ShutdownRequest(MessageBoxService& boxes) : boxes_(boxes) {}

    // Message boxes, shown until an end has been requested.
    void Show(const std::string& text, const std::string& caption, int32_t flags) override;

    // The system asks the program to end.
    void Request();
    bool Requested() const { return requested_; }

    // Runs the event loop for the built main window, unless an end was requested during the
    // start-up, in which case the window is closed at once.
    void RunEventLoop(QtMainWindow& window);

private:
    MessageBoxService& boxes_;
    bool requested_ = false;
    QtMainWindow* window_ = nullptr;
};

}  // namespace vireon
