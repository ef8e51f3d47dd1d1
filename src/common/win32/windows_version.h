#pragma once
// Which Windows the program runs on, where the system's own answer decides what to call.

#include <windows.h>

// The 32-bit program also takes the A road of Windows 95, 98 and ME.
#if defined(__i386__) || defined(_M_IX86)
#define TINTMARK_ANSI_ROAD 1
#endif

namespace common::win32 {

// Windows 95, 98 and ME, which implement almost none of the W functions.
inline bool IsWindows9x() { return (GetVersion() & 0x80000000u) != 0; }

// Windows 95, 98, ME and NT 4.0, whose structures predate Windows 2000's larger ones.
inline bool IsBeforeWindows2000() { return (GetVersion() & 0xFFu) < 5; }

}  // namespace common::win32
