// Clear, Stay on top and every way of closing, on the running program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "colfix_app.h"

namespace colfix::wintest {
namespace {

bool IsTopmost(HWND window) {
  return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

RECT WindowRect(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect;
}

TEST(Commands, StayOnTopSwitchesTopmostWithoutMovingOrResizing) {
  ColfixApp app;
  const std::string before = Describe(WindowRect(app.Window()));
  for (const bool onTop : {true, false, true, false}) {
    app.Click(Control::chkOntop);
    EXPECT_EQ(app.IsTicked(Control::chkOntop), onTop);
    EXPECT_TRUE(WaitFor([&] { return IsTopmost(app.Window()) == onTop; })) << "on top: " << onTop;
    EXPECT_EQ(Describe(WindowRect(app.Window())), before);
  }
}

TEST(Commands, ClearEmptiesTheFieldOnly) {
  ColfixApp app;
  app.Click(Control::chkAutoCopy);
  app.SetFieldText(L" AB:12 ");
  app.Click(Control::cmdclear);
  EXPECT_EQ(app.FieldText(), L"");
  EXPECT_TRUE(app.IsTicked(Control::chkAutoCopy));
  app.Click(Control::cmdclear);
  EXPECT_EQ(app.FieldText(), L"");
}

struct Closing {
  const char* way;
  void (*close)(const ColfixApp&);
};

const std::vector<Closing> kClosings = {
    {"Exit", [](const ColfixApp& app) { PostMessageW(app.Get(Control::cmdExit), BM_CLICK, 0, 0); }},
    {"close box",
     [](const ColfixApp& app) { PostMessageW(app.Window(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"Alt+F4",
     [](const ColfixApp& app) {
       PostMessageW(app.Window(), WM_SYSKEYDOWN, VK_F4,
                    1 | (static_cast<LPARAM>(KF_ALTDOWN) << 16));
     }},
    {"WM_CLOSE", [](const ColfixApp& app) { PostMessageW(app.Window(), WM_CLOSE, 0, 0); }},
    {"log-off, asked and then carried out",
     [](const ColfixApp& app) {
       EXPECT_EQ(SendMessageW(app.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
       PostMessageW(app.Window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
     }},
    {"session end",
     [](const ColfixApp& app) {
       PostMessageW(app.Window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
     }},
};

TEST(Commands, EveryWayOfClosingEndsTheProcessWithStatusZero) {
  for (const Closing& closing : kClosings) {
    SCOPED_TRACE(closing.way);
    ColfixApp app;
    app.SetFieldText(L"text left in the field");
    closing.close(app);
    EXPECT_EQ(app.WaitForExit(), 0u);
  }
}

TEST(Commands, ALogOffCancelledByAnotherProgramLeavesTheProgramRunning) {
  ColfixApp app;
  app.SetFieldText(L"text left in the field");
  EXPECT_EQ(SendMessageW(app.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  SendMessageW(app.Window(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  // Whatever handling the cancel posted comes before this selection, so once
  // the field shows it the program has done all it was going to.
  HWND field = app.Get(Control::txtTranscode);
  PostMessageW(field, EM_SETSEL, 0, 4);
  EXPECT_TRUE(WaitFor([&] { return SendMessageW(field, EM_GETSEL, 0, 0) == MAKELRESULT(0, 4); }));
  EXPECT_TRUE(app.IsRunning());
  EXPECT_EQ(app.FieldText(), L"text left in the field");
}

}  // namespace
}  // namespace colfix::wintest
