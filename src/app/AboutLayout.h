#pragma once
// The About dialog TFormAbout as laid out, in pixels at 96 pixels per inch: what each platform's
// dialog builds. Controls are in the "MS Sans Serif" typeface, 11 pixels high unless stated.
#include <cstdint>

namespace vireon::about {

struct Box {
    int32_t Left, Top, Width, Height;
};

struct Label {
    const char* Name;
    const char* Text;
    Box Place;  // Width 0: as wide as its text, on one line
    int32_t PixelHeight;
    bool Bold;
};

inline constexpr const char* Caption = "About OKAVEN Vireon";
inline constexpr Box Place{142, 79, 387, 249};  // the client area
inline constexpr const char* Typeface = "MS Sans Serif";

inline constexpr Label Labels[] = {
    {"Label1", "OKAVEN Vireon", {80, 16, 0, 0}, 13, true},
    {"Label5", "Version 0.1 released on 25-dec-99", {80, 40, 209, 17}, 11, false},
    {"Label6",
     "Accurate frequency spectrum analyzer in the range 0 - 2500 Hz. Requires a powerful PC",
     {80, 64, 213, 26},
     11,
     false},
    {"Label4",
     "For radio amateur use only. Commercial or militar use strictly prohibited.",
     {80, 192, 199, 26},
     11,
     false},
};

// Bevel1: only its top line is drawn, a horizontal rule.
inline constexpr Box Bevel1{8, 176, 369, 9};
// Button1, "OK", first in the tab order: closes the dialog.
inline constexpr Box Button1{296, 208, 73, 25};
inline constexpr const char* ButtonCaption = "OK";

}  // namespace vireon::about
