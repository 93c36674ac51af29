#pragma once
// A temporary program folder for the window tests: the coefficient and settings files the
// program keeps beside itself, gone with the object.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/TextFile.h"
#include "settings/FileLocations.h"
#include "tests/support/TempDir.h"

namespace vireon::testing {

class ProgramFolder {
public:
    // Ends in a path separator, as the program directory does.
    std::string Path() const {
        return dir_.Path() + static_cast<char>(std::filesystem::path::preferred_separator);
    }
    std::string File(const std::string& name) const { return Path() + name; }
    void Write(const std::string& name, const std::string& content) const {
        dir_.Write(name, content);
    }
    bool Exists(const std::string& name) const { return FileExists(File(name)); }
    std::string Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The settings file's lines in order, line ends removed.
    std::vector<std::string> SettingsLines() const { return ReadLines(File(SettingsFileName)); }
    // The settings file as key -> value (lines without "=" are skipped).
    std::map<std::string, std::string> Settings() const {
        std::map<std::string, std::string> values;
        for (const std::string& line : SettingsLines()) {
            const auto eq = line.find('=');
            if (eq != std::string::npos) values.emplace(line.substr(0, eq), line.substr(eq + 1));
        }
        return values;
    }

private:
    TempDir dir_;
};

}  // namespace vireon::testing
