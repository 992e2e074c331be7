// The services the window's handlers need from the platform: the controls'
// properties, unloading and ending, the clipboard and error reports. Each back
// end (Qt, Win32) implements this once; the handlers see nothing else, and a
// recording fake stands in for it in tests.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace colfix {

// The window and its controls, addressed by the names the handlers use.
enum class Control {
  frmMain,
  Frame1,
  chkOntop,
  chkAutoCopy,
  txtTranscode,
  cmdclear,
  cmdExit,
  Picture1
};

// A native window handle as the platform reports it (an HWND, an X11 window id).
using WindowHandle = std::uintptr_t;

// Check box values: anything other than kUnchecked counts as on.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGrayed = 2;

// Thrown by an operation that the platform could not carry out.
class RuntimeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Runtime {
 public:
  virtual ~Runtime() = default;

  // The text field's contents exactly as the user sees them.
  virtual std::u16string Text(Control field) const = 0;
  // The field shows exactly `text` from now on.
  virtual void SetText(Control field, std::u16string_view text) = 0;
  // A check box's value: kUnchecked, kChecked or kGrayed.
  virtual int Value(Control checkBox) const = 0;
  // The native handle of a window, as the platform's stacking calls accept it.
  virtual WindowHandle Handle(Control form) const = 0;
  // Starts unloading a window; its Form_Unload handler runs.
  virtual void Unload(Control form) = 0;
  // Ends the program: no further handler runs.
  virtual void End() = 0;
  // Leaves the clipboard empty in every format.
  virtual void ClipboardClear() = 0;
  // Puts `text` on the clipboard in the platform's standard plain-text format.
  virtual void ClipboardSetText(std::u16string_view text) = 0;
  // Shows an error the user must dismiss before going on.
  virtual void ReportError(std::string_view message) = 0;
};

}  // namespace colfix
