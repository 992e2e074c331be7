// Links in place of a back end's Module for handler tests.
#include "recording_module.h"

#include "module.h"

namespace colfix {

std::vector<testing::TopmostCall>& testing::RecordedTopmostCalls() {
  static std::vector<TopmostCall> calls;
  return calls;
}

void Module::SetWindowOnTop(WindowHandle hWnd, bool onTop) {
  testing::RecordedTopmostCalls().push_back({hWnd, onTop});
}

}  // namespace colfix
