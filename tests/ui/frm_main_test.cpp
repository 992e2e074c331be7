// frmMain's handlers against the recording platform (runtime and Module): which
// platform operations they ask for, in which order, and what happens when one fails.
#include "frm_main.h"

#include <gtest/gtest.h>

#include "recording_platform.h"
#include "row_name.h"

namespace colfix {
namespace {

using testing::Call;
using testing::Op;
using testing::RecordingPlatform;
using testing::TopmostCall;

struct PasteCase {
  const char* name;
  std::u16string field;
  int autoCopy;
  std::u16string result;
  bool copies;
  Event event = Event::MouseUp;
};

const PasteCase kPasteCases[] = {
    {"Unticked", u" AB:12:34: ", kUnchecked, u"AB_12_34", false},
    {"Ticked", u" AB:12:34: ", kChecked, u"AB_12_34", true},
    {"GreyedCountsAsOn", u"X:Y", kGrayed, u"X_Y", true},
    {"EmptyFieldTicked", u"", kChecked, u"", true},
    {"EmptyFieldUnticked", u"", kUnchecked, u"", false},
    {"AlreadyTidyIsRewritten", u"AB_12", kChecked, u"AB_12", true},
    // A Paste from the field's menu tidies as a release does.
    {"MenuPaste", u" AB:12:34: ", kChecked, u"AB_12_34", true, Event::MenuPaste},
};

class PasteHandling : public ::testing::TestWithParam<PasteCase> {};

TEST_P(PasteHandling, RunsTheStepsInOrder) {
  const auto& p = GetParam();
  RecordingPlatform platform;
  platform.field = p.field;
  platform.values[Control::chkAutoCopy] = p.autoCopy;

  FrmMain(platform, platform).Raise(Control::txtTranscode, p.event, {1, 0, 10, 5});

  std::vector<Call> expected = {
      {Op::Text, Control::txtTranscode},
      {Op::SetText, Control::txtTranscode, p.result},
      {Op::Value, Control::chkAutoCopy},
  };
  if (p.copies) {
    expected.push_back({Op::ClipboardClear});
    expected.push_back({Op::ClipboardSetText, Control::frmMain, p.result});
  }
  EXPECT_EQ(platform.calls, expected);
  EXPECT_EQ(platform.field, p.result);
}

INSTANTIATE_TEST_SUITE_P(Cases, PasteHandling, ::testing::ValuesIn(kPasteCases),
                         testing::RowName());

TEST(PasteHandling, EveryButtonAndModifierRunsTheSameSteps) {
  for (int button : {1, 2, 4}) {
    for (int shift : {0, 1, 2, 4, 7}) {
      RecordingPlatform platform;
      platform.field = u"A:B:";
      platform.values[Control::chkAutoCopy] = kChecked;
      FrmMain(platform, platform).txtTranscode_MouseUp(button, shift, -3.5f, 1e6f);
      EXPECT_EQ(platform.field, u"A_B");
      ASSERT_EQ(platform.calls.size(), 5u);
      EXPECT_EQ(platform.calls.back(), (Call{Op::ClipboardSetText, Control::frmMain, u"A_B"}));
    }
  }
}

TEST(PasteHandling, TwoReleasesUncoverTheSpaceLeftByTheColon) {
  RecordingPlatform platform;
  platform.field = u"AB :";
  FrmMain form(platform, platform);
  form.Raise(Control::txtTranscode, Event::MouseUp);
  EXPECT_EQ(platform.field, u"AB ");
  form.Raise(Control::txtTranscode, Event::MouseUp);
  EXPECT_EQ(platform.field, u"AB");
}

struct PixelCase {
  const char* name;
  double x, y;
  int dpi;
  float twipsX, twipsY;
};

const PixelCase kPixelCases[] = {
    {"At96Dpi", 10, 5, 96, 150, 75},
    {"At144Dpi", 10, 5, 144, 100, 50},
    {"HalfPixelsAt192Dpi", 10.5, 0.5, 192, 78.75f, 3.75f},
    {"AboveLeftOfTheField", -2, -1, 96, -30, -15},
};

class MousePosition : public ::testing::TestWithParam<PixelCase> {};

TEST_P(MousePosition, IsInTwipsWithButtonAndShiftPassedOn) {
  const auto& p = GetParam();
  const MouseArgs args = MouseArgsFromPixels(kMiddleButton, kShiftMask | kAltMask, p.x, p.y, p.dpi);
  EXPECT_EQ(args.button, kMiddleButton);
  EXPECT_EQ(args.shift, kShiftMask | kAltMask);
  EXPECT_FLOAT_EQ(args.x, p.twipsX);
  EXPECT_FLOAT_EQ(args.y, p.twipsY);
}

INSTANTIATE_TEST_SUITE_P(Cases, MousePosition, ::testing::ValuesIn(kPixelCases),
                         testing::RowName());

struct FailureCase {
  const char* name;
  Op failing;
  std::u16string fieldAfter;
  std::vector<Op> ops;
};

const FailureCase kFailureCases[] = {
    {"ClipboardClear", Op::ClipboardClear, u"AB_1",
     {Op::Text, Op::SetText, Op::Value, Op::ClipboardClear, Op::ReportError}},
    {"ClipboardSetText", Op::ClipboardSetText, u"AB_1",
     {Op::Text, Op::SetText, Op::Value, Op::ClipboardClear, Op::ClipboardSetText, Op::ReportError}},
    {"ReadingTheField", Op::Text, u" AB:1: ", {Op::Text, Op::ReportError}},
};

class PasteFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(PasteFailure, IsReportedAndTheProgramGoesOnWithTheField) {
  const auto& f = GetParam();
  RecordingPlatform platform;
  platform.field = u" AB:1: ";
  platform.values[Control::chkAutoCopy] = kChecked;
  platform.failing = {f.failing};

