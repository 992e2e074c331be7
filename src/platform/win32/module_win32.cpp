// The topmost switch on Windows: SetWindowPos from "user32", found by name at
// the first call, with the window kept where it is and as large as it is.
#include <windows.h>

#include "module_win32.h"

namespace colfix::win32 {
namespace {

// SetWindowPos's seven arguments: window, insert-after, x, y, cx, cy, flags.
using SetWindowPosFn = BOOL(WINAPI*)(HWND, HWND, int, int, int, int, UINT);

SetWindowPosFn DeclaredSetWindowPos() {
  static const SetWindowPosFn function = [] {
    const FARPROC proc = GetProcAddress(LoadLibraryW(L"user32"), "SetWindowPos");
    return reinterpret_cast<SetWindowPosFn>(reinterpret_cast<void (*)()>(proc));
  }();
  return function;
}

}  // namespace

void Win32Module::SetWindowOnTop(WindowHandle hWnd, bool onTop) {
  const SetWindowPosFn setWindowPos = DeclaredSetWindowPos();
  if (setWindowPos == nullptr) return;
  // The result is ignored: a window that cannot be moved keeps its stacking.
  setWindowPos(reinterpret_cast<HWND>(hWnd), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace colfix::win32
