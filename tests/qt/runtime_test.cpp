// The Qt runtime's operations on a real frmMain, error reports in a modal box
// the program survives, and the ways the program ends (Exit, the close box):
// Qt's event loop returns 0 and no handler runs afterwards.
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "qt_runtime.h"
#include "row_name.h"
#include "shown_window.h"
#include "transcode_field.h"
#include "x_session_tools.h"

namespace colfix::testing {
namespace {

using QtRuntimeOnWindow = ShownWindow;

TEST_F(QtRuntimeOnWindow, TextPassesCodeUnitsUnchangedBothWays) {
  QtRuntime runtime(window());
  for (const std::u16string& text :
       {std::u16string(u"\uFEFFAB:1"), std::u16string(u"\xD800x\xDFFF"), std::u16string(u""),
        std::u16string(u"日本:€")}) {
    runtime.SetText(Control::txtTranscode, text);
    EXPECT_EQ(runtime.Text(Control::txtTranscode), text);
  }
}

struct CheckCase {
  const char* name;
  Qt::CheckState state;
  int value;
};

class CheckBoxValue : public ShownWindow, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(CheckBoxValue, MapsQtsStatesToTheHandlersValues) {
  QtRuntime runtime(window());
  for (const Control box : {Control::chkOntop, Control::chkAutoCopy}) {
    control<QCheckBox>(box).setCheckState(GetParam().state);
    EXPECT_EQ(runtime.Value(box), GetParam().value);
  }
}

INSTANTIATE_TEST_SUITE_P(States, CheckBoxValue,
                         ::testing::Values(CheckCase{"Unchecked", Qt::Unchecked, kUnchecked},
                                           CheckCase{"Checked", Qt::Checked, kChecked},
                                           CheckCase{"PartiallyCheckedIsGrayed",
                                                     Qt::PartiallyChecked, kGrayed}),
                         RowName());

TEST_F(QtRuntimeOnWindow, HandleIsTheServersWindow) {
  QtRuntime runtime(window());
  const WindowHandle handle = runtime.Handle(Control::frmMain);
  EXPECT_EQ(handle, static_cast<WindowHandle>(window().winId()));
  EXPECT_EQ(ServerGeometry(static_cast<WId>(handle)).size(), window().size());
}

TEST_F(QtRuntimeOnWindow, ClipboardClearLeavesNothingInAnyFormat) {
  QtRuntime runtime(window());
  const SelectionOwner other("clipboard", "image/png", "not really a picture");

  runtime.ClipboardClear();

  const QByteArray targets = ReadSelection("clipboard", "TARGETS").output;
  EXPECT_FALSE(targets.contains("image/png")) << targets.toStdString();
  EXPECT_FALSE(targets.contains("STRING")) << targets.toStdString();
  EXPECT_TRUE(ReadSelection("clipboard", "image/png").output.isEmpty());
  EXPECT_TRUE(ReadSelection("clipboard", "UTF8_STRING").output.isEmpty());
}

TEST_F(QtRuntimeOnWindow, AskingAControlForTheWrongKindIsAnError) {
  QtRuntime runtime(window());
  EXPECT_THROW(runtime.Text(Control::chkOntop), RuntimeError);
  EXPECT_THROW(runtime.Value(Control::txtTranscode), RuntimeError);
}

TEST_F(QtRuntimeOnWindow, ErrorIsAModalCriticalBoxAndTheProgramGoesOn) {
  QtRuntime runtime(window());
  QString shownText, shownTitle;
  QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
  QWidget* shownOver = nullptr;
  bool shownModal = false;
  QTimer::singleShot(0, [&] {
    WaitFor([] { return QApplication::activeModalWidget() != nullptr; });
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    shownText = box->text();
    shownTitle = box->windowTitle();
    shownIcon = box->icon();
    shownOver = box->parentWidget();
    shownModal = box->isModal();
    // The key goes where the X server's focus is, which the box takes some
    // time after it is modal: sent before, the key was lost and the box stayed.
    WaitFor([box] { return box->isActiveWindow(); });
    Key("Return");  // the user dismisses it
  });

  runtime.ReportError("The clipboard is held by another program — try again");

  EXPECT_EQ(shownText, QStringLiteral("The clipboard is held by another program — try again"));
  EXPECT_EQ(shownTitle, "Colfix");
  EXPECT_EQ(shownIcon, QMessageBox::Critical);
  EXPECT_EQ(shownOver, &window());
  EXPECT_TRUE(shownModal);
  EXPECT_TRUE(window().isVisible());
  auto& field = control<TranscodeField>(Control::txtTranscode);
  field.setText(" AB:1: ");
  Click(field, {5, 5}, 1);
  EXPECT_TRUE(WaitFor([&] { return field.text() == "AB_1"; }));
}

// How the program is asked to end, from outside this process or by a click.
struct EndCase {
  const char* name;
  std::function<void(QWidget& exitButton)> ask;
};

class ProgramEnd : public ShownWindow, public ::testing::WithParamInterface<EndCase> {};

const EndCase kEnds[] = {
    {"ExitButton", [](QWidget& exitButton) { Click(exitButton, exitButton.rect().center(), 1); }},
    // What the window manager sends when the close box is clicked.
    {"CloseBox", [](QWidget& exitButton) { RequestClose(exitButton.window()->winId()); }},
};

TEST_P(ProgramEnd, LeavesTheEventLoopWithZeroAndRunsNoMoreHandlers) {
  auto& field = control<TranscodeField>(Control::txtTranscode);
  QWidget& exit = control(Control::cmdExit);
  QTimer::singleShot(0, [&] { GetParam().ask(exit); });
  // Should the program not end, the loop ends with 1 rather than hanging.
  QTimer stuck;
  stuck.setSingleShot(true);
  QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  stuck.start(15000);

  EXPECT_EQ(QApplication::exec(), 0);

  EXPECT_FALSE(window().isVisible());
  // A release still queued for the field finds the program ended.
  field.setText(" AB:1: ");
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), field.mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&field, &release);
  EXPECT_EQ(field.text(), " AB:1: ");
}

INSTANTIATE_TEST_SUITE_P(Ways, ProgramEnd, ::testing::ValuesIn(kEnds), RowName());

}  // namespace
}  // namespace colfix::testing
