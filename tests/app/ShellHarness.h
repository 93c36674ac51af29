#pragma once
// Builds the window's logic over the fake window, with fresh state, a program folder of its own
// and every service faked; the fake device posts its notifications to the fake window.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "tests/app/FakeShell.h"
#include "tests/support/WindowServices.h"

namespace vireon::testing {

struct ShellHarness : WindowServices {
    explicit ShellHarness(Coefficients coefficients = Coefficients::Shipped);
    ~ShellHarness() { Close(); }

    // Builds the logic, which shows the window, loads and starts receiving.
    TFormMain& Open();
    // Destroys the logic, which stores the placement and saves the settings.
    void Close() { form.reset(); }
    // Delivers every posted device notification.
    void Settle() { shell.Settle(); }

    FakeShell shell;
    std::unique_ptr<TFormMain> form;
};

// What SetEnabled last gave the Receive menu's items: Start only while not receiving.
inline std::map<MenuCommand, bool> ReceiveMenus(bool receiving) {
    return {{MenuCommand::MenuStartReceive, !receiving}, {MenuCommand::MenuStopReceive, receiving}};
}

// The settings file with the given placement.
std::string SettingsText(int top, int left, int width, int height, const char* maximized);

// Unsigned 8-bit samples of a sine at the given frequency (8000 samples per second).
std::vector<std::uint8_t> Tone(double frequency, int samples, double amplitude = 100.0);

}  // namespace vireon::testing
