#include "app/ProgramState.h"

#include "app/VolumeControl.h"

namespace vireon {

void InitialiseProgramState(ProgramState& state) {
    state.Settings = SettingsStore{};
    state.ProgramDirectory.clear();
    state.VolumeCommand = PlatformVolumeControl().Program;
    state.Chain.FilterSin.TapCount = 0;
    state.Chain.FilterCos.TapCount = 0;
}

}  // namespace vireon
