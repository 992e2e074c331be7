// Keeps Wine's desktop in use for wine-run's session: says "ready" once it
// could make a window (Wine's display driver is there for this process) and
// then waits to be ended with the session. Ends with status 1 at once if no
// window could be made, because Wine's desktop process was not ready in time.
#include <windows.h>

#include <cstdio>

int main() {
  HWND window =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (window == nullptr) return 1;
  // No window of its own is left for the tests to come across.
  DestroyWindow(window);
  std::fputs("ready\n", stdout);
  std::fflush(stdout);
  Sleep(INFINITE);
}