  FrmMain(platform, platform).Raise(Control::txtTranscode, Event::MouseUp);

  std::vector<Op> ops;
  for (const auto& call : platform.calls) ops.push_back(call.op);
  EXPECT_EQ(ops, f.ops);
  EXPECT_EQ(platform.field, f.fieldAfter);
  EXPECT_FALSE(platform.calls.back().text.empty()) << "the report says what went wrong";
}

INSTANTIATE_TEST_SUITE_P(Cases, PasteFailure, ::testing::ValuesIn(kFailureCases),
                         testing::RowName());

TEST(WindowCommands, ClearEmptiesTheFieldAndTouchesNothingElse) {
  for (const std::u16string field : {u"", u"AB_12_34", u" full : text "}) {
    RecordingPlatform platform;
    platform.field = field;
    FrmMain(platform, platform).Raise(Control::cmdclear, Event::Click);
    EXPECT_EQ(platform.calls, (std::vector<Call>{{Op::SetText, Control::txtTranscode, u""}}));
    EXPECT_EQ(platform.field, u"");
  }
}

TEST(WindowCommands, ExitUnloadsTheFormAndUnloadEndsTheProgram) {
  RecordingPlatform platform;
  FrmMain form(platform, platform);
  form.Raise(Control::cmdExit, Event::Click);
  EXPECT_EQ(platform.calls, (std::vector<Call>{{Op::Unload, Control::frmMain}}));

  platform.calls.clear();
  int cancel = 0;
  form.Form_Unload(cancel);
  EXPECT_EQ(cancel, 0);
  EXPECT_EQ(platform.calls, (std::vector<Call>{{Op::End}}));
}

TEST(WindowCommands, StayOnTopPassesTheFormsHandleAndTheTick) {
  struct Row {
    int value;
    bool onTop;
  };
  for (const Row row : {Row{kChecked, true}, Row{kUnchecked, false}, Row{kGrayed, true}}) {
    RecordingPlatform platform;
    platform.values[Control::chkOntop] = row.value;
    FrmMain(platform, platform).Raise(Control::chkOntop, Event::Click);
    EXPECT_EQ(platform.calls,
              (std::vector<Call>{{Op::Value, Control::chkOntop}, {Op::Handle, Control::frmMain}}));
    EXPECT_EQ(platform.topmostCalls, (std::vector<TopmostCall>{{platform.handle, row.onTop}}));
  }
}

TEST(WindowCommands, EventsWithoutAHandlerDoNothing) {
  RecordingPlatform platform;
  FrmMain form(platform, platform);
  form.Raise(Control::chkAutoCopy, Event::Click);
  form.Raise(Control::Picture1, Event::MouseUp);
  form.Raise(Control::cmdclear, Event::MouseUp);
  form.Raise(Control::cmdclear, Event::MenuPaste);
  EXPECT_TRUE(platform.calls.empty());
}

}  // namespace
}  // namespace colfix
