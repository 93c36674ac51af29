// The program entry: program-wide state, the application object, the windows, the loop.
#include <QFile>
#include <QIcon>

#include "AppText.h"
#include "ErrorReport.h"
#include "ProgramState.h"
#include "QtAudioInput.h"
#include "QtMessageBox.h"
#include "QtProgramLauncher.h"
#include "QtUrlOpener.h"
#include "ShutdownRequest.h"
#include "StartUp.h"
#include "TerminationSignals.h"
#include "VireonApplication.h"

namespace {

// The one instance of everything the program keeps for the whole run. Static storage: zero
// until InitialiseProgramState, and destroyed only after the main window has saved the settings.
vireon::ProgramState Program;

}  // namespace

int main(int argc, char** argv) {
    using namespace vireon;
    InitialiseProgramState(Program);

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
    QtAudioInput audio;
    return RunProgram(Program, {boxes, launcher, browser, audio, report},
                      QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/",
                      [&boxes](TFormMain& formMain) { boxes.RunEventLoop(formMain); });
}
