#include "settings/ProgramSettings.h"

namespace vireon {

void RegisterSettings(SettingsStore& store, ProgramSettings& values) {
    store.Register("BlockLenMultipler", SettingKind::Integer, "1", &values.BlockLenMultipler);
    store.Register("WindowTop", SettingKind::Integer, "0", &values.WindowTop);
    store.Register("WindowLeft", SettingKind::Integer, "0", &values.WindowLeft);
    store.Register("WindowWidth", SettingKind::Integer, "0", &values.WindowWidth);
    store.Register("WindowHeight", SettingKind::Integer, "0", &values.WindowHeight);
    store.Register("WindowMaximized", SettingKind::Boolean, "on", &values.WindowMaximized);
}

}  // namespace vireon
