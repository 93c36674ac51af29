#pragma once
// windows.h and mmsystem.h for files that also include the program's own headers: their macros
// MB_ICONERROR, MB_ICONEXCLAMATION (platform/MessageBox.h) and MM_WIM_OPEN, MM_WIM_CLOSE,
// MM_WIM_DATA (platform/audio/AudioInput.h) would rewrite the constants of the same names there.
// The numbers are the same, so the program's constants serve for Windows' after this.
#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

static_assert(MB_ICONERROR == 16 && MB_ICONEXCLAMATION == 48);
static_assert(MM_WIM_OPEN == 958 && MM_WIM_CLOSE == 959 && MM_WIM_DATA == 960);
#undef MB_ICONERROR
#undef MB_ICONEXCLAMATION
#undef MM_WIM_OPEN
#undef MM_WIM_CLOSE
#undef MM_WIM_DATA
