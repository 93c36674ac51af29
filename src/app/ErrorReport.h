#pragma once
// The application's error report: an error box whose caption is the application title.
// Shown for anything that escapes a handler, after which the program goes on.
#include <string>
#include <string_view>
#include <utility>

#include "platform/MessageBox.h"

namespace vireon {

class ErrorReport {
public:
    ErrorReport(MessageBoxService& boxes, std::string title)
        : boxes_(boxes), title_(std::move(title)) {}

    void Show(std::string_view message);

    // Shows the exception being handled. Call it only from inside a catch block.
    void ShowCurrentException();

    // Runs a handler; whatever it throws is reported and goes no further.
    template <class Handler>
    void Guard(Handler&& handler) {
        try {
            std::forward<Handler>(handler)();
        } catch (...) {
            ShowCurrentException();
        }
    }

private:
    MessageBoxService& boxes_;
    std::string title_;
};

// The message of the exception being handled; a fixed text for one that carries none.
std::string CurrentExceptionMessage();

}  // namespace vireon
