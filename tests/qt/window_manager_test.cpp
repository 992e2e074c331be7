// frmMain under real window managers (openbox; mutter and KWin as X11 managers):
// what the manager makes of the window's hints is what the user gets, so read
// the actions it allows.
#include <QApplication>

#include "shown_window.h"
#include "x_session_tools.h"

namespace colfix::testing {
namespace {

using UnderWindowManager = ShownWindow;

// Openbox and KWin keep minimising for every window whatever its Motif hints
// say, so only what the fixed size rules out is checked here; the request not
// to minimise is checked in the layout tests.
TEST_F(UnderWindowManager, AllowsCloseAndMoveButNoResizeOrMaximise) {
  QStringList allowed;
  ASSERT_TRUE(WaitFor([&] {
    allowed = AtomProperty(window().winId(), "_NET_WM_ALLOWED_ACTIONS");
    return !allowed.isEmpty();
  })) << "no window manager manages the window";
  EXPECT_TRUE(allowed.contains("_NET_WM_ACTION_CLOSE"));
  EXPECT_TRUE(allowed.contains("_NET_WM_ACTION_MOVE"));
  for (const char* action :
       {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT"}) {
    EXPECT_FALSE(allowed.contains(action)) << action;
  }
}

TEST_F(UnderWindowManager, KeepsTheClientAreaAndFocusOnStayOnTop) {
  EXPECT_EQ(ServerGeometry(window().winId()).size(), QSize(513, 168));
  EXPECT_EQ(QApplication::focusWidget(), &control(Control::chkOntop));
}

}  // namespace
}  // namespace colfix::testing
