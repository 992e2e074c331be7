// The fonts the controls are given. Font handles belong to one process, so
// this test builds the real window in its own process and reads them there.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "control_windows.h"
#include "main_window.h"

namespace colfix::wintest {
namespace {

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

TEST(Fonts, FrameCaptionInBoldMsSansSerifOthersInTheDefaultGuiFont) {
  win32::MainWindow window(GetModuleHandleW(nullptr));
  HWND form = FindWindowW(L"ColfixMainWindow", nullptr);
  ASSERT_NE(form, nullptr);
  const auto control = [form](Control name) { return GetDlgItem(form, win32::CommandId(name)); };

  const LOGFONTW caption = FontOf(control(Control::Frame1));
  EXPECT_EQ(std::wstring(caption.lfFaceName), L"MS Sans Serif");
  EXPECT_EQ(caption.lfHeight, -11) << "8.25 points at 96 dpi";
  EXPECT_EQ(caption.lfWeight, FW_BOLD);
  EXPECT_EQ(caption.lfCharSet, 0);
  EXPECT_FALSE(caption.lfItalic || caption.lfUnderline || caption.lfStrikeOut);

  LOGFONTW guiFont{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof guiFont, &guiFont);
  for (const Control name : {Control::chkOntop, Control::chkAutoCopy, Control::txtTranscode,
                             Control::cmdclear, Control::cmdExit}) {
    SCOPED_TRACE(static_cast<int>(name));
    const LOGFONTW font = FontOf(control(name));
    EXPECT_EQ(std::wstring(font.lfFaceName), guiFont.lfFaceName);
    EXPECT_EQ(font.lfHeight, guiFont.lfHeight);
    EXPECT_EQ(font.lfWeight, guiFont.lfWeight);
  }
}

}  // namespace
}  // namespace colfix::wintest
