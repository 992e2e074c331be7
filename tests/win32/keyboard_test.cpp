// The keyboard in Colfix's window: the start-up focus, Tab and Shift+Tab
// through the controls in their order, and Space on a focused check box.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>

#include "colfix_app.h"

namespace colfix::wintest {
namespace {

// Keys as the keyboard puts them in Colfix's queue: to the focused control,
// through the program's message loop.
void PressKey(const ColfixApp& app, WPARAM key) {
  HWND focus = app.Focus();
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, 1 | (1U << 30) | (1U << 31));
}

// Shift held down in the keyboard state that Colfix's thread sees.
class ShiftHeld {
 public:
  explicit ShiftHeld(const ColfixApp& app) : app_(app) {
    AttachThreadInput(GetCurrentThreadId(), app_.ThreadId(), TRUE);
    SetShift(0x80);
  }
  ~ShiftHeld() {
    SetShift(0);
    AttachThreadInput(GetCurrentThreadId(), app_.ThreadId(), FALSE);
  }
  ShiftHeld(const ShiftHeld&) = delete;
  ShiftHeld& operator=(const ShiftHeld&) = delete;

 private:
  static void SetShift(BYTE state) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = state;
    SetKeyboardState(keys);
  }
  const ColfixApp& app_;
};

constexpr std::array kTabOrder = {Control::chkOntop,    Control::cmdclear, Control::txtTranscode,
                                  Control::chkAutoCopy, Control::cmdExit,  Control::chkOntop};

TEST(Keyboard, FocusStartsOnStayOnTop) {
  ColfixApp app;
  EXPECT_EQ(app.Focus(), app.Get(Control::chkOntop));
  EXPECT_FALSE(app.IsTicked(Control::chkOntop));
  EXPECT_FALSE(app.IsTicked(Control::chkAutoCopy));
  EXPECT_EQ(app.FieldText(), L"");
  EXPECT_FALSE(GetWindowLongW(app.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(Keyboard, TabFollowsTheTabOrderAndWrapsAround) {
  ColfixApp app;
  for (std::size_t step = 1; step < kTabOrder.size(); ++step) {
    SCOPED_TRACE("Tab number " + std::to_string(step));
    PressKey(app, VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return app.Focus() == app.Get(kTabOrder[step]); }));
  }
}

TEST(Keyboard, ShiftTabGoesBackwards) {
  ColfixApp app;
  ShiftHeld shift(app);
  for (std::size_t step = kTabOrder.size() - 1; step > 0; --step) {
    SCOPED_TRACE("Shift+Tab number " + std::to_string(kTabOrder.size() - step));
    PressKey(app, VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return app.Focus() == app.Get(kTabOrder[step - 1]); }));
  }
}

TEST(Keyboard, SpaceTogglesTheFocusedCheckBox) {
  ColfixApp app;
  const std::array<std::pair<int, Control>, 2> boxes = {
      {{0, Control::chkOntop}, {3, Control::chkAutoCopy}}};
  for (const auto& [tabs, box] : boxes) {
    for (int i = 0; i < tabs; ++i) PressKey(app, VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Get(box); }));
    PressKey(app, VK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return app.IsTicked(box); }));
    PressKey(app, VK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return !app.IsTicked(box); }));
  }
}

TEST(Keyboard, EnterAndEscapeDoNothing) {
  ColfixApp app;
  app.SetFieldText(L"AB:12");
  for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) PressKey(app, key);
  // Posted messages are taken in order, and the dialog manager acts on Enter
  // and Escape at once: once a Tab posted after them has moved the focus, both
  // have been handled. (A sent message would not do: it overtakes posted ones.)
  PressKey(app, VK_TAB);
  ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Get(Control::cmdclear); }));
  EXPECT_TRUE(app.IsRunning());
  EXPECT_EQ(app.FieldText(), L"AB:12");
}

}  // namespace
}  // namespace colfix::wintest
