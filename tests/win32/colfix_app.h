// Colfix.exe started as its own process, and reached from the test the way
// another Windows program would: through its windows and their messages.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "runtime.h"

namespace colfix::wintest {

// Where the program under test is (a Wine path), and the 32-bit program whose
// resources are checked too (empty when not built); set by test_main.
extern std::wstring colfixExe;
extern std::wstring shippedExe;

// Every wait here is stretched by COLFIX_TEST_WAIT_FACTOR (a whole number,
// default 1) where Wine runs many times slower, as in an emulated machine.

// Polls `condition` until it holds or `timeout` passes; true if it held.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(10));

// The text a message box shows.
std::wstring MessageText(HWND box);

// One of test_hooks.cpp's hooks, set on the whole desktop while this lives.
class DesktopHook {
 public:
  DesktopHook(int type, const char* procedure);
  ~DesktopHook();
  DesktopHook(const DesktopHook&) = delete;
  DesktopHook& operator=(const DesktopHook&) = delete;

 private:
  HMODULE dll_;
  HHOOK hook_;
};

class ColfixApp {
 public:
  // Starts Colfix.exe and waits until its window is shown.
  ColfixApp();
  // Starts Colfix.exe and waits for nothing, for a start that is to fail.
  enum NoWindow { kNoWindow };
  explicit ColfixApp(NoWindow);
  // Ends the process if the test left it running.
  ~ColfixApp();
  ColfixApp(const ColfixApp&) = delete;
  ColfixApp& operator=(const ColfixApp&) = delete;

  HWND Window() const { return window_; }
  HWND Get(Control control) const;
  DWORD ThreadId() const { return threadId_; }

  std::wstring FieldText() const;
  void SetFieldText(const std::wstring& text) const;
  bool IsTicked(Control checkBox) const;
  // Presses a button or clicks a check box as a mouse click would.
  void Click(Control control) const;
  // A release of the given button (WM_LBUTTONUP, ...) reported to the field.
  void ReleaseOnField(UINT buttonUp) const;
  // The control that has the keyboard focus in Colfix's thread.
  HWND Focus() const;
  // Waits for a message box owned by Colfix's window (by none, if it has no
  // window); null if none came.
  HWND WaitForMessageBox() const;

  // Waits for the process to end; its exit code, or STILL_ACTIVE.
  DWORD WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  bool IsRunning() const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  DWORD threadId_ = 0;
};

}  // namespace colfix::wintest
