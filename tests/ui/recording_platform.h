// The platform the handlers see, recorded: a runtime that records every call
// they make, in order, and holds the controls' state in plain members, and
// their Module, recording the topmost switch instead of making it. Any runtime
// operation can be told to fail.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "module.h"
#include "runtime.h"

namespace colfix::testing {

enum class Op {
  Text,
  SetText,
  Value,
  Handle,
  Unload,
  End,
  ClipboardClear,
  ClipboardSetText,
  ReportError
};

struct Call {
  Op op;
  Control control = Control::frmMain;
  std::u16string text;  // the text passed, or the error message as UTF-8 bytes widened
  bool operator==(const Call&) const = default;
};

struct TopmostCall {
  WindowHandle hWnd;
  bool onTop;
  bool operator==(const TopmostCall&) const = default;
};

class RecordingPlatform : public Runtime, public Module {
 public:
  std::u16string field;
  std::map<Control, int> values{{Control::chkOntop, kUnchecked},
                                {Control::chkAutoCopy, kUnchecked}};
  WindowHandle handle = 0x4321;
  std::set<Op> failing;
  mutable std::vector<Call> calls;
  std::vector<TopmostCall> topmostCalls;

  std::u16string Text(Control c) const override {
    Record({Op::Text, c});
    return field;
  }
  void SetText(Control c, std::u16string_view text) override {
    Record({Op::SetText, c, std::u16string(text)});
    field = text;
  }
  int Value(Control c) const override {
    Record({Op::Value, c});
    return values.at(c);
  }
  WindowHandle Handle(Control c) const override {
    Record({Op::Handle, c});
    return handle;
  }
  void Unload(Control c) override { Record({Op::Unload, c}); }
  void End() override { Record({Op::End}); }
  void ClipboardClear() override { Record({Op::ClipboardClear}); }
  void ClipboardSetText(std::u16string_view text) override {
    Record({Op::ClipboardSetText, Control::frmMain, std::u16string(text)});
  }
  void ReportError(std::string_view message) override {
    calls.push_back(
        {Op::ReportError, Control::frmMain, std::u16string(message.begin(), message.end())});
  }
  void SetWindowOnTop(WindowHandle hWnd, bool onTop) override {
    topmostCalls.push_back({hWnd, onTop});
  }

 private:
  void Record(Call call) const {
    const Op op = call.op;
    calls.push_back(std::move(call));
    if (failing.contains(op)) throw RuntimeError("the platform refused");
  }
};

}  // namespace colfix::testing
