// The window's DPI and DPI-aware frame sizes. The per-monitor calls exist only
// on Windows 10 1607 and later (and recent Wine), so they are looked up at run
// time and the system-wide DPI stands in where they are missing.
#pragma once

#include <windows.h>

namespace colfix::win32 {

inline constexpr int kDefaultDpi = 96;

// The DPI the window is laid out for (the system DPI when it cannot say).
int WindowDpi(HWND window);

// The system DPI, for sizing a window before it exists.
int SystemDpi();

// The outer window rectangle that gives `client` a client area of that size.
RECT WindowRectForClient(RECT client, DWORD style, DWORD exStyle, int dpi);

}  // namespace colfix::win32
