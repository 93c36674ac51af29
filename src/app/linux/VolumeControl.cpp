#include "app/VolumeControl.h"

namespace vireon {

// The sound server's volume control, or else its Qt twin; "--tab=4" opens either on its input
// devices.
const VolumeControl& PlatformVolumeControl() {
    static constexpr VolumeControl control{
        "pavucontrol", "pavucontrol-qt", " --tab=4",
        "Input volume needs a volume control, and none is installed. Install the package "
        "pavucontrol or pavucontrol-qt (sudo apt install pavucontrol)."};
    return control;
}

}  // namespace vireon
