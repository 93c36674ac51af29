#pragma once
// What the window tests share: a harness that builds a TFormMain over the Qt window, with fresh
// state, a program folder of its own and every service faked.
#include <memory>

#include "app/MainWindow.h"
#include "app/linux/QtMainWindow.h"
#include "tests/support/WindowServices.h"

namespace vireon::testing {

// The boxes the application object's error report shows (set up by the test main).
FakeMessageBoxes& ApplicationBoxes();

struct WindowHarness : WindowServices {
    explicit WindowHarness(Coefficients coefficients = Coefficients::Shipped);
    ~WindowHarness();

    // Builds the window and its logic (which shows it, loads and starts receiving).
    QtMainWindow& Open();
    // Destroys the window's logic, which stores the placement and saves the settings, then the
    // window.
    void Close();

    // Delivers every posted event, device notifications included.
    static void Settle();

    std::unique_ptr<QtMainWindow> window;
    std::unique_ptr<TFormMain> form;
};

}  // namespace vireon::testing
