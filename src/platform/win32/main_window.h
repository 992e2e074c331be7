// frmMain as a Win32 top-level window: builds it from the window description,
// routes its messages to FrmMain::Raise and keeps its layout at the window's
// DPI.
#pragma once

#include <windows.h>

#include <memory>

#include "control_windows.h"
#include "frm_main.h"
#include "module_win32.h"
#include "win32_runtime.h"

namespace colfix::win32 {

class MainWindow {
 public:
  // Creates the window and its controls, sized and centred, not yet shown.
  explicit MainWindow(HINSTANCE instance);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Shows the window with the focus on the first control that can take it.
  void Show(int showCommand);

  // Lets the dialog manager take keyboard navigation (Tab, Shift+Tab, Space
  // on a check box); true if it did and the message needs no dispatching.
  bool TranslateDialogMessage(MSG& message);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR subclassId, DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleFieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
  void RaiseFieldMouseUp(UINT message, WPARAM wParam, LPARAM lParam);
  void LayOut(int dpi);
  SIZE WindowSize(int dpi) const;

  HINSTANCE instance_;
  HWND window_ = nullptr;
  Win32Runtime runtime_;
  Win32Module module_;
  FrmMain form_{runtime_, module_};
  std::unique_ptr<ControlFonts> fonts_;
  int dpi_ = 0;
  HWND lastFocus_ = nullptr;
  // True while the field's own context menu is open, so that a Paste chosen
  // from it can be told from Ctrl+V.
  bool inFieldContextMenu_ = false;
  // True while the field handles a button's release, which is reported after.
  bool inButtonUp_ = false;
};

}  // namespace colfix::win32
