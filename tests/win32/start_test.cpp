// A start that fails for real: a CBT hook refuses the window, or one of its
// controls, as Colfix creates it. Colfix shows one message and ends with 1.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "colfix_app.h"

namespace colfix::wintest {
namespace {

struct Refusal {
  const char* what;
  const wchar_t* windowClass;
};

TEST(Start, AWindowThatCannotBeCreatedGivesOneMessageAndStatusOne) {
  const DesktopHook hook(WH_CBT, "RefuseWindowHook");
  // Only classes a message box does not use itself.
  constexpr std::array kRefusals = {Refusal{"the window", L"ColfixMainWindow"},
                                    Refusal{"the text field", L"EDIT"}};
  for (const Refusal& refusal : kRefusals) {
    SCOPED_TRACE(refusal.what);
    // Colfix inherits the test's environment.
    SetEnvironmentVariableW(L"COLFIX_REFUSE_WINDOW_CLASS", refusal.windowClass);
    const ColfixApp app(ColfixApp::kNoWindow);
    SetEnvironmentVariableW(L"COLFIX_REFUSE_WINDOW_CLASS", nullptr);
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no message";
    // What failed, and the reason Windows gave.
    for (const wchar_t* part : {L"could not", L"(Windows error "}) {
      EXPECT_NE(MessageText(box).find(part), std::wstring::npos)
          << testing::PrintToString(MessageText(box));
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(app.WaitForExit(), 1u) << "one message, then the end";
  }
}

}  // namespace
}  // namespace colfix::wintest
