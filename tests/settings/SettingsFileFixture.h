#pragma once
// The main window's six settings in a store of a test's own, with a settings file in a scratch
// folder: what the settings tests share.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "settings/ProgramSettings.h"
#include "settings/SettingsStore.h"
#include "tests/support/TempDir.h"

namespace vireon {

// The six settings of the main window, registered as it does; -99 until something sets them.
struct Placement : ProgramSettings {
    Placement() { BlockLenMultipler = WindowTop = WindowLeft = WindowWidth = WindowHeight = -99; }
    void RegisterIn(SettingsStore& store) { RegisterSettings(store, *this); }
};

inline std::ostream& operator<<(std::ostream& out, const Placement& p) {
    return out << '{' << p.BlockLenMultipler << ',' << p.WindowTop << ',' << p.WindowLeft << ','
               << p.WindowWidth << ',' << p.WindowHeight << ',' << p.WindowMaximized << '}';
}

inline Placement Values(int32_t block, int32_t top, int32_t left, int32_t width, int32_t height,
                        bool maximized) {
    Placement p;
    p.BlockLenMultipler = block;
    p.WindowTop = top;
    p.WindowLeft = left;
    p.WindowWidth = width;
    p.WindowHeight = height;
    p.WindowMaximized = maximized;
    return p;
}

const Placement Defaults = Values(1, 0, 0, 0, 0, true);
const std::string SixDefaultLines =
    "BlockLenMultipler=1\r\nWindowTop=0\r\nWindowLeft=0\r\nWindowWidth=0\r\nWindowHeight=0\r\n"
    "WindowMaximized=on\r\n";

class SettingsFile : public ::testing::Test {
protected:
    testing::TempDir dir;
    std::string path = dir / "okaven.ini";

    // A store as the main window sets it up: file name, six bindings.
    void Prepare(SettingsStore& store, Placement& values) {
        store.FileName = path;
        values.RegisterIn(store);
    }
};

}  // namespace vireon
