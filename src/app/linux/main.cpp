// The program entry: program-wide state, the application object, the windows, the loop.
#include <QFile>
#include <QIcon>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/AppText.h"
#include "app/ErrorReport.h"
#include "app/ProgramState.h"
#include "app/StartUp.h"
#include "app/linux/QtMainWindow.h"
#include "app/linux/QtUrlOpener.h"
#include "app/linux/ShutdownRequest.h"
#include "app/linux/TerminationSignals.h"
#include "app/linux/VireonApplication.h"
#include "platform/linux/QtMessageBox.h"
#include "platform/linux/QtProgramLauncher.h"
#include "platform/linux/audio/PulseAudioInput.h"
#include "settings/FileLocations.h"

namespace {

// The one instance of everything the program keeps for the whole run. Static storage: zero
// until InitialiseProgramState, and destroyed only after the main window has saved the settings.
vireon::ProgramState Program;

constexpr const char* HelpText =
    "Usage: vireon [--help | --version]\n"
    "Live audio-spectrum waterfall of the sound card's recording input around 1500 Hz, for\n"
    "radio amateurs: newest column at the right, 167 Hz at the bottom to 2823 Hz at the top.\n"
    "Started without arguments, it opens its window.\n"
    "\n"
    "Options:\n"
    "  --help     display this help and exit\n"
    "  --version  output version information and exit\n"
    "\n"
    "Files:\n"
    "The low-pass coefficients come from $XDG_CONFIG_HOME/vireon/fir1.txt (~/.config/vireon/)\n"
    "if the user has one, else from fir1.txt beside the program. The settings are kept in\n"
    "okaven.ini beside the program, or in $XDG_CONFIG_HOME/vireon/ when that folder cannot be\n"
    "written.\n";

// Answers for the manual page and the shell, without opening a display.
bool AnswerInformationRequest(int argc, char** argv, int& status) {
    if (argc != 2) return false;
    if (std::strcmp(argv[1], "--help") == 0)
        std::fputs(HelpText, stdout);
    else if (std::strcmp(argv[1], "--version") == 0)
        std::printf("vireon %s\n", VIREON_VERSION);
    else
        return false;
    status = std::fflush(stdout) == 0 ? 0 : 1;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vireon;
    if (int status = 0; AnswerInformationRequest(argc, argv, status)) return status;
    InitialiseProgramState(Program);

    // The window wakes some thirty times a second for as long as it runs, so each wake-up should
    // cost little: Qt's own event dispatcher rather than GLib's, and the few changed pixels sent
    // to the X server with the request rather than through shared memory, which takes a round
    // trip per update. A user's own setting of either wins.
    const bool setNoGlib = !qEnvironmentVariableIsSet("QT_NO_GLIB");
    const bool setNoMitShm = !qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM");
    if (setNoGlib) qputenv("QT_NO_GLIB", "1");
    if (setNoMitShm) qputenv("QT_XCB_NO_MITSHM", "1");
    const std::string userFolder =
        UserConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));

    QtMessageBox shownBoxes(UntitledBoxCaption);
    // SIGTERM and SIGINT end the program as the Exit command does, settings saved, also when
    // they come during the start-up or while a message box waits.
    ShutdownRequest boxes(shownBoxes);
    ErrorReport report(boxes, ApplicationTitle);
    VireonApplication app(argc, argv, report);
    // Qt has read both by now (the GUI thread's dispatcher and the X connection are made), and
    // the programs the window starts, the volume control and the browser, get the environment
    // the program was started with.
    if (setNoGlib) qunsetenv("QT_NO_GLIB");
    if (setNoMitShm) qunsetenv("QT_XCB_NO_MITSHM");
    QGuiApplication::setDesktopFileName(QStringLiteral("vireon"));
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/vireon.png")));
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::Received, &app,
                     [&boxes] { boxes.Request(); });

    QtProgramLauncher launcher;
    QtUrlOpener browser;
    PulseAudioInput audio;
    // A sound server that stops answering holds a call up to its deadline; SIGTERM or SIGINT
    // ends the wait at once.
    audio.StopWaitingWhenReadable(termination.PendingFd());
    QtMainWindow window;
    return RunProgram(
        Program, {boxes, launcher, browser, audio, report}, window,
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/",
        [&](TFormMain&) { boxes.RunEventLoop(window); }, userFolder);
}
