// The runtime interface over real Windows controls: the handlers read and set
// the controls through it, and it writes the clipboard and reports errors.
#pragma once

#include <windows.h>

#include <array>

#include "runtime.h"

namespace colfix::win32 {

class Win32Runtime : public Runtime {
 public:
  // Records the native window that stands for `control`.
  void Attach(Control control, HWND window);
  HWND Window(Control control) const;

  std::u16string Text(Control field) const override;
  void SetText(Control field, std::u16string_view text) override;
  int Value(Control checkBox) const override;
  WindowHandle Handle(Control form) const override;
  void Unload(Control form) override;
  void End() override;
  void ClipboardClear() override;
  void ClipboardSetText(std::u16string_view text) override;
  void ReportError(std::string_view message) override;

 private:
  static constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::Picture1) + 1;
  std::array<HWND, kControlCount> windows_{};
};

}  // namespace colfix::win32
