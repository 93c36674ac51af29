#pragma once
// The program from its main window's construction to its destruction, with the event loop
// supplied by the caller (the platform's own loop in the program, a scripted one in tests).
#include <functional>
#include <string>

#include "app/MainWindow.h"
#include "app/ProgramState.h"

namespace vireon {

// Builds the main window's logic over the platform's window (shell, built but not yet shown),
// then the hidden About dialog, runs the loop, and lets the window go (it stores its placement
// and saves the settings). An error escaping the start-up or the loop is shown by the error
// report, without entering the loop if it came first. The program's exit code: always 0.
// userFolder is the user's configuration folder (see TFormMain).
int RunProgram(ProgramState& state, const MainWindowServices& services, MainWindowShell& shell,
               const std::string& programDirectory, const std::function<void(TFormMain&)>& runLoop,
               const std::string& userFolder = {});

}  // namespace vireon
