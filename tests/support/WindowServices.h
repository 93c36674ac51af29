#pragma once
// Fresh program state over a program folder of its own, with every service the main window
// works through faked: what the window harnesses (tests/app over a fake window, tests/gui over
// the Qt one) build on. VIREON_FIR_FILE names the shipped coefficient file.
#include <fstream>
#include <memory>
#include <sstream>

#include "app/AppText.h"
#include "app/ErrorReport.h"
#include "app/MainWindow.h"
#include "app/ProgramState.h"
#include "tests/support/FakeAudioInput.h"
#include "tests/support/FakeLaunchServices.h"
#include "tests/support/FakeMessageBoxes.h"
#include "tests/support/ProgramFolder.h"

namespace vireon::testing {

enum class Coefficients { Shipped, Missing };

struct WindowServices {
    explicit WindowServices(Coefficients coefficients = Coefficients::Shipped) {
        InitialiseProgramState(*state);
        if (coefficients == Coefficients::Shipped) {
            std::ifstream shipped(VIREON_FIR_FILE, std::ios::binary);
            std::ostringstream text;
            text << shipped.rdbuf();
            folder.Write(CoefficientFileName, text.str());
        }
    }

    MainWindowServices Services() { return {boxes, launcher, browser, audio, report}; }
    // The device the window opened last.
    AudioHandle Device() const { return audio.lastOpened; }

    ProgramFolder folder;
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    FakeMessageBoxes boxes;
    FakeLauncher launcher;
    FakeUrlOpener browser;
    FakeAudioInput audio;
    ErrorReport report{boxes, ApplicationTitle};
};

}  // namespace vireon::testing
