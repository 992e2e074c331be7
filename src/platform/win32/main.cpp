// Colfix.exe: builds frmMain, shows it and runs the message loop until a
// handler ends the program. A failure at start, or of the loop itself, is
// shown once and ends the program with status 1.
#include <windows.h>

#include <commctrl.h>

#include <exception>

#include "main_window.h"
#include "wide_text.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
  // Version 6 of the common controls, as the manifest asks for.
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    colfix::win32::MainWindow window(instance);
    window.Show(showCommand);
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
      if (window.TranslateDialogMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (got == -1) throw colfix::RuntimeError("Windows could not deliver the window's messages.");
    return static_cast<int>(message.wParam);
  } catch (const std::exception& error) {
    MessageBoxW(nullptr, colfix::win32::WideFromUtf8(error.what()).c_str(), L"Colfix",
                MB_OK | MB_ICONERROR);
    return 1;
  }
}
