// The runtime the handlers use, over frmMain's Qt widgets and the system
// clipboard. Controls are found by their object names (qt_text.h).
#pragma once

#include <QWidget>

#include "runtime.h"

namespace colfix {

class QtRuntime final : public Runtime {
 public:
  // `form` is frmMain, the parent of every control.
  explicit QtRuntime(QWidget& form) : form_(form) {}

  // True once End has run: the window then passes no more events to handlers.
  bool Ended() const { return ended_; }

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
  template <class Widget>
  Widget& Find(Control control) const;
  void EmptyClipboard();

  QWidget& form_;
  bool ended_ = false;
  // On Wayland, ClipboardClear ran and its emptying waits for the event's end.
  bool clearPending_ = false;
};

}  // namespace colfix
