// The window as laid out on the screen: every control's place and size in the
// client area at 96 dpi and at 144 dpi, the frame, the centring and the fonts.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "colfix_app.h"

namespace colfix::wintest {
namespace {

struct Placement {
  Control control;
  RECT at96;  // left, top, right, bottom in the client area
  RECT at144;
};

// 15 twips a pixel at 96 dpi, 10 at 144 dpi (halves rounded up).
constexpr std::array kPlacements = {
    Placement{Control::Frame1, {64, 12, 501, 129}, {96, 18, 752, 194}},
    Placement{Control::chkOntop, {84, 40, 477, 53}, {126, 60, 716, 80}},
    Placement{Control::chkAutoCopy, {84, 56, 477, 69}, {126, 84, 716, 104}},
    Placement{Control::txtTranscode, {84, 88, 401, 107}, {126, 132, 602, 161}},
    Placement{Control::cmdclear, {412, 84, 485, 109}, {618, 126, 728, 164}},
    Placement{Control::cmdExit, {416, 136, 489, 161}, {624, 204, 734, 242}},
    Placement{Control::Picture1, {16, 20, 48, 52}, {24, 30, 72, 78}},
};

RECT ClientRectOf(HWND control, HWND window) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

void ExpectLayout(int dpi, SIZE client) {
  // Wine takes the screen's DPI when its session begins, so wine-run sets it
  // before (ctest gives this test COLFIX_WINE_DPI); this process is DPI aware.
  HDC screen = GetDC(nullptr);
  const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(screenDpi, dpi) << "run with COLFIX_WINE_DPI=" << dpi;
  ColfixApp app;
  RECT clientRect;
  GetClientRect(app.Window(), &clientRect);
  EXPECT_EQ(clientRect.right, client.cx);
  EXPECT_EQ(clientRect.bottom, client.cy);
  for (const Placement& placement : kPlacements) {
    SCOPED_TRACE("control " + std::to_string(static_cast<int>(placement.control)));
    const RECT expected = dpi == 96 ? placement.at96 : placement.at144;
    EXPECT_EQ(Describe(ClientRectOf(app.Get(placement.control), app.Window())), Describe(expected));
  }
}

TEST(WindowLayout, EveryControlInPlaceAt96Dpi) {
  ExpectLayout(96, {513, 168});
}

TEST(WindowLayout, EveryControlInPlaceAt144Dpi) {
  ExpectLayout(144, {770, 252});
}

TEST(WindowLayout, FixedFrameWithCloseBoxOnlyCentredWithTaskbarButton) {
  ColfixApp app;
  const auto style = static_cast<DWORD>(GetWindowLongW(app.Window(), GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(app.Window(), GWL_EXSTYLE));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
  EXPECT_FALSE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindow(app.Window(), GW_OWNER), nullptr);

  wchar_t caption[32] = {};
  GetWindowTextW(app.Window(), caption, 32);
  EXPECT_EQ(std::wstring(caption), L"Colfix");

  RECT window;
  GetWindowRect(app.Window(), &window);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((window.left + window.right) / 2.0, (work.left + work.right) / 2.0, 1.0);
  EXPECT_NEAR((window.top + window.bottom) / 2.0, (work.top + work.bottom) / 2.0, 1.0);
}

TEST(WindowLayout, CaptionsAsDescribed) {
  ColfixApp app;
  const std::array<std::pair<Control, std::wstring>, 5> captions = {{
      {Control::Frame1, L"Paste the service reference in the textfield"},
      {Control::chkOntop, L"Stay on top"},
      {Control::chkAutoCopy, L"Automatic text copy to clipboard after paste"},
      {Control::cmdclear, L"Clear"},
      {Control::cmdExit, L"Exit"},
  }};
  for (const auto& [control, caption] : captions) {
    wchar_t text[64] = {};
    GetWindowTextW(app.Get(control), text, 64);
    EXPECT_EQ(std::wstring(text), caption);
  }
  // Neither button is a default button, so Enter presses neither.
  for (const Control button : {Control::cmdclear, Control::cmdExit}) {
    const auto style = static_cast<DWORD>(GetWindowLongW(app.Get(button), GWL_STYLE));
    EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
  }
  // Picture1 shows the application icon.
  EXPECT_NE(SendMessageW(app.Get(Control::Picture1), STM_GETICON, 0, 0), 0);
}

}  // namespace
}  // namespace colfix::wintest
