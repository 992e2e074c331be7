// frmMain's controls as real Windows controls, made from the one window
// description, and their placement and fonts at a given DPI.
#pragma once

#include <windows.h>

#include <optional>

#include "frm_main_description.h"

namespace colfix::win32 {

class Win32Runtime;

// The command id each control reports in WM_COMMAND; none collides with IDOK
// or IDCANCEL, which the dialog manager sends for Enter and Escape.
int CommandId(Control control);
std::optional<Control> ControlForCommandId(int id);

// Creates every control of the description as a child of `form`, in tab order
// so that the dialog manager's Tab and Shift+Tab follow it, and attaches each
// to `runtime`.
void CreateControls(HWND form, HINSTANCE instance, Win32Runtime& runtime);

// The two fonts of the window at one DPI; owns them.
class ControlFonts {
 public:
  explicit ControlFonts(int dpi);
  ~ControlFonts();
  ControlFonts(const ControlFonts&) = delete;
  ControlFonts& operator=(const ControlFonts&) = delete;

  HFONT For(FontRole role) const {
    return role == FontRole::FrameCaption ? frameCaption_ : dialog_;
  }

 private:
  HFONT dialog_;
  HFONT frameCaption_;
};

// Places every control at its description's position scaled to `dpi`, with
// its font and, for Picture1, the icon at that size.
void LayOutControls(const Win32Runtime& runtime, const ControlFonts& fonts, HINSTANCE instance,
                    int dpi);

}  // namespace colfix::win32
