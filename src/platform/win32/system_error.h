// A Windows call that failed, reported with the reason Windows gives for it, so
// that a message box at start says more than that something went wrong.
#pragma once

#include <string_view>

#include "runtime.h"

namespace colfix::win32 {

// `what`, followed by GetLastError()'s code and the system's text for it.
RuntimeError SystemError(std::string_view what);

}  // namespace colfix::win32
