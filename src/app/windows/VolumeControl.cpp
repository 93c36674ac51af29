#include "app/VolumeControl.h"

namespace vireon {

// The Sound control panel on its Recording tab: the volume control's recording view of every
// Windows since Vista, where SNDVOL32 /record no longer exists.
const VolumeControl& PlatformVolumeControl() {
    static constexpr VolumeControl control{
        "control", nullptr, " mmsys.cpl,,1",
        "Input volume could not open the Sound control panel. Open Sound in the Control Panel "
        "and choose its Recording tab."};
    return control;
}

}  // namespace vireon
