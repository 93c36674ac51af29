#include "app/ProgramState.h"

#include "app/AppText.h"

namespace vireon {

void InitialiseProgramState(ProgramState& state) {
    state.Settings = SettingsStore{};
    state.ProgramDirectory.clear();
    state.VolumeCommand = VolumeControlProgram;
    state.Chain.FilterSin.TapCount = 0;
    state.Chain.FilterCos.TapCount = 0;
}

}  // namespace vireon
