#pragma once
// Everything the program keeps for the whole run. main() holds the one instance; every class
// takes the parts it needs by reference, so tests build their own.
#include <cstdint>
#include <string>

#include "app/capture/Capture.h"
#include "dsp/SignalChain.h"
#include "dsp/Waterfall.h"
#include "settings/ProgramSettings.h"
#include "settings/SettingsStore.h"

namespace vireon {

struct ProgramState {
    SettingsStore Settings;
    ProgramSettings Values;
    CaptureState Capture;
    SignalChain Chain;
    WaterfallRenderer Renderer;
    std::string VolumeCommand;
    std::string ProgramDirectory;
};

// Program-wide initialisation, before the application object is used: an empty store, the
// volume-control command, both filters without taps. The window sets up the rest of the chain.
void InitialiseProgramState(ProgramState& state);

}  // namespace vireon
