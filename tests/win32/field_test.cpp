// Mouse-button releases reported to the text field (the caret left at the end),
// Paste from the field's context menu, Ctrl+V's paste and a very long reference.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>

#include "colfix_app.h"
#include "test_clipboard.h"

namespace colfix::wintest {
namespace {

// The edit control's context menu, open in Colfix's thread.
HWND WaitForContextMenu(const ColfixApp& app) {
  HWND menu = nullptr;
  WaitFor([&] {
    menu = FindWindowW(L"#32768", nullptr);
    return menu != nullptr && IsWindowVisible(menu) &&
           GetWindowThreadProcessId(menu, nullptr) == app.ThreadId();
  });
  return menu;
}

void CloseContextMenu(const ColfixApp& app) {
  if (HWND menu = WaitForContextMenu(app)) {
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    WaitFor([&] { return !IsWindowVisible(menu); });
  }
}

struct Release {
  const char* button;
  UINT message;
  UINT press = 0;  // sent first, where the field reacts to it
};

// The left button's press makes the field take the mouse capture, as for a
// drag-select.
constexpr std::array kReleases = {Release{"left", WM_LBUTTONUP, WM_LBUTTONDOWN},
                                  Release{"right", WM_RBUTTONUP}, Release{"middle", WM_MBUTTONUP}};

TEST(Field, EveryButtonsReleaseTidiesTheReference) {
  const DesktopHook hook(WH_CALLWNDPROC, "MarkTextSetUnderCaptureHook");
  ColfixApp app;
  HWND field = app.Get(Control::txtTranscode);
  for (const Release& release : kReleases) {
    SCOPED_TRACE(release.button);
    app.SetFieldText(L" AB:12:34: ");
    if (release.press != 0) PostMessageW(field, release.press, 0, MAKELPARAM(5, 5));
    app.ReleaseOnField(release.message);
    // The right button's release is reported once its menu has closed.
    if (release.message == WM_RBUTTONUP) CloseContextMenu(app);
    EXPECT_TRUE(WaitFor([&] { return app.FieldText() == L"AB_12_34"; }))
        << "field: " << testing::PrintToString(app.FieldText());
    DWORD start = 0, end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 8u);
    EXPECT_EQ(end, 8u);
    EXPECT_EQ(GetPropW(field, L"TextSetUnderCapture"), nullptr)
        << "the release was reported while the field still held the mouse";
  }
}

TEST(Field, EachReleaseAppliesTheRuleOnceMore) {
  ColfixApp app;
  app.SetFieldText(L"AB :");
  app.ReleaseOnField(WM_LBUTTONUP);
  EXPECT_TRUE(WaitFor([&] { return app.FieldText() == L"AB "; }));
  app.ReleaseOnField(WM_LBUTTONUP);
  EXPECT_TRUE(WaitFor([&] { return app.FieldText() == L"AB"; }));
}

struct MenuPaste {
  const char* name;
  bool autoCopy;
  std::wstring fieldBefore;
  std::wstring fieldAfter;
  std::wstring clipboardAfter;
};

TEST(Field, PasteFromTheContextMenuIsTidied) {
  const std::array cases = {
      MenuPaste{"unticked", false, L"", L"AB_12_34", L" AB:12:34: "},
      // The menu pastes what another program copied, not a copy of the field.
      MenuPaste{"ticked", true, L"", L"AB_12_34", L"AB_12_34"},
      MenuPaste{"ticked, appended", true, L"X_", L"X_ AB_12_34", L"X_ AB_12_34"},
  };
  for (const MenuPaste& row : cases) {
    SCOPED_TRACE(row.name);
    TestClipboard clipboard;
    clipboard.Fill(L" AB:12:34: ");
    ColfixApp app;
    if (row.autoCopy) app.Click(Control::chkAutoCopy);
    app.SetFieldText(row.fieldBefore);
    SendMessageW(app.Get(Control::txtTranscode), EM_SETSEL, row.fieldBefore.size(),
                 row.fieldBefore.size());
    app.ReleaseOnField(WM_RBUTTONUP);
    HWND menu = WaitForContextMenu(app);
    ASSERT_NE(menu, nullptr) << "the field's context menu did not open";
    PostMessageW(menu, WM_CHAR, L'p', 1);  // &Paste
    EXPECT_TRUE(WaitFor([&] { return app.FieldText() == row.fieldAfter; }))
        << "field: " << testing::PrintToString(app.FieldText());
    EXPECT_TRUE(WaitFor([&] { return clipboard.Text() == row.clipboardAfter; }))
        << "clipboard: " << testing::PrintToString(clipboard.Text().value_or(L"(none)"));
  }
}

TEST(Field, PasteWithTheKeyboardIsLeftAsPasted) {
  TestClipboard clipboard;
  clipboard.Fill(L" AB:12:34: ");
  ColfixApp app;
  // What Ctrl+V makes the edit control do.
  SendMessageW(app.Get(Control::txtTranscode), WM_PASTE, 0, 0);
  EXPECT_EQ(app.FieldText(), L" AB:12:34: ");
}

// Well past the 32,767 characters an edit control takes by default. Wine's
// edit control needs time that grows with the square of the length: 100,000
// characters took 40 s here and six minutes in an emulated machine, 40,000
// take 6 s here and three to four minutes there; on Windows they take none.
constexpr std::size_t kLongReference = 40'000;

TEST(Field, AReferencePastTheDefaultLimitArrivesWhole) {
  std::wstring reference(kLongReference, L'7');
  reference[kLongReference / 2] = L':';
  reference += L": ";
  TestClipboard clipboard;
  clipboard.Fill(reference);
  ColfixApp app;
  SendMessageW(app.Get(Control::txtTranscode), WM_PASTE, 0, 0);
  EXPECT_EQ(app.FieldText().size(), reference.size());
  app.ReleaseOnField(WM_LBUTTONUP);
  std::wstring expected(kLongReference, L'7');
  expected[kLongReference / 2] = L'_';
  EXPECT_TRUE(
      WaitFor([&] { return app.FieldText().size() == expected.size(); }, std::chrono::seconds(60)));
  EXPECT_TRUE(app.FieldText() == expected);
}

}  // namespace
}  // namespace colfix::wintest
