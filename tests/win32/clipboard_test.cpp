// The clipboard after a release on the field, read by another process (this
// test): written when auto-copy is ticked, untouched otherwise, and a
// clipboard held by another program reported without losing the text.
#include <windows.h>

#include <gtest/gtest.h>

#include "colfix_app.h"
#include "test_clipboard.h"

namespace colfix::wintest {
namespace {

TEST(Clipboard, TickedPutsTheTidiedTextOnTheClipboardAlone) {
  TestClipboard clipboard;
  clipboard.Fill(L"old text", "old private data");
  ColfixApp app;
  app.Click(Control::chkAutoCopy);
  EXPECT_EQ(clipboard.Text(), L"old text") << "ticking alone copies nothing";

  const struct {
    std::wstring field, expected;
  } cases[] = {{L" AB:12:34: ", L"AB_12_34"}, {L"AB_12", L"AB_12"}, {L"", L""}};
  for (const auto& [field, expected] : cases) {
    SCOPED_TRACE(testing::PrintToString(field));
    const DWORD before = clipboard.SequenceNumber();
    app.SetFieldText(field);
    app.ReleaseOnField(WM_LBUTTONUP);
    ASSERT_TRUE(WaitFor([&] {
      return clipboard.SequenceNumber() != before && clipboard.Text() == expected;
    })) << "clipboard: "
        << testing::PrintToString(clipboard.Text());
    EXPECT_EQ(app.FieldText(), expected);
    EXPECT_EQ(clipboard.Marker(), std::nullopt) << "other formats are emptied";
    // Windows offers the Unicode text as ANSI text too.
    EXPECT_EQ(clipboard.AnsiText(), std::string(expected.begin(), expected.end()));
  }
}

TEST(Clipboard, TextStaysAfterClearAndAfterTheProgramEnds) {
  TestClipboard clipboard;
  {
    ColfixApp app;
    app.Click(Control::chkAutoCopy);
    app.SetFieldText(L"AB:12:");
    app.ReleaseOnField(WM_LBUTTONUP);
    ASSERT_TRUE(WaitFor([&] { return clipboard.Text() == L"AB_12"; }));
    app.Click(Control::cmdclear);
    EXPECT_EQ(app.FieldText(), L"");
    PostMessageW(app.Get(Control::cmdExit), BM_CLICK, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0u);
  }
  EXPECT_EQ(clipboard.Text(), L"AB_12");
}

TEST(Clipboard, UntickedLeavesAnotherProgramsDataAlone) {
  TestClipboard clipboard;
  clipboard.Fill(L"another program's text", "another program's data");
  const DWORD before = clipboard.SequenceNumber();
  ColfixApp app;
  app.SetFieldText(L" AB:12:34: ");
  app.ReleaseOnField(WM_LBUTTONUP);
  ASSERT_TRUE(WaitFor([&] { return app.FieldText() == L"AB_12_34"; }));
  EXPECT_EQ(clipboard.SequenceNumber(), before);
  EXPECT_EQ(clipboard.Text(), L"another program's text");
  EXPECT_EQ(clipboard.Marker(), "another program's data");
}

TEST(Clipboard, HeldByAnotherProgramGivesAMessageAndKeepsTheProgramRunning) {
  TestClipboard clipboard;
  clipboard.Fill(L"held text");
  ColfixApp app;
  app.Click(Control::chkAutoCopy);
  app.SetFieldText(L" AB:12:34: ");
  clipboard.Hold();
  app.ReleaseOnField(WM_LBUTTONUP);

  HWND box = app.WaitForMessageBox();
  ASSERT_NE(box, nullptr) << "no message about the clipboard";
  EXPECT_NE(MessageText(box).find(L"clipboard"), std::wstring::npos)
      << testing::PrintToString(MessageText(box));
  EXPECT_EQ(app.FieldText(), L"AB_12_34");
  clipboard.Release();

  // The user dismisses it; the program goes on with the text in the field.
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  EXPECT_TRUE(app.IsRunning());
  EXPECT_EQ(app.FieldText(), L"AB_12_34");
  EXPECT_EQ(clipboard.Text(), L"held text");

  // And the next release copies as usual.
  app.ReleaseOnField(WM_LBUTTONUP);
  EXPECT_TRUE(WaitFor([&] { return clipboard.Text() == L"AB_12_34"; }));
}

}  // namespace
}  // namespace colfix::wintest
