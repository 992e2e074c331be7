// The handlers of frmMain, written against the runtime interface only, and the
// routing that takes an event of a control to its handler.
#pragma once

#include "module.h"
#include "runtime.h"

namespace colfix {

// What a back end reports of a control. MenuPaste is a Paste chosen from the
// control's own context menu, which has no handler of its own.
enum class Event { MouseUp, Click, Unload, MenuPaste };

// The bits of MouseArgs::button and MouseArgs::shift.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// What a mouse event supplies: button and modifier bit sets, and the pointer
// position in the control in twips, the unit the whole window is described in.
struct MouseArgs {
  int button = 0;
  int shift = 0;
  float x = 0;
  float y = 0;
};

// A mouse event as the back ends measure it, in pixels on a screen of `dpi`.
MouseArgs MouseArgsFromPixels(int button, int shift, double x, double y, int dpi);

class FrmMain {
 public:
  FrmMain(Runtime& runtime, Module& module) : runtime_(runtime), module_(module) {}

  // Calls the handler of `event` on `control`, if it has one. An error that
  // escapes a handler is reported to the user and the program goes on running:
  // a momentary failure (a clipboard held open by another program) must not
  // throw away the user's text.
  void Raise(Control control, Event event, const MouseArgs& mouse = {});

  // Tidies the field and, with auto-copy on, puts the result on the clipboard.
  void txtTranscode_MouseUp(int Button, int Shift, float X, float Y);
  void cmdclear_Click();
  void cmdExit_Click();
  void chkOntop_Click();
  void Form_Unload(int& Cancel);

 private:
  Runtime& runtime_;
  Module& module_;
};

}  // namespace colfix
