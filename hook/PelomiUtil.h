// The interface of PelomiUtil.dll, the hook library: it tracks the last
// active window that is not one of Pelo's own and makes it paste.
#pragma once

#include <windows.h>

#ifdef PELOMIUTIL_BUILDING
#define PELOMIUTIL_API __declspec(dllexport)
#else
#define PELOMIUTIL_API __declspec(dllimport)
#endif

// Starts tracking; `self` is Pelo's main window.
PELOMIUTIL_API void __stdcall SetHook(HWND self);
// Stops tracking; harmless without SetHook and when called twice.
PELOMIUTIL_API void __stdcall FreeHook(void);
// The last active window that is not Pelo's (null when none is known).
PELOMIUTIL_API HWND __cdecl GetLastActiveWindow(void);
// EnumChildWindows callback: makes the target paste the clipboard's text
// once per walk; returns 0 to end the walk once it has.
PELOMIUTIL_API int __stdcall EnumChildProc(HWND window, long lParam);
