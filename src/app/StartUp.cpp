#include "app/StartUp.h"

#include "app/About.h"

namespace vireon {

int RunProgram(ProgramState& state, const MainWindowServices& services,
               const std::string& programDirectory, const std::function<void(TFormMain&)>& runLoop,
               const std::string& userFolder) {
    try {
        TFormMain formMain(state, services, programDirectory, userFolder);
        TFormAbout formAbout(&formMain);
        formMain.SetAboutDialog(&formAbout);
        runLoop(formMain);
        // The About dialog goes first, then the main window, whose destruction saves.
    } catch (...) {
        services.Report.ShowCurrentException();
    }
    return 0;
}

}  // namespace vireon
