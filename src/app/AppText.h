#pragma once
// Fixed texts of the program: titles and file names.
#include "settings/FileLocations.h"  // the two file names

namespace vireon {

inline constexpr const char* ApplicationTitle = "OKAVEN Halcyte Terminal";
inline constexpr const char* MainWindowCaption = "OKAVEN Vireon";
// In the title bar of a message box that has no caption of its own.
inline constexpr const char* UntitledBoxCaption = "Vireon";

}  // namespace vireon
