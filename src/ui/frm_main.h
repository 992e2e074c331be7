// The handlers of frmMain, written against the runtime interface only, and the
// routing that takes an event of a control to its handler.
#pragma once

#include "runtime.h"

namespace colfix {

enum class Event { MouseUp, Click, Unload };

// What a mouse event supplies: button and modifier bit sets, and the pointer
// position in the control.
struct MouseArgs {
  int button = 0;
  int shift = 0;
  float x = 0;
  float y = 0;
};

class FrmMain {
 public:
  explicit FrmMain(Runtime& runtime) : runtime_(runtime) {}

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
};

}  // namespace colfix
