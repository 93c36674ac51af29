#pragma once
// The six values the main window keeps in okaven.ini, and their registration in file order.
#include <cstdint>

#include "settings/SettingsStore.h"

namespace vireon {

struct ProgramSettings {
    int32_t BlockLenMultipler = 0;
    int32_t WindowTop = 0;
    int32_t WindowLeft = 0;
    int32_t WindowWidth = 0;
    int32_t WindowHeight = 0;
    bool WindowMaximized = false;
    bool operator==(const ProgramSettings&) const = default;
};

// Registers the six settings in their file order.
void RegisterSettings(SettingsStore& store, ProgramSettings& values);

}  // namespace vireon
