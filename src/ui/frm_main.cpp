// frmMain's five handlers, the routing of a control's event to its handler, and
// a mouse position in pixels turned into twips for them. No handler traps errors:
// Raise reports what escapes.
#include "frm_main.h"

#include <exception>

#include "frm_main_description.h"
#include "transcode_reference.h"

namespace colfix {

MouseArgs MouseArgsFromPixels(int button, int shift, double x, double y, int dpi) {
  const auto toTwips = [dpi](double pixels) {
    return static_cast<float>(pixels * kTwipsPerInch / dpi);
  };
  return {button, shift, toTwips(x), toTwips(y)};
}

void FrmMain::Raise(Control control, Event event, const MouseArgs& mouse) {
  try {
    if (control == Control::txtTranscode && event == Event::MouseUp) {
      txtTranscode_MouseUp(mouse.button, mouse.shift, mouse.x, mouse.y);
    } else if (control == Control::txtTranscode && event == Event::MenuPaste) {
      // The pasted text is tidied as if the right button, whose menu it is,
      // had been released: a keyboard-opened menu releases no button at all.
      txtTranscode_MouseUp(kRightButton, 0, 0, 0);
    } else if (control == Control::cmdclear && event == Event::Click) {
      cmdclear_Click();
    } else if (control == Control::cmdExit && event == Event::Click) {
      cmdExit_Click();
    } else if (control == Control::chkOntop && event == Event::Click) {
      chkOntop_Click();
    } else if (control == Control::frmMain && event == Event::Unload) {
      int cancel = 0;
      Form_Unload(cancel);
    }
  } catch (const std::exception& error) {
    runtime_.ReportError(error.what());
  }
}

void FrmMain::txtTranscode_MouseUp(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {
  const std::u16string result = TranscodeReference(runtime_.Text(Control::txtTranscode));
  runtime_.SetText(Control::txtTranscode, result);
  if (runtime_.Value(Control::chkAutoCopy) == kUnchecked) return;
  runtime_.ClipboardClear();
  runtime_.ClipboardSetText(result);
}

void FrmMain::cmdclear_Click() {
  runtime_.SetText(Control::txtTranscode, u"");
}

void FrmMain::cmdExit_Click() {
  runtime_.Unload(Control::frmMain);
}

void FrmMain::chkOntop_Click() {
  const bool onTop = runtime_.Value(Control::chkOntop) != kUnchecked;
  module_.SetWindowOnTop(runtime_.Handle(Control::frmMain), onTop);
}

void FrmMain::Form_Unload(int& /*Cancel*/) {
  runtime_.End();
}

}  // namespace colfix
