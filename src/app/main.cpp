// The program entry: program-wide state, the application object, the windows, the loop.
#include <QFile>
#include <QIcon>
#include <QtGlobal>

#include "app/AppText.h"
#include "app/ErrorReport.h"
#include "app/ProgramState.h"
#include "app/QtUrlOpener.h"
#include "app/ShutdownRequest.h"
#include "app/StartUp.h"
#include "app/TerminationSignals.h"
#include "app/VireonApplication.h"
#include "platform/QtMessageBox.h"
#include "platform/QtProgramLauncher.h"
#include "platform/audio/PulseAudioInput.h"

namespace {

// The one instance of everything the program keeps for the whole run. Static storage: zero
// until InitialiseProgramState, and destroyed only after the main window has saved the settings.
vireon::ProgramState Program;

}  // namespace

int main(int argc, char** argv) {
    using namespace vireon;
    InitialiseProgramState(Program);

    // The window wakes some thirty times a second for as long as it runs, so each wake-up should
    // cost little: Qt's own event dispatcher rather than GLib's, and the few changed pixels sent
    // to the X server with the request rather than through shared memory, which takes a round
    // trip per update. A user's own setting of either wins.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");

    QtMessageBox shownBoxes;
    // SIGTERM and SIGINT end the program as the Exit command does, settings saved, also when
    // they come during the start-up or while a message box waits.
    ShutdownRequest boxes(shownBoxes);
    ErrorReport report(boxes, ApplicationTitle);
    VireonApplication app(argc, argv, report);
    QGuiApplication::setDesktopFileName(QStringLiteral("vireon"));
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/vireon.png")));
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::Received, &app,
                     [&boxes] { boxes.Request(); });

    QtProgramLauncher launcher;
    QtUrlOpener browser;
    PulseAudioInput audio;
    return RunProgram(Program, {boxes, launcher, browser, audio, report},
                      QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/",
                      [&boxes](TFormMain& formMain) { boxes.RunEventLoop(formMain); });
}
