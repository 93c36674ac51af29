#include "tests/gui/GuiTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>

#include "platform/TextFile.h"
#include "platform/linux/audio/WaveInEvent.h"

namespace vireon::testing {

ProgramFolder::ProgramFolder() {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
}

std::string ProgramFolder::Path() const {
    return QFile::encodeName(dir_.path()).toStdString() + "/";
}

void ProgramFolder::Write(const std::string& name, const std::string& content) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + File(name));
}

bool ProgramFolder::Exists(const std::string& name) const {
    return FileExists(File(name));
}

std::string ProgramFolder::Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> ProgramFolder::SettingsLines() const {
    return ReadLines(File(SettingsFileName));
}

std::map<std::string, std::string> ProgramFolder::Settings() const {
    std::map<std::string, std::string> values;
    for (const std::string& line : SettingsLines()) {
        const auto eq = line.find('=');
        if (eq != std::string::npos) values.emplace(line.substr(0, eq), line.substr(eq + 1));
    }
    return values;
}

WindowHarness::WindowHarness(Coefficients coefficients) {
    InitialiseProgramState(*state);
    if (coefficients == Coefficients::Shipped) {
        std::ifstream shipped(VIREON_FIR_FILE, std::ios::binary);
        std::ostringstream text;
        text << shipped.rdbuf();
        folder.Write(CoefficientFileName, text.str());
    }
    // The fake device posts its notifications to the window like the real one.
    audio.poster = [](NotificationTarget target, const WaveInMessage& message) {
        PostWaveInMessage(target, message);
    };
}

WindowHarness::~WindowHarness() {
    Close();
}

MainWindowServices WindowHarness::Services() {
    return {boxes, launcher, browser, audio, report};
}

QtMainWindow& WindowHarness::Open() {
    window = std::make_unique<QtMainWindow>();
    form = std::make_unique<TFormMain>(*state, Services(), *window, folder.Path());
    return *window;
}

void WindowHarness::Close() {
    form.reset();
    window.reset();
}

void WindowHarness::Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
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
