#include "app/StartUp.h"

namespace vireon {

int RunProgram(ProgramState& state, const MainWindowServices& services, MainWindowShell& shell,
               const std::string& programDirectory, const std::function<void(TFormMain&)>& runLoop,
               const std::string& userFolder) {
    try {
        TFormMain formMain(state, services, shell, programDirectory, userFolder);
        shell.MakeAboutDialog();
        runLoop(formMain);
        // The main window's destruction saves.
    } catch (...) {
        services.Report.ShowCurrentException();
    }
    return 0;
}

}  // namespace vireon
