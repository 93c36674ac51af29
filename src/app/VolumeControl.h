#pragma once
// The platform's recording volume control, which Input volume opens on its recording devices.
// Each platform's folder defines it (app/linux, app/windows).
namespace vireon {

struct VolumeControl {
    const char* Program;        // the volume-control command the program starts with
    const char* Alternative;    // tried when Program cannot be started; may be null
    const char* RecordingArgs;  // appended to either: opens it on the recording devices
    const char* MissingText;    // shown when neither can be started
};

const VolumeControl& PlatformVolumeControl();

}  // namespace vireon
