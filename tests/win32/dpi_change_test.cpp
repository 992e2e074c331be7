// Moving to a screen of another DPI: the window is laid out again for it. The
// message carries a pointer, so the window is built in the test's own process.
#include <windows.h>

#include <gtest/gtest.h>

#include "control_windows.h"
#include "main_window.h"

namespace colfix::wintest {
namespace {

RECT ClientRectOf(HWND control, HWND window) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST(DpiChange, WindowIsLaidOutAgainForTheNewDpi) {
  win32::MainWindow window(GetModuleHandleW(nullptr));
  HWND form = FindWindowW(L"ColfixMainWindow", nullptr);
  ASSERT_NE(form, nullptr);

  RECT suggested{100, 50, 900, 350};
  SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

  // The frame stays at the system's DPI here, since no screen really changed,
  // so only the client area's contents and the position are checked.
  RECT outer;
  GetWindowRect(form, &outer);
  EXPECT_EQ(outer.left, 100);
  EXPECT_EQ(outer.top, 50);

  const RECT box = ClientRectOf(GetDlgItem(form, win32::CommandId(Control::chkOntop)), form);
  EXPECT_EQ(box.left, 126);
  EXPECT_EQ(box.top, 60);
  EXPECT_EQ(box.right, 716);
  EXPECT_EQ(box.bottom, 80);

  LOGFONTW caption{};
  HWND frame = GetDlgItem(form, win32::CommandId(Control::Frame1));
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0)), sizeof caption,
             &caption);
  EXPECT_EQ(caption.lfHeight, -17) << "8.25 points at 144 dpi";
}

}  // namespace
}  // namespace colfix::wintest
