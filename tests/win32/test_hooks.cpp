// Hooks the tests set on the whole desktop, so that Windows loads this DLL into
// Colfix too and calls them there as it runs.
#include <windows.h>

#include <cwchar>

// In a process whose environment names a window class in
// COLFIX_REFUSE_WINDOW_CLASS, refuses to create windows of that class, as a CBT
// hook may, so that CreateWindowExW fails for real.
extern "C" __declspec(dllexport) LRESULT CALLBACK
    RefuseWindowHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const wchar_t* windowClass = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->lpszClass;
    wchar_t refused[64] = {};
    if (!IS_INTRESOURCE(windowClass) &&
        GetEnvironmentVariableW(L"COLFIX_REFUSE_WINDOW_CLASS", refused, 64) > 0) {
      // A class of the manifest's common controls comes with their version,
      // as in "6.0.2600.2982!Edit".
      const wchar_t* versioned = wcsrchr(windowClass, L'!');
      if (lstrcmpiW(versioned != nullptr ? versioned + 1 : windowClass, refused) == 0) return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Keeps, in a window's property "TextSetUnderCapture" that another process can
// read, whether its text was last set while it held the mouse capture.
extern "C" __declspec(dllexport) LRESULT CALLBACK
    MarkTextSetUnderCaptureHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_SETTEXT) {
    if (GetCapture() == sent->hwnd) {
      SetPropW(sent->hwnd, L"TextSetUnderCapture", reinterpret_cast<HANDLE>(1));
    } else {
      RemovePropW(sent->hwnd, L"TextSetUnderCapture");
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
