#pragma once
// What the window tests share: fakes of the launch services, a program folder of its own, and
// a harness that builds a TFormMain over fresh state with every service faked.
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/AppText.h"
#include "app/ErrorReport.h"
#include "app/MainWindow.h"
#include "app/ProgramState.h"
#include "app/UrlOpener.h"
#include "app/linux/QtMainWindow.h"
#include "platform/ProgramLauncher.h"
#include "tests/support/FakeAudioInput.h"
#include "tests/support/FakeMessageBoxes.h"

namespace vireon::testing {

// The boxes the application object's error report shows (set up by the test main).
FakeMessageBoxes& ApplicationBoxes();

class FakeLauncher final : public ProgramLauncher {
public:
    bool Launch(const std::string& commandLine) override {
        launched.push_back(commandLine);
        if (fail) throw std::runtime_error("launch failed");
        const std::string program = commandLine.substr(0, commandLine.find(' '));
        return std::find(missing.begin(), missing.end(), program) == missing.end();
    }
    std::vector<std::string> launched;
    std::vector<std::string> missing;  // programs that cannot be started
    bool fail = false;
};

class FakeUrlOpener final : public UrlOpener {
public:
    void Open(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

// A temporary program directory; gone with the object.
class ProgramFolder {
public:
    ProgramFolder();
    // Ends in a path separator, as the program directory does.
    std::string Path() const;
    std::string File(const std::string& name) const { return Path() + name; }
    void Write(const std::string& name, const std::string& content) const;
    bool Exists(const std::string& name) const;
    std::string Read(const std::string& name) const;
    // The settings file as key -> value (lines without "=" are skipped).
    std::map<std::string, std::string> Settings() const;
    // Its lines in order, line ends removed.
    std::vector<std::string> SettingsLines() const;

private:
    QTemporaryDir dir_;
};

enum class Coefficients { Shipped, Missing };

struct WindowHarness {
    explicit WindowHarness(Coefficients coefficients = Coefficients::Shipped);
    ~WindowHarness();

    MainWindowServices Services();
    // Builds the window and its logic (which shows it, loads and starts receiving).
    QtMainWindow& Open();
    // Destroys the window's logic, which stores the placement and saves the settings, then the
    // window.
    void Close();

    // Delivers every posted event, device notifications included.
    static void Settle();
    // The device the window opened last.
    AudioHandle Device() const { return audio.lastOpened; }

    ProgramFolder folder;
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    FakeMessageBoxes boxes;
    FakeLauncher launcher;
    FakeUrlOpener browser;
    FakeAudioInput audio;
    ErrorReport report{boxes, ApplicationTitle};
    std::unique_ptr<QtMainWindow> window;
    std::unique_ptr<TFormMain> form;
};

// Unsigned 8-bit samples of a sine at the given frequency (8000 samples per second).
std::vector<std::uint8_t> Tone(double frequency, int samples, double amplitude = 100.0);

}  // namespace vireon::testing
