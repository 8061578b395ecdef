#pragma once

// The Win32 headers the window layer needs, without the macros that would rename the
// framework's own functions of the same names in the files that include them.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <ole2.h>
#include <shellapi.h>
#include <windows.h>

#undef ChooseColor
#undef DrawText
#undef LoadBitmap
