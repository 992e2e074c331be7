// A CBT hook DLL for the start-failure test. While the test has it set, Windows
// loads it into each process on the desktop; in a process whose environment
// names a window class in COLFIX_REFUSE_WINDOW_CLASS it refuses to create
// windows of that class, as a hook may, so CreateWindowExW fails for real.
#include <windows.h>

#include <cwchar>

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
