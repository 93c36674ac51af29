#pragma once
// Everything the program keeps for the whole run. main() holds the one instance; every class
// takes the parts it needs by reference, so tests build their own.
#include <cstdint>
#include <string>

#include "Capture.h"
#include "ProgramSettings.h"
#include "SettingsStore.h"
#include "SignalChain.h"
#include "Waterfall.h"

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
// volume-control command, the engine for 256 points, both filters without taps.
void InitialiseProgramState(ProgramState& state);

}  // namespace vireon
