#pragma once
// Fixed texts of the program: titles, file names and the programs it starts.
#include "settings/FileLocations.h"  // the two file names

namespace vireon {

inline constexpr const char* ApplicationTitle = "OKAVEN Halcyte Terminal";
inline constexpr const char* MainWindowCaption = "OKAVEN Vireon";
// In the title bar of a message box that has no caption of its own.
inline constexpr const char* UntitledBoxCaption = "Vireon";

// The sound server's volume control, or else its Qt twin; " --tab=4" opens either on its input
// devices.
inline constexpr const char* VolumeControlProgram = "pavucontrol";
inline constexpr const char* VolumeControlAlternative = "pavucontrol-qt";
inline constexpr const char* VolumeControlRecordingArgs = " --tab=4";
inline constexpr const char* NoVolumeControlText =
    "Input volume needs a volume control, and none is installed. Install the package "
    "pavucontrol or pavucontrol-qt (sudo apt install pavucontrol).";

}  // namespace vireon
