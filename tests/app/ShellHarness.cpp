#include "tests/app/ShellHarness.h"

#include <cmath>
#include <numbers>

namespace vireon::testing {

ShellHarness::ShellHarness(Coefficients coefficients) : WindowServices(coefficients) {
    audio.poster = [](NotificationTarget target, const WaveInMessage& message) {
        static_cast<FakeShell*>(target)->Post(message);  // Target() is the shell itself
    };
}

TFormMain& ShellHarness::Open() {
    form = std::make_unique<TFormMain>(*state, Services(), shell, folder.Path());
    return *form;
}

std::string SettingsText(int top, int left, int width, int height, const char* maximized) {
    return "BlockLenMultipler=1\r\nWindowTop=" + std::to_string(top) +
           "\r\nWindowLeft=" + std::to_string(left) + "\r\nWindowWidth=" + std::to_string(width) +
           "\r\nWindowHeight=" + std::to_string(height) + "\r\nWindowMaximized=" + maximized +
           "\r\n";
}

std::vector<std::uint8_t> Tone(double frequency, int samples, double amplitude) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(samples));
    const double step = 2.0 * std::numbers::pi * frequency / 8000.0;
    for (int i = 0; i < samples; ++i)
        bytes[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(std::lround(128.0 + amplitude * std::sin(step * i)));
    return bytes;
}

}  // namespace vireon::testing
