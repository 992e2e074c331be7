// Per-monitor DPI calls looked up by name, with the older system-wide calls as
// the fallback.
#include "dpi.h"

namespace colfix::win32 {
namespace {

template <typename Function>
Function User32Function(const char* name) {
  const FARPROC proc = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  // FARPROC is a generic function pointer; going through void(*)() keeps the
  // cast to the real signature free of -Wcast-function-type.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

}  // namespace

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

RECT WindowRectForClient(RECT client, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjustForDpi =
      User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  if (adjustForDpi == nullptr ||
      !adjustForDpi(&client, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&client, style, FALSE, exStyle);
  }
  return client;
}

}  // namespace colfix::win32
