// Each runtime operation as the matching Win32 call on the control's window.
#include "win32_runtime.h"

#include "clipboard.h"
#include "wide_text.h"

namespace colfix::win32 {

void Win32Runtime::Attach(Control control, HWND window) {
  windows_.at(static_cast<std::size_t>(control)) = window;
}

HWND Win32Runtime::Window(Control control) const {
  return windows_.at(static_cast<std::size_t>(control));
}

std::u16string Win32Runtime::Text(Control field) const {
  HWND window = Window(field);
  WideString text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return FromWide(text);
}

void Win32Runtime::SetText(Control field, std::u16string_view text) {
  HWND window = Window(field);
  SetWindowTextW(window, ToWide(text).c_str());
  // The caret after the text, in view, as on Linux; Windows leaves it at the start.
  SendMessageW(window, EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
  SendMessageW(window, EM_SCROLLCARET, 0, 0);
}

int Win32Runtime::Value(Control checkBox) const {
  switch (SendMessageW(Window(checkBox), BM_GETCHECK, 0, 0)) {
    case BST_UNCHECKED:
      return kUnchecked;
    case BST_CHECKED:
      return kChecked;
    default:
      return kGrayed;
  }
}

WindowHandle Win32Runtime::Handle(Control form) const {
  return reinterpret_cast<WindowHandle>(Window(form));
}

void Win32Runtime::Unload(Control form) {
  // The window's WM_CLOSE raises Form_Unload, as the close box does.
  SendMessageW(Window(form), WM_CLOSE, 0, 0);
}

void Win32Runtime::End() {
  // At once: no further message, and so no further handler, is taken.
  ExitProcess(0);
}

void Win32Runtime::ClipboardClear() {
  EmptyClipboardAs(Window(Control::frmMain));
}

void Win32Runtime::ClipboardSetText(std::u16string_view text) {
  PutClipboardText(Window(Control::frmMain), ToWide(text));
}

void Win32Runtime::ReportError(std::string_view message) {
  MessageBoxW(Window(Control::frmMain), WideFromUtf8(message).c_str(), L"Colfix",
              MB_OK | MB_ICONERROR);
}

}  // namespace colfix::win32
