// The one door to Windows. On Windows this is the Win32 API itself; elsewhere
// it is a stand-in with the same names and types (fake_win32.h) that records
// what the library draws, fills, invalidates and prints, so tests can read it.
// The library uses only the calls the stand-in declares (fake_win32.h).
#ifndef WEFT_PLATFORM_PLATFORM_H_
#define WEFT_PLATFORM_PLATFORM_H_

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "platform/fake_win32.h"
#endif

#endif  // WEFT_PLATFORM_PLATFORM_H_
