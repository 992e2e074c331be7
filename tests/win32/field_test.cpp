// Mouse-button releases reported to the text field, Paste from the field's
// context menu, Ctrl+V's paste and a very long reference.
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
};

constexpr std::array kReleases = {Release{"left", WM_LBUTTONUP}, Release{"right", WM_RBUTTONUP},
                                  Release{"middle", WM_MBUTTONUP}};

TEST(Field, EveryButtonsReleaseTidiesTheReference) {
  ColfixApp app;
  for (const Release& release : kReleases) {
    SCOPED_TRACE(release.button);
    app.SetFieldText(L" AB:12:34: ");
    app.ReleaseOnField(release.message);
    EXPECT_TRUE(WaitFor([&] { return app.FieldText() == L"AB_12_34"; }))
        << "field: " << testing::PrintToString(app.FieldText());
    if (release.message == WM_RBUTTONUP) CloseContextMenu(app);
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

TEST(Field, PasteFromTheContextMenuIsTidied) {
  TestClipboard clipboard;
  clipboard.Fill(L" AB:12:34: ");
  ColfixApp app;
  app.ReleaseOnField(WM_RBUTTONUP);
  HWND menu = WaitForContextMenu(app);
  ASSERT_NE(menu, nullptr) << "the field's context menu did not open";
  PostMessageW(menu, WM_CHAR, L'p', 1);  // &Paste
  EXPECT_TRUE(WaitFor([&] { return app.FieldText() == L"AB_12_34"; }))
      << "field: " << testing::PrintToString(app.FieldText());
}

TEST(Field, PasteWithTheKeyboardIsLeftAsPasted) {
  TestClipboard clipboard;
  clipboard.Fill(L" AB:12:34: ");
  ColfixApp app;
  // What Ctrl+V makes the edit control do.
  SendMessageW(app.Get(Control::txtTranscode), WM_PASTE, 0, 0);
  EXPECT_EQ(app.FieldText(), L" AB:12:34: ");
}

// Three times the 32,767 characters an edit control takes by default. Wine's
// edit control needs time that grows with the square of the length, so a
// million characters would take many minutes here; on Windows they take none.
constexpr std::size_t kLongReference = 100'000;

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
